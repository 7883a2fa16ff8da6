#include "base/currency.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "base/decimal_digits.h"
#include "base/error.h"
#include "vym/version.h"

namespace vym {

namespace {

[[noreturn]] void ThrowOverflow() {
    throw Error(errc::kOverflow, version::kComponentTitle, "Overflow");
}

}  // namespace

// Rounds the value as it reads to 15 significant digits, so 1.23455 is a true
// half and goes to 1.2346 (to even), where rounding the binary neighbour
// (1.234549999...) would give 1.2345.
Currency Currency::FromDouble(double value) {
    if (!std::isfinite(value)) {
        ThrowOverflow();
    }
    DecimalDigits d = DecimalDigits::FromDouble(value);
    d.Round(4, RoundingMode::HalfEven);
    d.Shift(4);
    const std::string text = d.IntegerDigits();
    if (text.empty()) {
        return Currency{};
    }
    std::uint64_t magnitude = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    const std::uint64_t limit =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) +
        (d.Negative() ? 1 : 0);
    if (ec != std::errc{} || magnitude > limit) {
        ThrowOverflow();
    }
    return FromRaw(d.Negative() ? static_cast<std::int64_t>(0 - magnitude)
                                : static_cast<std::int64_t>(magnitude));
}

Currency Currency::operator+(Currency other) const {
    std::int64_t sum = 0;
    if (__builtin_add_overflow(raw_, other.raw_, &sum)) {
        ThrowOverflow();
    }
    return FromRaw(sum);
}

Currency Currency::operator-(Currency other) const {
    std::int64_t difference = 0;
    if (__builtin_sub_overflow(raw_, other.raw_, &difference)) {
        ThrowOverflow();
    }
    return FromRaw(difference);
}

Currency Currency::operator-() const {
    return Currency{} - *this;
}

Currency Currency::operator*(std::int64_t factor) const {
    std::int64_t product = 0;
    if (__builtin_mul_overflow(raw_, factor, &product)) {
        ThrowOverflow();
    }
    return FromRaw(product);
}

Currency Currency::DividedBy(std::int64_t divisor) const {
    if (divisor == 0) {
        throw Error(errc::kDivisionByZero, version::kComponentTitle, "Division by zero");
    }
    if (divisor < 0) {
        return (-*this).DividedBy(-divisor);
    }
    std::int64_t quotient = raw_ / divisor;
    const std::int64_t remainder = raw_ % divisor;
    // Compare twice the remainder with the divisor without overflowing.
    const std::int64_t rest = remainder < 0 ? -remainder : remainder;
    const std::int64_t half = divisor - rest;
    if (rest > half || (rest == half && quotient % 2 != 0)) {
        quotient += raw_ < 0 ? -1 : 1;
    }
    return FromRaw(quotient);
}

}  // namespace vym
