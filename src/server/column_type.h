#pragma once

#include <cstdint>
#include <string_view>

#include "base/value.h"
#include "gateway/data_type.h"
#include "server/sql_statement.h"

namespace vym::server {

// What a column's declared type tells the gateway: the field type, its size
// and its attributes. Expression columns have no declared type and take the
// type of what they hold.
struct ColumnType {
    DataType type = DataType::Variant;
    std::int32_t definedSize = 0;
    std::int32_t attributes = kFieldIsNullable;
    bool declared = false;
};

// "money" -> Currency, "datetime" -> DBTimeStamp, "bit" -> Boolean,
// "varchar(30)" -> VarChar of 30, "long text" -> LongVarChar ...
ColumnType ColumnTypeFromDeclaration(std::string_view declared);
ColumnType ColumnTypeFromStorage(StorageClass storage);

// The current row's value of a column as a field of that type reads it:
// money exact to four places, dates from their ISO text, bits as Boolean.
vym::Value ReadColumn(const SqlStatement& statement, int column, const ColumnType& type);
// ReadColumn for one type, chosen once for a column rather than cell by cell
// (SqlStatement::Reader gives the engine's own).
ColumnReader ReaderFor(const ColumnType& type);
// The value as the store holds it, without a declared type.
vym::Value ReadStoredValue(const SqlStatement& statement, int column);

// A value converted to a field or parameter type before it is stored: True
// becomes a Boolean (stored 1), "12.5" a Currency, and so on. Empty and Null
// become Null. Throws vym::Error when the value does not convert.
vym::Value ConvertToType(const vym::Value& value, DataType type);

}  // namespace vym::server
