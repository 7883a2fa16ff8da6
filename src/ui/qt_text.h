#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/value.h"
#include "gateway/field.h"
#include "gateway/recordset.h"

// Where the screens' QString meets the UTF-8 text and values of the Qt-free
// layers, converted one way everywhere.
namespace vym::ui {

inline QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string S(const QString& text) {
    return text.toStdString();
}

// A column's text, Null as "".
inline QString FieldText(Recordset& rows, std::string_view name) {
    return Q(rows.Fields(name).Text());
}
inline QString FieldText(Recordset& rows, std::int32_t index) {
    return Q(rows.Fields(index).Text());
}

// A box's text as a parameter value: an empty box goes out as Null.
inline vym::Value NullIfEmpty(const QString& text) {
    return text.isEmpty() ? vym::Value::Null() : vym::Value(S(text));
}

}  // namespace vym::ui
