#include "base/date.h"

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <ctime>

#include "base/error.h"
#include "vym/version.h"

namespace vym {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// Days since 1970-01-01 of a proleptic Gregorian date.
constexpr std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil {
    int year;
    int month;
    int day;
};

constexpr Civil CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

constexpr std::int64_t kZeroDate = DaysFromCivil(1899, 12, 30);
static_assert(kZeroDate == -25569);

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

bool ValidParts(int year, int month, int day, int hour, int minute, int second) {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
           minute <= 59 && second >= 0 && second <= 59;
}

double Encode(int year, int month, int day, int hour, int minute, int second) {
    const auto days = static_cast<double>(DaysFromCivil(year, month, day) - kZeroDate);
    const double time = (hour * 3600 + minute * 60 + second) / static_cast<double>(kSecondsPerDay);
    // Before the zero date the time still runs forward: 12/29/1899 6:00 is -1.25.
    return days >= 0 ? days + time : days - time;
}

// The serial split into whole days and seconds of the day, rounded to the second.
struct Split {
    std::int64_t days;
    std::int64_t seconds;
};

Split SplitSerial(double serial) {
    const double whole = std::trunc(serial);
    auto days = static_cast<std::int64_t>(whole);
    auto seconds =
        static_cast<std::int64_t>(std::llround(std::fabs(serial - whole) * kSecondsPerDay));
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        ++days;  // 23:59:59.6 is midnight of the next day, before or after the zero date
    }
    return {days, seconds};
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The `count` characters of `text` from `at` as a number; false unless all
// are digits. The caller has checked the length.
bool FixedDigits(std::string_view text, std::size_t at, std::size_t count, int& value) {
    value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (!IsDigit(text[i])) {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// A small cursor over text for the parsers below.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}
    bool AtEnd() const { return pos_ == text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    bool Take(char c) {
        if (Peek() != c) {
            return false;
        }
        ++pos_;
        return true;
    }
    void SkipBlanks() {
        while (!AtEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t')) {
            ++pos_;
        }
    }
    // Between min and max digits; the count read goes to `count`.
    bool Number(int min, int max, int& value, int* count = nullptr) {
        int n = 0;
        value = 0;
        while (n < max && std::isdigit(static_cast<unsigned char>(Peek()))) {
            value = value * 10 + (text_[pos_++] - '0');
            ++n;
        }
        if (count != nullptr) {
            *count = n;
        }
        return n >= min;
    }
    bool TakeWord(std::string_view word) {
        if (text_.size() - pos_ < word.size()) {
            return false;
        }
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (std::toupper(static_cast<unsigned char>(text_[pos_ + i])) != word[i]) {
                return false;
            }
        }
        pos_ += word.size();
        return true;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// "h:nn[:ss] [AM|PM]"
bool ReadTime(Reader& r, int& hour, int& minute, int& second) {
    second = 0;
    if (!r.Number(1, 2, hour) || !r.Take(':') || !r.Number(2, 2, minute)) {
        return false;
    }
    if (r.Take(':') && !r.Number(2, 2, second)) {
        return false;
    }
    r.SkipBlanks();
    const bool pm = r.TakeWord("PM");
    if (pm || r.TakeWord("AM")) {
        if (hour < 1 || hour > 12) {
            return false;
        }
        hour = hour % 12 + (pm ? 12 : 0);
    }
    return true;
}

}  // namespace

Date Date::FromParts(int year, int month, int day, int hour, int minute, int second) {
    if (!ValidParts(year, month, day, hour, minute, second)) {
        throw Error(errc::kInvalidProcedureCall, version::kComponentTitle,
                    "Invalid procedure call or argument");
    }
    return Date(Encode(year, month, day, hour, minute, second));
}

Date Date::Now() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    return FromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                     local.tm_min, local.tm_sec == 60 ? 59 : local.tm_sec);
}

Date Date::Today() {
    return Now().DateOnly();
}

int Date::Year() const {
    return CivilFromDays(SplitSerial(serial_).days + kZeroDate).year;
}
int Date::Month() const {
    return CivilFromDays(SplitSerial(serial_).days + kZeroDate).month;
}
int Date::Day() const {
    return CivilFromDays(SplitSerial(serial_).days + kZeroDate).day;
}
int Date::Hour() const {
    return static_cast<int>(SplitSerial(serial_).seconds / 3600);
}
int Date::Minute() const {
    return static_cast<int>(SplitSerial(serial_).seconds / 60 % 60);
}
int Date::Second() const {
    return static_cast<int>(SplitSerial(serial_).seconds % 60);
}

int Date::Weekday() const {
    // The zero date was a Saturday.
    const std::int64_t days = SplitSerial(serial_).days;
    return static_cast<int>(((days % 7) + 7 + 6) % 7) + 1;
}

Date Date::DateOnly() const {
    return Date(static_cast<double>(SplitSerial(serial_).days));
}

double Date::TimeOfDay() const {
    return static_cast<double>(SplitSerial(serial_).seconds) / kSecondsPerDay;
}

std::string Date::ToIso() const {
    const Split s = SplitSerial(serial_);
    const Civil c = CivilFromDays(s.days + kZeroDate);
    char buffer[32];
    if (s.seconds == 0) {
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", c.year, c.month, c.day);
    } else {
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month,
                      c.day, static_cast<int>(s.seconds / 3600),
                      static_cast<int>(s.seconds / 60 % 60), static_cast<int>(s.seconds % 60));
    }
    return buffer;
}

bool Date::ParseIso(std::string_view text, Date& out) {
    // Fixed positions: "yyyy-mm-dd[( |T)hh:nn[:ss[.fff]]]". Recordsets read one
    // of these per date cell, so no general reader here.
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (text.size() < 10 || !FixedDigits(text, 0, 4, year) || text[4] != '-' ||
        !FixedDigits(text, 5, 2, month) || text[7] != '-' || !FixedDigits(text, 8, 2, day)) {
        return false;
    }
    std::size_t pos = 10;
    if (pos < text.size() && (text[pos] == ' ' || text[pos] == 'T')) {
        if (text.size() < 16 || !FixedDigits(text, 11, 2, hour) || text[13] != ':' ||
            !FixedDigits(text, 14, 2, minute)) {
            return false;
        }
        pos = 16;
        if (pos < text.size() && text[pos] == ':') {
            if (text.size() < 19 || !FixedDigits(text, 17, 2, second)) {
                return false;
            }
            pos = 19;
        }
        if (pos < text.size() && text[pos] == '.') {
            // The database may keep milliseconds; the Date keeps seconds.
            const std::size_t first = ++pos;
            while (pos < text.size() && IsDigit(text[pos])) {
                ++pos;
            }
            if (pos == first || pos - first > 9) {
                return false;
            }
        }
    }
    if (pos != text.size() || !ValidParts(year, month, day, hour, minute, second)) {
        return false;
    }
    out = Date(Encode(year, month, day, hour, minute, second));
    return true;
}

bool Date::Parse(std::string_view text, Date& out) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    if (ParseIso(text, out)) {
        return true;
    }
    // A time alone falls on the zero date, as the host keeps it.
    int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
    Reader r(text);
    const bool hasDate = text.find('/') != std::string_view::npos;
    if (hasDate) {
        int yearDigits = 0;
        if (!r.Number(1, 2, month) || !r.Take('/') || !r.Number(1, 2, day) || !r.Take('/') ||
            !r.Number(1, 4, year, &yearDigits) || (yearDigits != 2 && yearDigits != 4)) {
            return false;
        }
        if (yearDigits == 2) {
            year += year < 30 ? 2000 : 1900;
        }
        r.SkipBlanks();
    }
    if ((!hasDate || !r.AtEnd()) && !ReadTime(r, hour, minute, second)) {
        return false;
    }
    if (!r.AtEnd() || !ValidParts(year, month, day, hour, minute, second)) {
        return false;
    }
    out = Date(Encode(year, month, day, hour, minute, second));
    return true;
}

}  // namespace vym
