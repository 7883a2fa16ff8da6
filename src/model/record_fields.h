#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/currency.h"
#include "base/prompter.h"
#include "base/value.h"
#include "gateway/data_type.h"
#include "gateway/field.h"
#include "gateway/parameter.h"
#include "gateway/recordset.h"

// Reading a record's columns and writing its parameters by the Null rules
// every record class follows: Null reads as "", 0 or False; optional values
// go out as Null.
namespace vym::fields {

inline std::string Text(Recordset& rs, std::string_view name) {
    return rs.Fields(name).Text();
}
inline std::int32_t Long(Recordset& rs, std::string_view name) {
    return rs.Fields(name).Long();
}
inline std::int16_t Integer(Recordset& rs, std::string_view name) {
    return NullToZero(rs.Fields(name).Value()).ToInteger();
}
inline double Double(Recordset& rs, std::string_view name) {
    return rs.Fields(name).Double();
}
inline bool Flag(Recordset& rs, std::string_view name) {
    return rs.Fields(name).Flag();
}

inline vym::Value NullIfEmpty(const std::string& text) {
    return text.empty() ? vym::Value::Null() : vym::Value(text);
}
inline vym::Value NullIfZero(std::int32_t number) {
    return number == 0 ? vym::Value::Null() : vym::Value(number);
}
inline vym::Value NullIfZero(vym::Currency amount) {
    return amount == vym::Currency{} ? vym::Value::Null() : vym::Value(amount);
}
inline vym::Value NullIfZero(double number) {
    return number == 0.0 ? vym::Value::Null() : vym::Value(number);
}

// True, after showing the procedure's `message` parameter in an information
// box titled `title`, when the call returned a value below 0.
inline bool ProcedureRefused(ParameterList& p, std::string_view message, std::string_view title) {
    if (NullToZero(p["@RETURN_VALUE"].Value).ToLong() >= 0) {
        return false;
    }
    MsgBox(NullToEmpty(p[message].Value), kInformation, title);
    return true;
}

// A text column that may hold long data, read by chunks of its whole size
// when it does.
inline std::string LongText(Field& field) {
    const auto size = static_cast<std::size_t>(field.ActualSize());
    if (size == 0) {
        return {};
    }
    if ((field.Attributes() & kFieldLong) == 0) {
        return field.Text();
    }
    std::string text;
    while (text.size() < size) {
        const std::string piece =
            NullToEmpty(field.GetChunk(static_cast<std::int32_t>(size - text.size())));
        if (piece.empty()) {
            break;
        }
        text += piece;
    }
    return text;
}

}  // namespace vym::fields
