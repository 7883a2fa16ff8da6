#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/value.h"
#include "gateway/recordset.h"

// Reading a record's columns and writing its parameters by the Null rules
// every record class follows: Null reads as "", 0 or False; optional values
// go out as Null.
namespace vym::fields {

inline std::string Text(Recordset& rs, std::string_view name) {
    return NullToEmpty(rs.Fields(name).Value());
}
inline std::int32_t Long(Recordset& rs, std::string_view name) {
    return NullToZero(rs.Fields(name).Value()).ToLong();
}
inline std::int16_t Integer(Recordset& rs, std::string_view name) {
    return NullToZero(rs.Fields(name).Value()).ToInteger();
}
inline double Double(Recordset& rs, std::string_view name) {
    return NullToZero(rs.Fields(name).Value()).ToDouble();
}
inline bool Flag(Recordset& rs, std::string_view name) {
    return NullToZero(rs.Fields(name).Value()).ToBool();
}

inline vym::Value NullIfEmpty(const std::string& text) {
    return text.empty() ? vym::Value::Null() : vym::Value(text);
}
inline vym::Value NullIfZero(std::int32_t number) {
    return number == 0 ? vym::Value::Null() : vym::Value(number);
}

}  // namespace vym::fields
