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
    return MulDiv(FromRaw(1), FromRaw(divisor));
}

// The raw result is raw x factor.raw / divisor.raw: the scales cancel.
Currency Currency::MulDiv(Currency factor, Currency divisor) const {
    if (divisor.raw_ == 0) {
        throw Error(errc::kDivisionByZero, version::kComponentTitle, "Division by zero");
    }
    using Wide = __int128;
    const Wide numerator = static_cast<Wide>(raw_) * factor.raw_;
    Wide quotient = numerator / divisor.raw_;
    const Wide remainder = numerator % divisor.raw_;
    const Wide twice = (remainder < 0 ? -remainder : remainder) * 2;
    const Wide magnitude = divisor.raw_ < 0 ? -static_cast<Wide>(divisor.raw_) : divisor.raw_;
    if (twice > magnitude || (twice == magnitude && quotient % 2 != 0)) {
        quotient += (numerator < 0) == (divisor.raw_ < 0) ? 1 : -1;
    }
    if (quotient > std::numeric_limits<std::int64_t>::max() ||
        quotient < std::numeric_limits<std::int64_t>::min()) {
        ThrowOverflow();
    }
    return FromRaw(static_cast<std::int64_t>(quotient));
}

}  // namespace vym
