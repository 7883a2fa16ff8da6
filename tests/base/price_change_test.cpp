#include "base/price_change.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/format.h"
#include "base/value.h"

namespace vym {
namespace {

using Kind = PriceRule::Kind;
using Ending = PriceRule::Ending;
using Rounding = PriceRule::Rounding;

// Amounts as users type them.
Currency Typed(const char* text) {
    const auto amount = ParseCurrency(text);
    EXPECT_TRUE(amount) << text;
    return amount.value_or(Currency());
}

TEST(ChangePrice, AppliesTheRuleThenBringsThePriceToItsEnding) {
    struct Case {
        const char* price;
        Kind kind;
        const char* change;
        Ending ending;
        Rounding rounding;
        const char* cost;  // of one unit; "" for none
        int qty;
        const char* expected;  // the new price, or the refusal
    };
    constexpr auto P = Kind::Percent;
    constexpr auto A = Kind::Amount;
    constexpr auto M = Kind::Margin;
    constexpr auto N = Rounding::Nearest;
    const Case cases[] = {
        {"$20", P, "10", Ending::None, N, "", 1, "22.0000"},
        {"19.99", P, "10", Ending::None, N, "", 1, "21.9900"},  // 21.989
        {"0.10", P, "2.5", Ending::None, N, "", 1, "0.1000"},   // 0.1025
        {"0.10", P, "2.5", Ending::None, Rounding::Up, "", 1, "0.1100"},
        {"$20", P, "10", Ending::Cents99, N, "", 1, "21.9900"},
        {"$20", P, "10", Ending::Cents99, Rounding::Up, "", 1, "22.9900"},
        {"23.50", P, "-5", Ending::Cents99, Rounding::Down, "", 1, "21.9900"},  // 22.325
        {"19.99", P, "0", Ending::Cents99, Rounding::Up, "", 1, "19.9900"},
        {"22.49", A, "0", Ending::Cents99, N, "", 1, "22.9900"},  // halfway goes up
        {"19.99", A, "0", Ending::Cents95, N, "", 1, "19.9500"},
        {"19.99", A, "0", Ending::Cents95, Rounding::Up, "", 1, "20.9500"},
        {"19.50", A, "0", Ending::Whole, N, "", 1, "20.0000"},
        {"19.49", A, "0", Ending::Whole, N, "", 1, "19.0000"},
        {"1.25", A, ".50", Ending::None, N, "", 1, "1.7500"},
        {"1,250", A, "-5", Ending::None, N, "", 1, "1245.0000"},
        {"20", M, "35", Ending::None, N, "6.50", 1, "10.0000"},
        {"20", M, "35", Ending::None, N, "6.50", 3, "30.0000"},
        {"20", M, "35", Ending::Cents99, N, "6.50", 0, "9.9900"},
        {"20", M, "35", Ending::None, N, "", 1, "The item has no cost to price from."},
        {"20", M, "35", Ending::None, N, "0", 1, "The item has no cost to price from."},
        {"20", P, "-100", Ending::None, N, "", 1,
         "The new price would be 0.00: a price must be more than zero."},
        {"20", A, "-30", Ending::Whole, N, "", 1,
         "The new price would be -10.00: a price must be more than zero."},
        {"0.50", A, "0", Ending::Cents99, Rounding::Down, "", 1,
         "The new price would be -0.01: a price must be more than zero."},
        {"20", M, "100", Ending::None, N, "6.50", 1,
         "The new price would be 0.00: a price must be more than zero."},
        {"900000000", P, "900000000", Ending::None, N, "", 1, "The new price would be too large."},
    };
    for (const Case& c : cases) {
        const PriceRule rule{c.kind, Typed(c.change), c.ending, c.rounding};
        const std::optional<Currency> cost =
            *c.cost ? std::optional<Currency>(Typed(c.cost)) : std::nullopt;
        const PriceChange change = ChangePrice(rule, Typed(c.price), cost, c.qty);
        const std::string got =
            change.Refused() ? change.refusal : Format(Value(change.price), "0.0000");
        EXPECT_EQ(got, c.expected) << c.price << " by " << c.change;
        if (change.Refused()) {
            EXPECT_EQ(change.price, Typed(c.price)) << "a refused price stays as it was";
        }
    }
}

}  // namespace
}  // namespace vym
