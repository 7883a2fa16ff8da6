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
    explicit SqlRecordset(std::vector<std::shared_ptr<SqlStatement>> resultSets,
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
    class ColumnField;

    void Start(std::optional<bool> hasRow = std::nullopt);
    void RequireOpen() const;
    void SetEof(bool eof);
    const SqlStatement& Row() const;

    std::vector<std::shared_ptr<SqlStatement>> resultSets_;
    std::size_t next_ = 0;
    std::shared_ptr<SqlStatement> current_;
    std::shared_ptr<const ColumnSet> columns_;  // of current_
    std::vector<ColumnField> fields_;
    int nextField_ = 0;            // where Fields looks for a name first
    std::uint64_t rowNumber_ = 0;  // tells fields a new row began
    bool open_ = false;
    bool eof_ = true;
    const SqlStatement* row_ = nullptr;  // current_ while it is on a row
};

}  // namespace vym::server
