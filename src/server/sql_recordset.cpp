#include "server/sql_recordset.h"

#include <string>

#include "server/column_type.h"
#include "server/field_access.h"

namespace vym::server {
namespace {

// Where the fields of a statement stand: the row they read, whether the
// recordset reading them is open, and the number of the row.
struct FieldCursor {
    const SqlStatement* row = nullptr;  // the statement while it is on a row
    bool open = false;
    std::uint64_t rowNumber = 0;  // tells fields a new row began

    const SqlStatement& Row() const {
        if (row == nullptr) {
            if (!open) {
                ThrowRecordsetClosed();
            }
            ThrowNoCurrentRecord();
        }
        return *row;
    }
};

class StatementField final : public vym::Field {
  public:
    StatementField(const FieldCursor& cursor, int column, const ColumnSet& columns)
        : cursor_(cursor),
          column_(column),
          name_(columns.Name(column)),
          type_(columns.Type(column)),
          read_(columns.Reader(column)) {}

    const std::string& Name() const override { return name_; }
    DataType Type() const override { return type_.type; }
    std::int32_t Attributes() const override { return type_.attributes; }
    std::int32_t DefinedSize() const override { return type_.definedSize; }

    std::int32_t ActualSize() const override {
        const SqlStatement& row = cursor_.Row();
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

    vym::Value Value() const override { return read_.value(cursor_.Row(), column_); }
    std::string Text() const override { return read_.text(cursor_.Row(), column_); }
    std::int32_t Long() const override { return read_.whole(cursor_.Row(), column_); }
    double Double() const override { return read_.number(cursor_.Row(), column_); }
    bool Flag() const override { return read_.flag(cursor_.Row(), column_); }
    vym::Date Date() const override { return read_.date(cursor_.Row(), column_); }
    void SetValue(const vym::Value&) override { ThrowNotUpdatable(); }
    void AppendChunk(const vym::Value&) override { ThrowNotUpdatable(); }

    vym::Value GetChunk(std::int32_t length) override {
        const SqlStatement& row = cursor_.Row();
        if (chunkRow_ != cursor_.rowNumber) {
            chunkRow_ = cursor_.rowNumber;
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

    // A column without a declared type takes the type of what the first row
    // holds, the declared one otherwise.
    void TakeType(const ColumnSet& columns) {
        type_ = columns.Type(column_);
        read_ = columns.Reader(column_);
        if (const SqlStatement* row = cursor_.row) {
            type_ = ColumnTypeFromStorage(row->ColumnStorage(column_));
            read_ = row->Reader(type_);
        }
    }

  private:
    const FieldCursor& cursor_;
    int column_;
    const std::string& name_;  // in the column set
    ColumnType type_;
    ColumnReader read_;
    std::uint64_t chunkRow_ = 0;
    std::size_t chunkOffset_ = 0;
};

}  // namespace

// The fields over a statement's columns, kept by the statement for the next
// recordset over it: a statement is read by one recordset at a time, and a
// procedure called again and again has its statement read again and again.
struct RecordsetFields {
    explicit RecordsetFields(std::shared_ptr<const ColumnSet> set) : columns(std::move(set)) {
        // Reserved once: the fields handed out stay where they are.
        fields.reserve(columns->Count());
        for (int i = 0; i < columns->Count(); ++i) {
            fields.emplace_back(cursor, i, *columns);
        }
    }
    RecordsetFields(const RecordsetFields&) = delete;
    RecordsetFields& operator=(const RecordsetFields&) = delete;

    std::shared_ptr<const ColumnSet> columns;  // the fields were made for
    FieldCursor cursor;
    std::vector<StatementField> fields;
    // The columns a row was asked for by name, in the order asked: the next
    // row, and the next recordset over the statement, mostly ask alike.
    std::vector<int> asked;
};

SqlRecordset::SqlRecordset(std::vector<StatementRef> resultSets, std::optional<bool> firstHasRow)
    : resultSets_(std::move(resultSets)) {
    Start(firstHasRow);
}

SqlRecordset::~SqlRecordset() {
    Leave();
}

void SqlRecordset::Leave() {
    if (fields_) {
        // The row number goes on from here: a field tells a new row by it.
        fields_->cursor.row = nullptr;
        fields_->cursor.open = false;
        fields_ = nullptr;
    }
    columns_.reset();
    current_.reset();
}

void SqlRecordset::Start(std::optional<bool> hasRow) {
    Leave();
    open_ = next_ < resultSets_.size();
    eof_ = true;
    if (!open_) {
        resultSets_.clear();
        return;
    }
    current_ = std::move(resultSets_[next_++]);
    const bool row = hasRow ? *hasRow : current_->Step();
    // Read after the first step: a statement the engine prepared again there
    // (the schema changed since it was cached) may have other columns.
    columns_ = ColumnSet::Of(*current_);
    nextField_ = 0;
    std::shared_ptr<RecordsetFields>& kept = current_->fields_;
    if (!kept || kept->columns != columns_) {
        kept = std::make_shared<RecordsetFields>(columns_);
    }
    fields_ = kept.get();
    fields_->cursor.open = true;
    SetEof(!row);
    for (const int column : columns_->Undeclared()) {
        fields_->fields[column].TakeType(*columns_);
    }
}

void SqlRecordset::RequireOpen() const {
    if (!open_) {
        ThrowRecordsetClosed();
    }
}

void SqlRecordset::SetEof(bool eof) {
    eof_ = eof;
    asked_ = 0;
    fields_->cursor.row = eof ? nullptr : current_.get();
    ++fields_->cursor.rowNumber;
}

bool SqlRecordset::Eof() const {
    RequireOpen();
    return eof_;
}

void SqlRecordset::MoveNext() {
    RequireOpen();
    if (eof_) {
        ThrowNoCurrentRecord();
    }
    SetEof(!current_->Step());
}

std::int32_t SqlRecordset::FieldCount() const {
    RequireOpen();
    return columns_->Count();
}

vym::Field& SqlRecordset::Fields(std::int32_t index) {
    RequireOpen();
    if (index < 0 || index >= columns_->Count()) {
        ThrowFieldNotFound(std::to_string(index));
    }
    return fields_->fields[index];
}

vym::Field& SqlRecordset::Fields(std::string_view name) {
    RequireOpen();
    const std::vector<int>& asked = fields_->asked;
    const std::size_t turn = asked_++;
    // Where the row before was read at this turn.
    if (turn < asked.size() && columns_->IsAt(asked[turn], name)) {
        nextField_ = asked[turn] + 1;
        return fields_->fields[asked[turn]];
    }
    return Look(name, turn);
}

vym::Field& SqlRecordset::Look(std::string_view name, std::size_t turn) {
    // From the column after the one read last.
    const std::optional<int> found = columns_->Find(name, nextField_);
    if (!found) {
        ThrowFieldNotFound(name);
    }
    Remember(turn, *found);
    return fields_->fields[*found];
}

void SqlRecordset::Remember(std::size_t turn, int column) {
    std::vector<int>& asked = fields_->asked;
    if (turn < asked.size()) {
        asked[turn] = column;
    } else if (turn == asked.size() && turn < kRemembered) {
        asked.push_back(column);
    }
}

bool SqlRecordset::HasField(std::string_view name) const {
    return columns_ && columns_->Find(name).has_value();
}

bool SqlRecordset::NextRecordset() {
    Start();
    return open_;
}

void SqlRecordset::Close() {
    Leave();
    resultSets_.clear();
    open_ = false;
    eof_ = true;
}

void SqlRecordset::AddNew() {
    ThrowNotUpdatable();
}
void SqlRecordset::Update() {
    ThrowNotUpdatable();
}

}  // namespace vym::server
