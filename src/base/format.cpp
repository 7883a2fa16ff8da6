#include "base/format.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "base/decimal_digits.h"
#include "base/error.h"

namespace vym {

namespace {

double RoundTo(double value, int places, RoundingMode mode) {
    if (!std::isfinite(value)) {
        return value;
    }
    DecimalDigits d = DecimalDigits::FromDouble(value);
    d.Round(places, mode);
    return d.ToDouble();
}

bool IsDigitChar(char c) {
    return c >= '0' && c <= '9';
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(text[i]) != Lower(prefix[i])) {
            return false;
        }
    }
    return true;
}

// Splits a pattern at ";" outside quotes: positive;negative;zero.
std::vector<std::string_view> SplitSections(std::string_view pattern) {
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '"') {
            quoted = !quoted;
        } else if (pattern[i] == '\\' && !quoted) {
            ++i;
        } else if (pattern[i] == ';' && !quoted) {
            sections.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(pattern.substr(start));
    return sections;
}

// One section of a number pattern: literal text around the digit placeholders.
// "0" always shows a digit, "#" only a significant one, "," between integer
// placeholders groups thousands, "%" multiplies by 100.
struct NumberSection {
    std::string prefix;
    std::string suffix;
    int minInteger = 0;
    bool grouping = false;
    bool point = false;
    int minFraction = 0;
    int maxFraction = 0;
    bool percent = false;
};

NumberSection ParseNumberSection(std::string_view s) {
    NumberSection section;
    bool seenPlaceholder = false;
    auto literal = [&](char c) { (seenPlaceholder ? section.suffix : section.prefix) += c; };
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            for (++i; i < s.size() && s[i] != '"'; ++i) {
                literal(s[i]);
            }
        } else if (c == '\\' && i + 1 < s.size()) {
            literal(s[++i]);
        } else if (c == '0' || c == '#') {
            seenPlaceholder = true;
            if (section.point) {
                ++section.maxFraction;
                // Zeros after a "#" in the fraction still count as required digits.
                if (c == '0') {
                    section.minFraction = section.maxFraction;
                }
            } else if (c == '0') {
                ++section.minInteger;
            }
        } else if (c == '.' && !section.point &&
                   s.find_first_of("0#", i) != std::string_view::npos) {
            section.point = true;
            seenPlaceholder = true;
        } else if (c == ',' && seenPlaceholder && !section.point) {
            section.grouping = true;
        } else {
            section.percent = section.percent || c == '%';
            literal(c);
        }
    }
    return section;
}

// The absolute value by one section; `zero` tells whether it rounded to zero.
std::string RenderNumber(DecimalDigits value, const NumberSection& s, bool& zero) {
    if (s.percent) {
        value.Shift(2);
    }
    value.Round(s.maxFraction, RoundingMode::HalfAwayFromZero);
    zero = value.IsZero();
    std::string whole = value.IntegerDigits();
    if (static_cast<int>(whole.size()) < s.minInteger) {
        whole.insert(0, s.minInteger - whole.size(), '0');
    }
    if (s.grouping) {
        // Copied into a new string rather than inserted in place: GCC 12 at -O3
        // warns falsely about an overflowing copy in string::insert.
        std::string grouped;
        grouped.reserve(whole.size() + whole.size() / 3);
        for (std::size_t i = 0; i < whole.size(); ++i) {
            if (i > 0 && (whole.size() - i) % 3 == 0) {
                grouped += ',';
            }
            grouped += whole[i];
        }
        whole = std::move(grouped);
    }
    std::string fraction = value.FractionDigits(s.maxFraction);
    while (static_cast<int>(fraction.size()) > s.minFraction && fraction.back() == '0') {
        fraction.pop_back();
    }
    // "0.##" leaves the point standing for a whole number ("5."), as the host does.
    return s.prefix + whole + (s.point ? "." + fraction : "") + s.suffix;
}

std::string FormatNumber(const DecimalDigits& number, std::string_view pattern) {
    std::vector<std::string_view> sections = SplitSections(pattern);
    // A single bracketed amount pattern shows negatives in brackets and other
    // amounts bare, as an accounts column reads.
    if (sections.size() == 1 && pattern.size() > 2 && pattern.front() == '(' &&
        pattern.back() == ')') {
        sections = {pattern.substr(1, pattern.size() - 2), pattern};
    }
    DecimalDigits magnitude = number;
    magnitude.SetNegative(false);
    bool zero = false;
    if (number.Negative() && sections.size() >= 2 && !sections[1].empty()) {
        std::string text = RenderNumber(magnitude, ParseNumberSection(sections[1]), zero);
        if (!zero) {
            return text;
        }
        magnitude = DecimalDigits{};
    }
    if (magnitude.IsZero() && sections.size() >= 3 && !sections[2].empty()) {
        return RenderNumber(magnitude, ParseNumberSection(sections[2]), zero);
    }
    std::string text = RenderNumber(magnitude, ParseNumberSection(sections[0]), zero);
    // An amount that rounds to nothing shows without a sign ("0.00", not "-0.00").
    return number.Negative() && !zero ? "-" + text : text;
}

bool IsDatePattern(std::string_view pattern) {
    if (pattern.find_first_of("0#") != std::string_view::npos) {
        return false;
    }
    return pattern.find_first_of("dDmMyYhHnNsS") != std::string_view::npos;
}

std::string TwoDigits(int n) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", n);
    return buffer;
}

// The date token of `run` equal letters `c` (lower case), or nothing when
// `c` is no token letter; `take` becomes the letters the token uses.
std::optional<std::string> DateToken(const Date& date, char c, std::size_t run, bool afterHour,
                                     bool twelveHour, std::size_t& take) {
    const auto digits = [&](int n) { return take == 2 ? TwoDigits(n) : std::to_string(n); };
    switch (c) {
        case 'd':
            return digits(date.Day());
        case 'm':
            return digits(afterHour ? date.Minute() : date.Month());
        case 'y':
            if (run >= 4) {
                take = 4;
                return std::to_string(date.Year());
            }
            if (run >= 2) {
                return TwoDigits(date.Year() % 100);
            }
            // One y: the day of the year.
            return std::to_string(static_cast<int>(date.DateOnly().Serial() -
                                                   Date::FromParts(date.Year(), 1, 1).Serial()) +
                                  1);
        case 'h': {
            const int hour = date.Hour();
            return digits(twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour);
        }
        case 'n':
            return digits(date.Minute());
        case 's':
            return digits(date.Second());
        default:
            return std::nullopt;
    }
}

// Date tokens without regard to case: d dd m mm y yy yyyy h hh n nn s ss, and
// AMPM or AM/PM for a 12-hour clock ("ampm" and "am/pm" give lower case).
// "m" and "mm" right after an hour are minutes ("hh:mm:ss").
std::string FormatDate(const Date& date, std::string_view pattern) {
    const bool twelveHour = [&] {
        for (std::size_t i = 0; i < pattern.size(); ++i) {
            if (StartsWithNoCase(pattern.substr(i), "AMPM") ||
                StartsWithNoCase(pattern.substr(i), "AM/PM")) {
                return true;
            }
        }
        return false;
    }();
    std::string out;
    bool afterHour = false;
    for (std::size_t i = 0; i < pattern.size();) {
        const std::string_view rest = pattern.substr(i);
        const char c = Lower(pattern[i]);
        std::size_t run = 1;
        while (run < rest.size() && Lower(rest[run]) == c) {
            ++run;
        }
        if (pattern[i] == '"') {
            const std::size_t close = pattern.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? pattern.size() : close;
            out += pattern.substr(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (pattern[i] == '\\' && i + 1 < pattern.size()) {
            out += pattern[i + 1];
            i += 2;
            continue;
        }
        if (StartsWithNoCase(rest, "AMPM") || StartsWithNoCase(rest, "AM/PM")) {
            const bool lower = pattern[i] == 'a';
            const bool pm = date.Hour() >= 12;
            out += lower ? (pm ? "pm" : "am") : (pm ? "PM" : "AM");
            i += rest[2] == '/' ? 5 : 4;
            continue;
        }
        std::size_t take = std::min<std::size_t>(run, 2);
        const auto token = DateToken(date, c, run, afterHour, twelveHour, take);
        if (!token) {
            out += pattern[i];
            i += 1;
            continue;
        }
        out += *token;
        afterHour = c == 'h';
        i += take;
    }
    return out;
}

// The number a value formats as, or nothing for text that is not a number.
std::optional<DecimalDigits> NumberOf(const Value& value) {
    switch (value.Type()) {
        case VarType::Currency:
            return DecimalDigits::FromScaled(value.ToCurrency().Raw(), 4);
        case VarType::Single:
            return DecimalDigits::FromDouble(value.ToSingle(), 7);
        case VarType::String:
            if (const std::optional<double> n = ParseNumber(value.ToString())) {
                return DecimalDigits::FromDouble(*n);
            }
            return std::nullopt;
        case VarType::Binary:
            return std::nullopt;
        default:
            return DecimalDigits::FromDouble(value.ToDouble());
    }
}

}  // namespace

double RoundHalfEven(double value, int places) {
    return RoundTo(value, places, RoundingMode::HalfEven);
}

double RoundHalfAwayFromZero(double value, int places) {
    return RoundTo(value, places, RoundingMode::HalfAwayFromZero);
}

std::string Format(const Value& value, std::string_view pattern) {
    if (value.IsNull() || value.IsEmpty()) {
        return {};
    }
    if (pattern.empty()) {
        return value.ToString();
    }
    if (StartsWithNoCase(pattern, "Percent") && pattern.size() == 7) {
        pattern = "0.00%";
    } else if (StartsWithNoCase(pattern, "Currency") && pattern.size() == 8) {
        pattern = "$#,##0.00;($#,##0.00)";
    }
    if (IsDatePattern(pattern)) {
        try {
            return FormatDate(value.ToDate(), pattern);
        } catch (const Error&) {
            return value.ToString();  // text that is no date, as it stands
        }
    }
    const std::optional<DecimalDigits> number = NumberOf(value);
    return number ? FormatNumber(*number, pattern) : value.ToString();
}

bool IsNumeric(std::string_view text) {
    return ParseNumber(text).has_value();
}

bool IsNumeric(const Value& value) {
    if (value.IsNumber()) {
        return true;
    }
    return value.Type() == VarType::String && ParseNumber(value.ToString()).has_value();
}

std::optional<double> ParseNumber(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    std::size_t i = 0;
    bool negative = false;
    bool sign = false;
    bool dollar = false;
    // A sign and a "$" in either order: "-$5", "$-5".
    while (i < text.size()) {
        if (!sign && (text[i] == '-' || text[i] == '+')) {
            sign = true;
            negative = text[i] == '-';
        } else if (!dollar && text[i] == '$') {
            dollar = true;
        } else {
            break;
        }
        ++i;
    }
    std::string plain = negative ? "-" : "";
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigitChar(c)) {
            digits = true;
            plain += c;
        } else if (c == '.' && !point) {
            point = true;
            plain += c;
        } else if (c == ',' && !point && i > 0 && IsDigitChar(text[i - 1]) && i + 1 < text.size() &&
                   IsDigitChar(text[i + 1])) {
            continue;  // thousands separator between digits
        } else {
            return std::nullopt;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc{} || end != plain.data() + plain.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace vym
