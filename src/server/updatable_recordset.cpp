#include "server/updatable_recordset.h"

#include <strings.h>

#include "base/error.h"
#include "server/field_access.h"
#include "server/sql_dialect.h"
#include "server/sql_engine.h"
#include "server/sql_error.h"
#include "server/write_transaction.h"

namespace vym::server {
namespace {

constexpr std::string_view kRowidColumn = "vym_rowid_";

std::string QuoteName(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool IsBinary(DataType type) {
    return type == DataType::VarBinary || type == DataType::LongVarBinary;
}

}  // namespace

class UpdatableRecordset::BufferedField final : public vym::Field {
  public:
    BufferedField(UpdatableRecordset& owner, std::size_t column, std::string name, ColumnType type)
        : owner_(owner), column_(column), name_(std::move(name)), type_(type) {
        type_.attributes |= kFieldUpdatable;
    }

    const std::string& Name() const override { return name_; }
    DataType Type() const override { return type_.type; }
    std::int32_t Attributes() const override { return type_.attributes; }
    std::int32_t DefinedSize() const override { return type_.definedSize; }

    std::int32_t ActualSize() const override {
        const vym::Value& v = Cell();
        switch (v.Type()) {
            case VarType::Null:
            case VarType::Empty:
                return 0;
            case VarType::String:
                return static_cast<std::int32_t>(v.ToString().size());
            case VarType::Binary:
                return static_cast<std::int32_t>(v.ToBytes().size());
            default:
                return type_.definedSize;
        }
    }

    vym::Value Value() const override { return Cell(); }

    void SetValue(const vym::Value& value) override {
        vym::Value converted = type_.declared ? ConvertToType(value, type_.type) : value;
        owner_.BeginEdit();
        owner_.Current().values[column_] = std::move(converted);
        owner_.changed_[column_] = true;
    }

    vym::Value GetChunk(std::int32_t length) override {
        const void* row = &owner_.Current();
        if (chunkRow_ != row) {
            chunkRow_ = row;
            chunkOffset_ = 0;
        }
        const vym::Value& v = Cell();
        if (v.IsNull()) {
            return vym::Value::Null();
        }
        if (v.Type() == VarType::Binary) {
            const Bytes bytes = v.ToBytes();
            return NextChunk({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, true,
                             chunkOffset_, length);
        }
        return NextChunk(v.ToString(), false, chunkOffset_, length);
    }

    void AppendChunk(const vym::Value& data) override {
        owner_.BeginEdit();
        vym::Value& cell = owner_.Current().values[column_];
        // The first chunk of an edit replaces the old value; later ones add to it.
        const bool first = !owner_.chunked_[column_];
        if (IsBinary(type_.type)) {
            Bytes bytes = first || cell.IsNull() ? Bytes() : cell.ToBytes();
            const Bytes more = data.ToBytes();
            bytes.insert(bytes.end(), more.begin(), more.end());
            cell = std::move(bytes);
        } else {
            std::string text = first || cell.IsNull() ? std::string() : cell.ToString();
            text += data.ToString();
            cell = std::move(text);
        }
        owner_.chunked_[column_] = true;
        owner_.changed_[column_] = true;
    }

  private:
    const vym::Value& Cell() const { return owner_.Current().values[column_]; }

    UpdatableRecordset& owner_;
    std::size_t column_;
    std::string name_;
    ColumnType type_;
    const void* chunkRow_ = nullptr;
    std::size_t chunkOffset_ = 0;
};

UpdatableRecordset::UpdatableRecordset(std::shared_ptr<SqlSession> session, std::string_view sql,
                                       std::string userId)
    : session_(std::move(session)), userId_(std::move(userId)) {
    const auto table = SingleTableOf(sql);
    if (!table) {
        throw SqlError(1, "an updatable recordset needs a SELECT over one table", sql);
    }
    table_ = *table;
    // The row id identifies each row for the write-back.
    const std::size_t select = sql.find_first_not_of(" \t\r\n");
    std::string withRowid(sql.substr(0, select + 6));
    withRowid += " ";
    withRowid += session_->Engine().RowId();
    withRowid += " AS ";
    withRowid += kRowidColumn;
    withRowid += ",";
    withRowid += sql.substr(select + 6);

    auto statement = session_->Prepare(withRowid);
    const int count = statement->ColumnCount();
    const bool match = !session_->Engine().RowIdMovesOnWrite();
    std::vector<ColumnType> types;
    for (int i = 1; i < count; ++i) {
        types.push_back(ColumnTypeFromDeclaration(statement->ColumnDeclaredType(i)));
        fields_.push_back(std::make_unique<BufferedField>(
            *this, i - 1, std::string(statement->ColumnName(i)), types.back()));
        // An expression has no declared type, nor a stored value to compare.
        if (match && types.back().declared) {
            matched_.push_back(static_cast<std::size_t>(i - 1));
        }
    }
    while (statement->Step()) {
        Row row;
        row.rowid = ReadStoredValue(*statement, 0);
        row.values.reserve(types.size());
        for (int i = 1; i < count; ++i) {
            row.values.push_back(ReadColumn(*statement, i, types[i - 1]));
        }
        for (std::size_t i : matched_) {
            row.stored.push_back(ReadStoredValue(*statement, static_cast<int>(i) + 1));
        }
        rows_.push_back(std::move(row));
    }
    changed_.assign(fields_.size(), false);
    chunked_.assign(fields_.size(), false);
}

UpdatableRecordset::~UpdatableRecordset() = default;

void UpdatableRecordset::RequireOpen() const {
    if (!open_) {
        ThrowRecordsetClosed();
    }
}

UpdatableRecordset::Row& UpdatableRecordset::Current() {
    RequireOpen();
    if (position_ >= rows_.size()) {
        ThrowNoCurrentRecord();
    }
    return rows_[position_];
}

void UpdatableRecordset::BeginEdit() {
    Current();
    if (!editing_) {
        editing_ = true;
        changed_.assign(fields_.size(), false);
        chunked_.assign(fields_.size(), false);
    }
}

std::size_t UpdatableRecordset::GuardedVersion() const {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (SameName(fields_[i]->Name(), "row_version")) {
            return changed_[i] ? fields_.size() : i;
        }
    }
    return fields_.size();
}

bool UpdatableRecordset::Eof() const {
    RequireOpen();
    return position_ >= rows_.size();
}

void UpdatableRecordset::MoveNext() {
    Current();
    // Moving off an edited row saves it, as leaving a row does in the gateway.
    Update();
    ++position_;
}

std::int32_t UpdatableRecordset::FieldCount() const {
    RequireOpen();
    return static_cast<std::int32_t>(fields_.size());
}

vym::Field& UpdatableRecordset::Fields(std::int32_t index) {
    RequireOpen();
    if (index < 0 || index >= static_cast<std::int32_t>(fields_.size())) {
        ThrowFieldNotFound(std::to_string(index));
    }
    return *fields_[index];
}

vym::Field& UpdatableRecordset::Fields(std::string_view name) {
    RequireOpen();
    for (auto& field : fields_) {
        if (SameName(field->Name(), name)) {
            return *field;
        }
    }
    ThrowFieldNotFound(name);
}

bool UpdatableRecordset::HasField(std::string_view name) const {
    for (const auto& field : fields_) {
        if (SameName(field->Name(), name)) {
            return true;
        }
    }
    return false;
}

bool UpdatableRecordset::NextRecordset() {
    Close();
    return false;
}

void UpdatableRecordset::Close() {
    open_ = false;
    editing_ = false;
    rows_.clear();
}

void UpdatableRecordset::AddNew() {
    RequireOpen();
    if (editing_) {
        Update();
    }
    Row row;
    row.isNew = true;
    row.values.assign(fields_.size(), vym::Value::Null());
    rows_.push_back(std::move(row));
    position_ = rows_.size() - 1;
    BeginEdit();
}

std::string UpdatableRecordset::InsertSql(const std::vector<std::size_t>& columns) const {
    if (columns.empty()) {
        return "INSERT INTO " + QuoteName(table_) + " DEFAULT VALUES";
    }
    std::string names, marks;
    for (std::size_t i : columns) {
        names += (names.empty() ? "" : ", ") + QuoteName(fields_[i]->Name());
        marks += marks.empty() ? "?" : ", ?";
    }
    return "INSERT INTO " + QuoteName(table_) + " (" + names + ") VALUES (" + marks + ")";
}

std::string UpdatableRecordset::UpdateSql(const std::vector<std::size_t>& columns,
                                          bool guarded) const {
    std::string sql = "UPDATE " + QuoteName(table_) + " SET ";
    for (std::size_t n = 0; n < columns.size(); ++n) {
        sql += (n ? ", " : "") + QuoteName(fields_[columns[n]]->Name()) + " = ?";
    }
    if (guarded) {
        sql += ", row_version = row_version + 1, row_saved_by = ?, row_saved_at = " +
               session_->Engine().Now();
    }
    sql += " WHERE " + std::string(session_->Engine().RowId()) + " = ?";
    if (guarded) {
        return sql + " AND row_version = ?";
    }
    for (std::size_t i : matched_) {
        sql += " AND " + QuoteName(fields_[i]->Name()) + " IS ?";
    }
    return sql;
}

std::string UpdatableRecordset::ReturningSql() const {
    // The row's id as it stands after the write: PostgreSQL's moves with every update.
    std::string sql = " RETURNING " + std::string(session_->Engine().RowId());
    for (std::size_t i : matched_) {
        sql += ", " + QuoteName(fields_[i]->Name());
    }
    return sql;
}

void UpdatableRecordset::Update() {
    RequireOpen();
    if (!editing_) {
        return;
    }
    Row& row = Current();
    std::vector<std::size_t> columns;
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (changed_[i]) {
            columns.push_back(i);
        }
    }
    const std::size_t version = row.isNew ? fields_.size() : GuardedVersion();
    const bool guarded = version < fields_.size();
    std::string sql = row.isNew         ? InsertSql(columns)
                      : columns.empty() ? std::string()
                                        : UpdateSql(columns, guarded);
    if (!sql.empty()) {
        sql += ReturningSql();
        WriteTransaction transaction(*session_);
        auto statement = session_->Prepare(sql);
        int index = 1;
        for (std::size_t i : columns) {
            statement->Bind(index++, row.values[i]);
        }
        if (guarded) {
            statement->Bind(index++, vym::Value(userId_));
        }
        if (!row.isNew) {
            statement->Bind(index++, row.rowid);
        }
        if (guarded) {
            statement->Bind(index, row.values[version]);
        } else if (!row.isNew) {
            for (const vym::Value& value : row.stored) {
                statement->Bind(index++, value);
            }
        }
        const bool written = statement->Step();
        if (written) {
            row.rowid = ReadStoredValue(*statement, 0);
            row.stored.clear();
            for (std::size_t n = 0; n < matched_.size(); ++n) {
                row.stored.push_back(ReadStoredValue(*statement, static_cast<int>(n) + 1));
            }
        }
        while (statement->Step()) {
        }
        if (!written && !row.isNew) {
            throw vym::Error(errc::kDatabase, std::string(kConnectionSource),
                             "This row of " + table_ +
                                 " was changed or deleted by another user after it was read. "
                                 "The change was not saved.");
        }
        transaction.Commit();
        if (guarded) {
            row.values[version] = vym::Value(row.values[version].ToLong() + 1);
        }
        row.isNew = false;
    }
    editing_ = false;
}

}  // namespace vym::server
