#pragma once

#include <string>
#include <string_view>

namespace vym {

// True for one ASCII letter (A-Z, a-z); False for an empty text.
bool IsLetter(std::string_view character);
// True for one ASCII digit; False for an empty text.
bool IsDigit(std::string_view character);

// The number of delimited fields in the text; 0 for an empty text.
int TokenCount(std::string_view text, std::string_view delimiter = ",");
// The index-th (1-based) field, trimmed of blanks; "" when there are fewer fields.
std::string Token(std::string_view text, int index, std::string_view delimiter = ",");

// The text with every character the chosen class does not allow removed. The
// first flag set decides: digits and "."; letters, digits and space; phone
// (digits, "-", "(" and ")"); with no flag letters, digits and the punctuation
// a description may carry (space @ - _ . , ! ? $ % * ( ) ; :).
std::string FilterCharacters(std::string_view text, bool digitsOnly, bool lettersAndDigits,
                             bool phone);

// The first letter of every word upper case, the rest lower case.
std::string ProperCase(std::string_view text);

namespace Strings {

inline constexpr const char* kSource = "Strings.Replace";

// Every occurrence of `search` in `target` replaced, without regard to case.
// Throws Error(0x8004270F) when the target or the search text is empty and
// Error(0x8004270E) when the search text does not occur in the target.
std::string Replace(std::string_view target, std::string_view search, std::string_view replacement);

}  // namespace Strings

}  // namespace vym
