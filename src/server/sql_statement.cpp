#include "server/sql_statement.h"

#include "server/column_type.h"

namespace vym::server {

void SqlStatement::Bind(int index, const vym::Value& value) {
    switch (value.Type()) {
        case VarType::Empty:
        case VarType::Null:
            BindNull(index);
            break;
        case VarType::Boolean:
            BindInt64(index, value.ToBool() ? 1 : 0);
            break;
        case VarType::Byte:
        case VarType::Integer:
        case VarType::Long:
            BindInt64(index, value.ToLong());
            break;
        case VarType::Single:
        case VarType::Double:
        case VarType::Currency:
            BindDouble(index, value.ToDouble());
            break;
        case VarType::Date:
            BindText(index, value.ToDate().ToIso());
            break;
        case VarType::String:
            BindText(index, value.ToString());
            break;
        case VarType::Binary: {
            const Bytes bytes = value.ToBytes();
            BindBlob(index, bytes);
            break;
        }
    }
}

ColumnReader SqlStatement::Reader(const ColumnType& type) const {
    return ReaderFor(type);
}

void SqlStatement::BindAll(std::span<const vym::Value> values) {
    int index = 1;
    for (const vym::Value& value : values) {
        Bind(index++, value);
    }
}

}  // namespace vym::server
