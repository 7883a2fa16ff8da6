#include "base/stock_margin.h"

#include <limits>

#include "base/error.h"
#include "vym/version.h"

namespace vym {
namespace {

using Wide = __int128;

[[noreturn]] void ThrowOverflow() {
    throw Error(errc::kOverflow, version::kComponentTitle, "Overflow");
}

// numerator / denominator to the nearest whole number, halves to even.
std::int64_t DivideHalfEven(Wide numerator, Wide denominator) {
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    Wide quotient = numerator / denominator;
    const Wide remainder = numerator % denominator;
    const Wide twice = (remainder < 0 ? -remainder : remainder) * 2;
    if (twice > denominator || (twice == denominator && quotient % 2 != 0)) {
        quotient += remainder < 0 ? -1 : 1;
    }
    if (quotient > std::numeric_limits<std::int64_t>::max() ||
        quotient < std::numeric_limits<std::int64_t>::min()) {
        ThrowOverflow();
    }
    return static_cast<std::int64_t>(quotient);
}

}  // namespace

Currency MarginFromCost(Currency cost, Currency unitPrice) {
    if (unitPrice.Raw() == 0) {
        return Currency();
    }
    const Wide gain = Wide(unitPrice.Raw()) - cost.Raw();
    return Currency::FromRaw(DivideHalfEven(gain * Currency::kScale, unitPrice.Raw()));
}

Currency MarginFromPercent(Currency percent) {
    return Currency::FromRaw(DivideHalfEven(percent.Raw(), 100));
}

Currency UnitPriceFromMargin(Currency cost, Currency margin) {
    const Wide kept = Wide(Currency::kScale) - margin.Raw();
    if (kept == 0) {
        return Currency();
    }
    // cost / kept is the price in units of 1/10,000; a hundredth of that, in cents.
    constexpr std::int64_t kCent = Currency::kScale / 100;
    const std::int64_t cents = DivideHalfEven(Wide(cost.Raw()) * 100, kept);
    std::int64_t raw = 0;
    if (__builtin_mul_overflow(cents, kCent, &raw)) {
        ThrowOverflow();
    }
    return Currency::FromRaw(raw);
}

}  // namespace vym
