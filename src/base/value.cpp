#include "base/value.h"

#include <cfloat>
#include <cmath>
#include <limits>
#include <type_traits>
#include <utility>

#include "base/decimal_digits.h"
#include "base/error.h"
#include "base/format.h"
#include "vym/version.h"

namespace vym {

namespace {

[[noreturn]] void Raise(std::int32_t number, const char* description) {
    throw Error(number, version::kComponentTitle, description);
}
[[noreturn]] void Overflow() {
    Raise(errc::kOverflow, "Overflow");
}
[[noreturn]] void TypeMismatch() {
    Raise(errc::kTypeMismatch, "Type mismatch");
}
[[noreturn]] void InvalidUseOfNull() {
    Raise(errc::kInvalidUseOfNull, "Invalid use of Null");
}

std::string_view Trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// "True" and "False" are numbers (-1 and 0) as well as Booleans.
std::optional<double> TextAsNumber(std::string_view text) {
    const std::string_view t = Trimmed(text);
    if (EqualsNoCase(t, "True")) {
        return -1.0;
    }
    if (EqualsNoCase(t, "False")) {
        return 0.0;
    }
    return ParseNumber(text);
}

// Digits in the host's plain form: no exponent within the ordinary range
// (down to 0.0001, below 10^significant), "1.5E+20" style outside it.
// Pieces are appended one by one here and in DateText: "." + string makes
// GCC 12 at -O3 warn falsely about an overflowing copy.
std::string NumberText(const DecimalDigits& d, int significant) {
    if (d.IsZero()) {
        return "0";
    }
    const std::string sign = d.Negative() ? "-" : "";
    const int magnitude = d.Magnitude();
    const std::string& digits = d.Digits();
    if (magnitude < -4 || magnitude >= significant) {
        std::string out = sign + digits.substr(0, 1);
        if (digits.size() > 1) {
            out += '.';
            out.append(digits, 1);
        }
        const int power = std::abs(magnitude);
        return out + (magnitude < 0 ? "E-" : "E+") + (power < 10 ? "0" : "") +
               std::to_string(power);
    }
    std::string whole = d.IntegerDigits();
    const int places = static_cast<int>(digits.size()) - (magnitude + 1);
    std::string out = sign + (whole.empty() ? "0" : whole);
    if (places > 0) {
        out += '.';
        out += d.FractionDigits(places);
    }
    return out;
}

std::string TimeText(const Date& d) {
    const int hour = d.Hour();
    const int twelve = hour % 12 == 0 ? 12 : hour % 12;
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d %s", twelve, d.Minute(), d.Second(),
                  hour < 12 ? "AM" : "PM");
    return buffer;
}

std::string DateText(const Date& d) {
    // The zero date shows as its time alone ("12:00:00 AM" for the date 0).
    if (d.DateOnly().Serial() == 0.0) {
        return TimeText(d);
    }
    std::string out =
        std::to_string(d.Month()) + "/" + std::to_string(d.Day()) + "/" + std::to_string(d.Year());
    if (d.TimeOfDay() != 0.0) {
        out += ' ';
        out += TimeText(d);
    }
    return out;
}

// Rounds half to even (2.5 -> 2, 3.5 -> 4) and checks the target's range.
template <class T>
T ToIntegral(double value) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= static_cast<double>(std::numeric_limits<T>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<T>::max()))) {
        Overflow();
    }
    return static_cast<T>(rounded);
}

// The serials of 1/1/100 and 12/31/9999 23:59:59.
constexpr double kMinDateSerial = -657434.0;
constexpr double kMaxDateSerial = 2958465.99999;

}  // namespace

Value Value::FromInt64(std::int64_t v) {
    if (v >= std::numeric_limits<std::int32_t>::min() &&
        v <= std::numeric_limits<std::int32_t>::max()) {
        return Value(static_cast<std::int32_t>(v));
    }
    return Value(static_cast<double>(v));
}

bool Value::IsNumber() const {
    const VarType t = Type();
    return t >= VarType::Boolean && t <= VarType::Currency;
}

double Value::ToDouble() const {
    return std::visit(
        [](const auto& v) -> double {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return 0.0;
            } else if constexpr (std::is_same_v<T, NullTag>) {
                InvalidUseOfNull();
            } else if constexpr (std::is_same_v<T, bool>) {
                return v ? -1.0 : 0.0;
            } else if constexpr (std::is_arithmetic_v<T>) {
                return static_cast<double>(v);
            } else if constexpr (std::is_same_v<T, vym::Currency>) {
                return v.ToDouble();
            } else if constexpr (std::is_same_v<T, vym::Date>) {
                return v.Serial();
            } else if constexpr (std::is_same_v<T, std::string>) {
                const std::optional<double> n = TextAsNumber(v);
                if (!n) {
                    TypeMismatch();
                }
                return *n;
            } else {
                TypeMismatch();
            }
        },
        data_);
}

bool Value::ToBool() const {
    if (const auto* b = std::get_if<bool>(&data_)) {
        return *b;
    }
    return ToDouble() != 0.0;
}

std::uint8_t Value::ToByte() const {
    return ToIntegral<std::uint8_t>(ToDouble());
}
std::int16_t Value::ToInteger() const {
    return ToIntegral<std::int16_t>(ToDouble());
}
std::int32_t Value::ToLong() const {
    return ToIntegral<std::int32_t>(ToDouble());
}

float Value::ToSingle() const {
    const double d = ToDouble();
    if (std::fabs(d) > FLT_MAX) {
        Overflow();
    }
    return static_cast<float>(d);
}

vym::Currency Value::ToCurrency() const {
    if (const auto* c = std::get_if<vym::Currency>(&data_)) {
        return *c;
    }
    return vym::Currency::FromDouble(ToDouble());
}

vym::Date Value::ToDate() const {
    if (const auto* d = std::get_if<vym::Date>(&data_)) {
        return *d;
    }
    if (const auto* s = std::get_if<std::string>(&data_)) {
        vym::Date parsed;
        if (!vym::Date::Parse(*s, parsed)) {
            TypeMismatch();
        }
        return parsed;
    }
    if (Type() == VarType::Binary) {
        TypeMismatch();
    }
    const double serial = ToDouble();
    if (!(serial >= kMinDateSerial && serial <= kMaxDateSerial)) {
        Overflow();
    }
    return vym::Date(serial);
}

std::string Value::ToString() && {
    if (auto* text = std::get_if<std::string>(&data_)) {
        return std::move(*text);
    }
    return std::as_const(*this).ToString();
}

std::string Value::ToString() const& {
    return std::visit(
        [](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return {};
            } else if constexpr (std::is_same_v<T, NullTag>) {
                InvalidUseOfNull();
            } else if constexpr (std::is_same_v<T, bool>) {
                return v ? "True" : "False";
            } else if constexpr (std::is_same_v<T, float>) {
                return NumberText(DecimalDigits::FromDouble(v, 7), 7);
            } else if constexpr (std::is_same_v<T, double>) {
                return NumberText(DecimalDigits::FromDouble(v, 15), 15);
            } else if constexpr (std::is_arithmetic_v<T>) {
                return std::to_string(static_cast<int>(v));
            } else if constexpr (std::is_same_v<T, vym::Currency>) {
                // At most 19 digits: always the plain form.
                return NumberText(DecimalDigits::FromScaled(v.Raw(), 4), 20);
            } else if constexpr (std::is_same_v<T, vym::Date>) {
                return DateText(v);
            } else if constexpr (std::is_same_v<T, std::string>) {
                return v;
            } else {
                return std::string(v.begin(), v.end());
            }
        },
        data_);
}

Bytes Value::ToBytes() const {
    switch (Type()) {
        case VarType::Empty:
            return {};
        case VarType::Null:
            InvalidUseOfNull();
        case VarType::Binary:
            return std::get<Bytes>(data_);
        case VarType::String: {
            const auto& s = std::get<std::string>(data_);
            return Bytes(s.begin(), s.end());
        }
        default:
            TypeMismatch();
    }
}

Value NullToZero(const Value& v) {
    return v.IsNull() || v.IsEmpty() ? Value(static_cast<std::int16_t>(0)) : v;
}

std::string NullToEmpty(const Value& v) {
    return v.IsNull() || v.IsEmpty() ? std::string() : v.ToString();
}

Value ValueOrDefault(const Value& v, const Value& fallback) {
    return v.IsNull() ? fallback : v;
}

}  // namespace vym
