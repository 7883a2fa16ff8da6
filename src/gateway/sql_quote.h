#pragma once

#include <string>
#include <string_view>

namespace vym {

// The one way text enters an ad-hoc SQL statement: the text as a quoted SQL
// literal, every single quote doubled ("O'Neil" -> "'O''Neil'"). A NUL
// character ends the text, as it would end it in the database.
std::string SqlQuote(std::string_view text);

}  // namespace vym
