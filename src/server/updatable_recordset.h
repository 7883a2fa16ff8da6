#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gateway/recordset.h"
#include "server/column_type.h"
#include "server/sql_session.h"

namespace vym::server {

// An updatable recordset over a single-table SELECT: the rows are read at
// open (such selects name a key and return a row or two), edits are kept in
// the row until Update writes them in one immediate transaction. Long text
// is written by AppendChunk, pieces joined in order.
//
// A row read with its row_version is saved as the guarded saves of the
// procedures save it: only while it still has the version read, which then
// goes up by one with `userId` and the time recorded, so that a screen
// holding the row elsewhere sees the change as a conflict. Any other row is
// saved only while it is still as it was read. Either save fails, saying so,
// when another station changed or deleted the row in between.
class UpdatableRecordset final : public vym::Recordset {
  public:
    // `sql` is already in the store's own dialect. Throws vym::Error when the
    // statement is not a SELECT over one table.
    UpdatableRecordset(std::shared_ptr<SqlSession> session, std::string_view sql,
                       std::string userId);
    ~UpdatableRecordset() override;

    bool IsOpen() const override { return open_; }
    bool Eof() const override;
    void MoveNext() override;
    std::int32_t FieldCount() const override;
    vym::Field& Fields(std::int32_t index) override;
    vym::Field& Fields(std::string_view name) override;
    bool HasField(std::string_view name) const override;
    bool NextRecordset() override;
    void Close() override;
    bool IsUpdatable() const override { return true; }
    void AddNew() override;
    void Update() override;

  private:
    class BufferedField;
    struct Row {
        vym::Value rowid;  // the engine's own row id
        bool isNew = false;
        std::vector<vym::Value> values;
        // The matched columns as stored when read or last written.
        std::vector<vym::Value> stored;
    };

    void RequireOpen() const;
    Row& Current();
    void BeginEdit();
    // The row_version column when it was read and is not being set by hand;
    // else the column count.
    std::size_t GuardedVersion() const;
    std::string InsertSql(const std::vector<std::size_t>& columns) const;
    std::string UpdateSql(const std::vector<std::size_t>& columns, bool guarded) const;
    // " RETURNING" the row id and the matched columns as now stored.
    std::string ReturningSql() const;

    std::shared_ptr<SqlSession> session_;
    std::string table_;
    std::string userId_;
    std::vector<std::unique_ptr<BufferedField>> fields_;
    // The table's own columns among the fields, compared with what was read
    // before a write where the row id alone cannot tell (see
    // SqlEngine::RowIdMovesOnWrite); none where it can.
    std::vector<std::size_t> matched_;
    std::vector<Row> rows_;
    std::size_t position_ = 0;
    bool open_ = true;
    // The edit in progress on the current row.
    bool editing_ = false;
    std::vector<bool> changed_;
    std::vector<bool> chunked_;
};

}  // namespace vym::server
