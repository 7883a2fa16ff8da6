#include "server/column_type.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <functional>
#include <string>
#include <unordered_map>

#include "base/error.h"
#include "server/column_readers.h"

namespace vym::server {
namespace {

// A server's widest ordinary text column.
constexpr std::int32_t kPlainTextSize = 8000;
constexpr std::int32_t kLongSize = 2147483647;

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// The n of "varchar(n)", or `fallback`.
std::int32_t SizeIn(std::string_view declared, std::int32_t fallback) {
    const auto open = declared.find('(');
    if (open == std::string_view::npos) {
        return fallback;
    }
    std::int32_t size = 0;
    const char* first = declared.data() + open + 1;
    const char* last = declared.data() + declared.size();
    while (first < last && *first == ' ') {
        ++first;
    }
    const auto [ptr, ec] = std::from_chars(first, last, size);
    return ec == std::errc() && size > 0 ? size : fallback;
}

ColumnType Make(DataType type, std::int32_t size, bool isLong = false) {
    ColumnType column;
    column.type = type;
    column.definedSize = size;
    column.attributes = kFieldIsNullable | (isLong ? kFieldLong : 0);
    column.declared = true;
    return column;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// "hh:mm:ss" held in a time column.
bool ParseTime(std::string_view text, vym::Date& out) {
    int h = 0, m = 0, s = 0;
    if (text.size() < 5 || std::sscanf(std::string(text).c_str(), "%d:%d:%d", &h, &m, &s) < 2 ||
        h > 23 || m > 59 || s > 59) {
        return false;
    }
    out = vym::Date((h * 3600 + m * 60 + s) / 86400.0);
    return true;
}

ColumnType ParseDeclaration(std::string_view declared) {
    const std::string t = Lower(declared);
    if (t == "money" || t == "smallmoney" || t == "currency") {
        return Make(DataType::Currency, 8);
    }
    if (t == "datetime" || t == "smalldatetime" || t == "timestamp" || t == "datetime2") {
        return Make(DataType::DBTimeStamp, 16);
    }
    if (t == "date") {
        return Make(DataType::DBDate, 16);
    }
    if (t == "time") {
        return Make(DataType::DBTime, 16);
    }
    if (t == "bit" || t == "boolean" || t == "bool") {
        return Make(DataType::Boolean, 2);
    }
    if (t == "tinyint") {
        return Make(DataType::UnsignedTinyInt, 1);
    }
    if (t == "smallint") {
        return Make(DataType::SmallInt, 2);
    }
    if (t == "int" || t == "integer") {
        return Make(DataType::Integer, 4);
    }
    if (t == "bigint") {
        return Make(DataType::BigInt, 8);
    }
    if (t == "float" || t == "real" || t == "double" || t == "double precision" ||
        StartsWith(t, "decimal") || StartsWith(t, "numeric")) {
        return Make(DataType::Double, 8);
    }
    if (t == "long text" || t == "longtext" || t == "ntext" || t == "clob" || t == "varchar(max)" ||
        t == "nvarchar(max)") {
        return Make(DataType::LongVarChar, kLongSize, true);
    }
    if (t == "blob" || t == "image" || t == "longblob" || t == "varbinary(max)") {
        return Make(DataType::LongVarBinary, kLongSize, true);
    }
    if (StartsWith(t, "varbinary") || StartsWith(t, "binary")) {
        return Make(DataType::VarBinary, SizeIn(t, kPlainTextSize));
    }
    if (StartsWith(t, "char") || StartsWith(t, "nchar")) {
        return Make(DataType::Char, SizeIn(t, 1));
    }
    if (t == "text" || StartsWith(t, "varchar") || StartsWith(t, "nvarchar") ||
        StartsWith(t, "character varying")) {
        return Make(DataType::VarChar, SizeIn(t, kPlainTextSize));
    }
    // An unknown name: read the values as they are stored.
    ColumnType column;
    column.declared = true;
    return column;
}

struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const {
        return std::hash<std::string_view>{}(text);
    }
};

// Every recordset opened types each of its columns, and a schema has only a
// handful of distinct declarations, so each is worked out once per thread.
constexpr std::size_t kMaxRememberedDeclarations = 256;

}  // namespace

vym::Value ReadStoredCell(const StoredCell& cell) {
    switch (cell.storage) {
        case StorageClass::Null:
            return vym::Value::Null();
        case StorageClass::Integer:
            return vym::Value::FromInt64(cell.integer);
        case StorageClass::Real:
            return cell.real;
        case StorageClass::Text:
            return cell.text;
        case StorageClass::Blob:
            return Bytes(cell.blob.begin(), cell.blob.end());
    }
    return vym::Value::Null();
}

vym::Value ReadDate(const StoredCell& cell) {
    if (cell.storage != StorageClass::Text) {
        return ReadStoredCell(cell);
    }
    vym::Date date;
    if (vym::Date::ParseIso(cell.text, date) || ParseTime(cell.text, date)) {
        return date;
    }
    return cell.text;
}

ColumnType ColumnTypeFromDeclaration(std::string_view declared) {
    if (declared.empty()) {
        return {};
    }
    thread_local std::unordered_map<std::string, ColumnType, TextHash, std::equal_to<>> known;
    if (auto found = known.find(declared); found != known.end()) {
        return found->second;
    }
    if (known.size() >= kMaxRememberedDeclarations) {
        known.clear();
    }
    return known.emplace(std::string(declared), ParseDeclaration(declared)).first->second;
}

ColumnType ColumnTypeFromStorage(StorageClass storage) {
    switch (storage) {
        case StorageClass::Integer:
            return {DataType::Integer, 4, kFieldIsNullable, false};
        case StorageClass::Real:
            return {DataType::Double, 8, kFieldIsNullable, false};
        case StorageClass::Text:
            return {DataType::VarChar, kPlainTextSize, kFieldIsNullable, false};
        case StorageClass::Blob:
            return {DataType::LongVarBinary, kLongSize, kFieldIsNullable | kFieldLong, false};
        case StorageClass::Null:
            break;
    }
    return {};
}

vym::Value ReadStoredValue(const SqlStatement& statement, int column) {
    return ReadStoredCell(statement.Cell(column));
}

namespace {
StoredCell CellOf(const SqlStatement& statement, int column) {
    return statement.Cell(column);
}
}  // namespace

ColumnReader ReaderFor(const ColumnType& type) {
    return column_readers::For<CellOf>(type);
}

vym::Value ReadColumn(const SqlStatement& statement, int column, const ColumnType& type) {
    return statement.Reader(type).value(statement, column);
}

vym::Value ConvertToType(const vym::Value& value, DataType type) {
    if (value.IsNull() || value.IsEmpty()) {
        return vym::Value::Null();
    }
    switch (type) {
        case DataType::Boolean:
            return value.ToBool();
        case DataType::UnsignedTinyInt:
        case DataType::TinyInt:
            return value.ToByte();
        case DataType::SmallInt:
            return value.ToInteger();
        case DataType::Integer:
            return value.ToLong();
        case DataType::BigInt: {
            const double v = std::nearbyint(value.ToDouble());
            if (!(std::fabs(v) < 9.2e18)) {
                throw vym::Error(errc::kOverflow, "VYMAppServer.Connection", "Overflow");
            }
            return vym::Value::FromInt64(static_cast<std::int64_t>(v));
        }
        case DataType::Single:
            return value.ToSingle();
        case DataType::Double:
        case DataType::Numeric:
            return value.ToDouble();
        case DataType::Currency:
            return value.ToCurrency();
        case DataType::Date:
        case DataType::DBDate:
        case DataType::DBTime:
        case DataType::DBTimeStamp:
            return value.ToDate();
        case DataType::BSTR:
        case DataType::Char:
        case DataType::WChar:
        case DataType::VarChar:
        case DataType::LongVarChar:
        case DataType::VarWChar:
        case DataType::LongVarWChar:
            return value.ToString();
        case DataType::VarBinary:
        case DataType::LongVarBinary:
            return value.ToBytes();
        default:
            return value;
    }
}

}  // namespace vym::server
