#include "base/strings.h"

#include <cstdint>

#include "base/error.h"

namespace vym {

namespace {

bool AsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool AsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

std::string_view TrimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Position of `search` in `text` from `from` on, without regard to case.
std::size_t FindNoCase(std::string_view text, std::string_view search, std::size_t from) {
    for (std::size_t i = from; i + search.size() <= text.size(); ++i) {
        std::size_t j = 0;
        while (j < search.size() && Lower(text[i + j]) == Lower(search[j])) {
            ++j;
        }
        if (j == search.size()) {
            return i;
        }
    }
    return std::string_view::npos;
}

bool Allowed(char c, bool digitsOnly, bool lettersAndDigits, bool phone) {
    if (digitsOnly) {
        return AsciiDigit(c) || c == '.';
    }
    if (lettersAndDigits) {
        return AsciiLetter(c) || AsciiDigit(c) || c == ' ';
    }
    if (phone) {
        return AsciiDigit(c) || c == '-' || c == '(' || c == ')';
    }
    return AsciiLetter(c) || AsciiDigit(c) ||
           std::string_view(" @-_.,!?$%*();:").find(c) != std::string_view::npos;
}

}  // namespace

bool IsLetter(std::string_view character) {
    return character.size() == 1 && AsciiLetter(character[0]);
}

bool IsDigit(std::string_view character) {
    return character.size() == 1 && AsciiDigit(character[0]);
}

int TokenCount(std::string_view text, std::string_view delimiter) {
    if (text.empty()) {
        return 0;
    }
    if (delimiter.empty()) {
        return 1;
    }
    int count = 1;
    for (std::size_t at = text.find(delimiter); at != std::string_view::npos;
         at = text.find(delimiter, at + delimiter.size())) {
        ++count;
    }
    return count;
}

std::string Token(std::string_view text, int index, std::string_view delimiter) {
    if (index < 1 || index > TokenCount(text, delimiter)) {
        return {};
    }
    if (delimiter.empty()) {
        return std::string(TrimBlanks(text));
    }
    std::size_t start = 0;
    for (int i = 1; i < index; ++i) {
        start = text.find(delimiter, start) + delimiter.size();
    }
    const std::size_t end = text.find(delimiter, start);
    return std::string(
        TrimBlanks(text.substr(start, end == std::string_view::npos ? end : end - start)));
}

std::string FilterCharacters(std::string_view text, bool digitsOnly, bool lettersAndDigits,
                             bool phone) {
    std::string out;
    for (char c : text) {
        if (Allowed(c, digitsOnly, lettersAndDigits, phone)) {
            out += c;
        }
    }
    return out;
}

std::string ProperCase(std::string_view text) {
    std::string out(text);
    bool wordStart = true;
    for (char& c : out) {
        const bool separator =
            c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f' || c == '\0';
        c = wordStart ? Upper(c) : Lower(c);
        wordStart = separator;
    }
    return out;
}

namespace Strings {

std::string Replace(std::string_view target, std::string_view search,
                    std::string_view replacement) {
    if (target.empty() || search.empty()) {
        throw Error(static_cast<std::int32_t>(0x8004270F), kSource,
                    "One or more required parameters contained an empty string.");
    }
    std::size_t at = FindNoCase(target, search, 0);
    if (at == std::string_view::npos) {
        throw Error(static_cast<std::int32_t>(0x8004270E), kSource,
                    "Search text not found in target.");
    }
    // The text before each occurrence, the replacement, then on through the
    // rest; a loop rather than recursion so a long text cannot exhaust the stack.
    std::string out;
    std::size_t from = 0;
    for (; at != std::string_view::npos; at = FindNoCase(target, search, from)) {
        out.append(target.substr(from, at - from));
        out.append(replacement);
        from = at + search.size();
    }
    out.append(target.substr(from));
    return out;
}

}  // namespace Strings

}  // namespace vym
