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
class UpdatableRecordset final : public vym::Recordset {
  public:
    // `sql` is already in the store's own dialect. Throws vym::Error when the
    // statement is not a SELECT over one table.
    UpdatableRecordset(std::shared_ptr<SqlSession> session, std::string_view sql);
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
    };

    void RequireOpen() const;
    Row& Current();
    void BeginEdit();

    std::shared_ptr<SqlSession> session_;
    std::string table_;
    std::vector<std::unique_ptr<BufferedField>> fields_;
    std::vector<Row> rows_;
    std::size_t position_ = 0;
    bool open_ = true;
    // The edit in progress on the current row.
    bool editing_ = false;
    std::vector<bool> changed_;
    std::vector<bool> chunked_;
};

}  // namespace vym::server
