#include "base/price_change.h"

#include "base/error.h"
#include "base/format.h"
#include "base/stock_margin.h"
#include "base/value.h"

namespace vym {
namespace {

constexpr std::int64_t kCent = Currency::kScale / 100;
constexpr Currency kHundred = Currency::FromRaw(100 * Currency::kScale);

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The prices an ending allows are offset + k * step, in raw units.
struct Steps {
    std::int64_t step;
    std::int64_t offset;
};

Steps StepsOf(PriceRule::Ending ending) {
    switch (ending) {
        case PriceRule::Ending::Cents99:
            return {Currency::kScale, 99 * kCent};
        case PriceRule::Ending::Cents95:
            return {Currency::kScale, 95 * kCent};
        case PriceRule::Ending::Whole:
            return {Currency::kScale, 0};
        case PriceRule::Ending::None:
            break;
    }
    return {kCent, 0};
}

Currency Ended(Currency price, const PriceRule& rule) {
    const Steps s = StepsOf(rule.ending);
    const std::int64_t below = FloorDiv(price.Raw() - s.offset, s.step) * s.step + s.offset;
    const std::int64_t above = below == price.Raw() ? below : below + s.step;
    switch (rule.rounding) {
        case PriceRule::Rounding::Down:
            return Currency::FromRaw(below);
        case PriceRule::Rounding::Up:
            return Currency::FromRaw(above);
        case PriceRule::Rounding::Nearest:
            break;
    }
    return Currency::FromRaw(price.Raw() - below < above - price.Raw() ? below : above);
}

std::optional<Currency> Changed(const PriceRule& rule, Currency price,
                                std::optional<Currency> unitCost, std::int32_t qty) {
    switch (rule.kind) {
        case PriceRule::Kind::Percent:
            return price.MulDiv(kHundred + rule.change, kHundred);
        case PriceRule::Kind::Amount:
            return price + rule.change;
        case PriceRule::Kind::Margin:
            break;
    }
    if (!unitCost || *unitCost <= Currency()) {
        return std::nullopt;
    }
    return UnitPriceFromMargin(*unitCost * qty, MarginFromPercent(rule.change));
}

std::string Shown(Currency amount) {
    return Format(Value(amount), "0.00");
}

}  // namespace

PriceChange ChangePrice(const PriceRule& rule, Currency price, std::optional<Currency> unitCost,
                        std::int32_t unitQty) {
    std::optional<Currency> changed;
    try {
        changed = Changed(rule, price, unitCost, unitQty > 0 ? unitQty : 1);
        if (changed && *changed > Currency()) {
            changed = Ended(*changed, rule);
        }
    } catch (const Error&) {
        return {price, "The new price would be too large."};
    }
    if (!changed) {
        return {price, "The item has no cost to price from."};
    }
    if (*changed <= Currency()) {
        return {price,
                "The new price would be " + Shown(*changed) + ": a price must be more than zero."};
    }
    return {*changed, {}};
}

}  // namespace vym
