#pragma once

#include <charconv>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>

namespace vym::test {

// A record's fields as one text, "a|b|true", so that a test checks many of
// them in one expectation and a failure shows them all side by side. A
// floating-point number is written in the fewest digits that read back as
// the very same number, so that the text compares as exactly as the number.
template <class... Values>
std::string Fields(const Values&... values) {
    std::ostringstream out;
    out << std::boolalpha;
    const char* separator = "";
    const auto put = [&](const auto& value) {
        out << separator;
        separator = "|";
        if constexpr (requires { value.toStdString(); }) {
            out << value.toStdString();  // a QString
        } else if constexpr (std::is_floating_point_v<std::decay_t<decltype(value)>>) {
            char text[32];
            out << std::string_view(text,
                                    std::to_chars(text, text + sizeof text, value).ptr - text);
        } else {
            out << value;
        }
    };
    (put(values), ...);
    return out.str();
}

}  // namespace vym::test
