#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/currency.h"

namespace vym {

// A change applied to many prices at once: the rule, then the ending the new
// price is brought to, in exact fixed point.
struct PriceRule {
    enum class Kind {
        Percent,  // change by a percentage (10 raises by 10 %, -5 lowers by 5 %)
        Amount,   // change by an amount (".50" raises by 50 cents)
        Margin,   // set from the cost by a margin given in percent (35 for 35 %)
    };
    enum class Ending {
        None,     // to the cent
        Cents99,  // to a price ending in .99
        Cents95,  // to a price ending in .95
        Whole,    // to a whole amount
    };
    enum class Rounding { Nearest, Up, Down };

    Kind kind = Kind::Percent;
    Currency change;
    Ending ending = Ending::None;
    Rounding rounding = Rounding::Nearest;
};

// The new price of one price, or why it cannot have one.
struct PriceChange {
    Currency price;
    std::string refusal;  // empty when the price may change

    bool Refused() const { return !refusal.empty(); }
};

// The price (for `unitQty` units, 0 counting as 1) under the rule. A margin
// prices the landed cost of one unit times the quantity; an item without a
// cost, and any result of zero or less, is refused with the reason. Nearest
// goes up when the price lies halfway between two endings.
PriceChange ChangePrice(const PriceRule& rule, Currency price, std::optional<Currency> unitCost,
                        std::int32_t unitQty);

}  // namespace vym
