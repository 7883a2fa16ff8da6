#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/currency.h"
#include "base/value.h"

namespace vym {

// Formats a value by one of the display patterns the screens use: "0.0000",
// "0.00", "$0.0000", "Percent", "Currency", "0.##", "0.0###",
// "###########0.0###", "($#,###.00)", "($#,###.00##)", "mm/dd/yyyy",
// "MM/dd/yyyy", "MM/DD/YYYY", "mm/dd/yy", "hh:mm:ss AMPM",
// "mm/dd/yy hh:nn ampm", "0000", "00". Numbers round half away from zero as
// the host's Format does. Null and Empty format as "". A text that is not a
// number formats as itself under a number pattern; an empty pattern gives
// the value's plain text.
std::string Format(const Value& value, std::string_view pattern);

// Rounding to n decimal places (n >= 0).
double RoundHalfEven(double value, int places);
double RoundHalfAwayFromZero(double value, int places);

// A number as a user types it: blanks around, an optional sign, digits with
// at most one decimal point, thousands separators, a leading "$" (before or
// after the sign). "12A", "", "1.2.3" and "--1" are not numbers.
bool IsNumeric(std::string_view text);
bool IsNumeric(const Value& value);  // numbers, and text that IsNumeric accepts
// Plain text goes to the text overload, not through a Value.
inline bool IsNumeric(const std::string& text) {
    return IsNumeric(std::string_view(text));
}
inline bool IsNumeric(const char* text) {
    return IsNumeric(std::string_view(text));
}
std::optional<double> ParseNumber(std::string_view text);
// The same text as an exact amount, rounded half to even to four places
// ("2.5" is 2.5000, "1,250" is 1250.0000); nullopt when it is not a number or
// does not fit a Currency.
std::optional<Currency> ParseCurrency(std::string_view text);

}  // namespace vym
