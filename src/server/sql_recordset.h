#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "gateway/recordset.h"
#include "server/column_set.h"
#include "server/sql_statement.h"

namespace vym::server {

// A read-only recordset over prepared statements, one result set each. Rows
// are stepped as they are read; nothing is held beyond the current row.
class SqlRecordset final : public vym::Recordset {
  public:
    // The first statement is run at once, unless `firstHasRow` says it was
    // stepped already and whether that gave a row. An empty list gives a
    // closed recordset (a call that returned no result set).
    explicit SqlRecordset(std::vector<StatementRef> resultSets,
                          std::optional<bool> firstHasRow = std::nullopt);
    ~SqlRecordset() override;

    bool IsOpen() const override { return open_; }
    bool Eof() const override;
    void MoveNext() override;
    std::int32_t FieldCount() const override;
    vym::Field& Fields(std::int32_t index) override;
    vym::Field& Fields(std::string_view name) override;
    bool HasField(std::string_view name) const override;
    bool NextRecordset() override;
    void Close() override;
    void AddNew() override;
    void Update() override;

  private:
    void Start(std::optional<bool> hasRow = std::nullopt);
    // Leaves the statement read so far; its fields then say the recordset is closed.
    void Leave();
    void RequireOpen() const;
    void SetEof(bool eof);
    // Fields by name past the column read at this turn of the row before.
    vym::Field& Look(std::string_view name, std::size_t turn);
    // The field read at this turn of the row.
    void Remember(std::size_t turn, int column);

    std::vector<StatementRef> resultSets_;
    std::size_t next_ = 0;
    StatementRef current_;
    std::shared_ptr<const ColumnSet> columns_;  // of current_
    // Kept by current_ (fields of a statement handed from one recordset over
    // it to the next), or nullptr.
    RecordsetFields* fields_ = nullptr;
    // Fields by name looks first where the row before was read at this turn
    // (up to kRemembered turns a row), then at nextField_.
    static constexpr std::size_t kRemembered = 256;
    std::size_t asked_ = 0;  // names asked on this row
    int nextField_ = 0;
    bool open_ = false;
    bool eof_ = true;
};

}  // namespace vym::server
