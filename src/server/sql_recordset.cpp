#include "server/sql_recordset.h"

#include <string>

#include "server/column_type.h"
#include "server/field_access.h"

namespace vym::server {

class SqlRecordset::ColumnField final : public vym::Field {
  public:
    ColumnField(SqlRecordset& owner, int column, const ColumnSet& columns)
        : owner_(owner),
          column_(column),
          name_(columns.Name(column)),
          type_(columns.Type(column)),
          read_(columns.Reader(column)) {}

    const std::string& Name() const override { return name_; }
    DataType Type() const override { return type_.type; }
    std::int32_t Attributes() const override { return type_.attributes; }
    std::int32_t DefinedSize() const override { return type_.definedSize; }

    std::int32_t ActualSize() const override {
        const SqlStatement& row = owner_.Row();
        switch (row.ColumnStorage(column_)) {
            case StorageClass::Null:
                return 0;
            case StorageClass::Text:
                return static_cast<std::int32_t>(row.ColumnText(column_).size());
            case StorageClass::Blob:
                return static_cast<std::int32_t>(row.ColumnBlob(column_).size());
            default:
                return type_.definedSize;
        }
    }

    vym::Value Value() const override { return read_(owner_.Row(), column_); }
    void SetValue(const vym::Value&) override { ThrowNotUpdatable(); }
    void AppendChunk(const vym::Value&) override { ThrowNotUpdatable(); }

    vym::Value GetChunk(std::int32_t length) override {
        const SqlStatement& row = owner_.Row();
        if (chunkRow_ != owner_.rowNumber_) {
            chunkRow_ = owner_.rowNumber_;
            chunkOffset_ = 0;
        }
        if (row.ColumnStorage(column_) == StorageClass::Blob) {
            const auto blob = row.ColumnBlob(column_);
            return NextChunk({reinterpret_cast<const char*>(blob.data()), blob.size()}, true,
                             chunkOffset_, length);
        }
        if (row.ColumnStorage(column_) == StorageClass::Null) {
            return vym::Value::Null();
        }
        return NextChunk(row.ColumnText(column_), false, chunkOffset_, length);
    }

    void TakeTypeFromFirstRow() {
        if (!type_.declared) {
            type_ = ColumnTypeFromStorage(owner_.Row().ColumnStorage(column_));
            read_ = owner_.Row().Reader(type_);
        }
    }

  private:
    SqlRecordset& owner_;
    int column_;
    const std::string& name_;  // in the owner's column set
    ColumnType type_;
    ColumnReader read_;
    std::uint64_t chunkRow_ = 0;
    std::size_t chunkOffset_ = 0;
};

SqlRecordset::SqlRecordset(std::vector<std::shared_ptr<SqlStatement>> resultSets,
                           std::optional<bool> firstHasRow)
    : resultSets_(std::move(resultSets)) {
    Start(firstHasRow);
}

SqlRecordset::~SqlRecordset() = default;

void SqlRecordset::Start(std::optional<bool> hasRow) {
    fields_.clear();
    columns_.reset();
    current_.reset();
    open_ = next_ < resultSets_.size();
    SetEof(true);
    if (!open_) {
        resultSets_.clear();
        return;
    }
    current_ = std::move(resultSets_[next_++]);
    SetEof(!(hasRow ? *hasRow : current_->Step()));
    ++rowNumber_;
    // Read after the first step: a statement the engine prepared again there
    // (the schema changed since it was cached) may have other columns.
    columns_ = ColumnSet::Of(*current_);
    nextField_ = 0;
    // Reserved once: the fields handed out stay where they are.
    fields_.reserve(columns_->Count());
    for (int i = 0; i < columns_->Count(); ++i) {
        fields_.emplace_back(*this, i, *columns_);
        if (!eof_) {
            fields_.back().TakeTypeFromFirstRow();
        }
    }
}

void SqlRecordset::RequireOpen() const {
    if (!open_) {
        ThrowRecordsetClosed();
    }
}

void SqlRecordset::SetEof(bool eof) {
    eof_ = eof;
    row_ = eof ? nullptr : current_.get();
}

const SqlStatement& SqlRecordset::Row() const {
    if (row_ == nullptr) {
        RequireOpen();
        ThrowNoCurrentRecord();
    }
    return *row_;
}

bool SqlRecordset::Eof() const {
    RequireOpen();
    return eof_;
}

void SqlRecordset::MoveNext() {
    Row();
    SetEof(!current_->Step());
    ++rowNumber_;
}

std::int32_t SqlRecordset::FieldCount() const {
    RequireOpen();
    return static_cast<std::int32_t>(fields_.size());
}

vym::Field& SqlRecordset::Fields(std::int32_t index) {
    RequireOpen();
    if (index < 0 || index >= static_cast<std::int32_t>(fields_.size())) {
        ThrowFieldNotFound(std::to_string(index));
    }
    return fields_[index];
}

vym::Field& SqlRecordset::Fields(std::string_view name) {
    RequireOpen();
    if (const auto found = columns_ ? columns_->Find(name, nextField_) : std::nullopt) {
        return fields_[*found];
    }
    ThrowFieldNotFound(name);
}

bool SqlRecordset::HasField(std::string_view name) const {
    return columns_ && columns_->Find(name).has_value();
}

bool SqlRecordset::NextRecordset() {
    Start();
    return open_;
}

void SqlRecordset::Close() {
    fields_.clear();
    columns_.reset();
    current_.reset();
    resultSets_.clear();
    open_ = false;
    SetEof(true);
}

void SqlRecordset::AddNew() {
    ThrowNotUpdatable();
}
void SqlRecordset::Update() {
    ThrowNotUpdatable();
}

}  // namespace vym::server
