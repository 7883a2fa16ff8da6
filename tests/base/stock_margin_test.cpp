#include "base/stock_margin.h"

#include <gtest/gtest.h>

#include "base/error.h"

namespace vym {
namespace {

Currency Amount(std::int64_t tenThousandths) {
    return Currency::FromRaw(tenThousandths);
}

TEST(StockMargin, UnitPriceFromMarginRoundsToTheCentHalvesToEven) {
    struct Case {
        std::int64_t cost, margin, price;  // in ten-thousandths
    };
    for (const Case& c : {
             Case{100000, 5000, 200000},    // 10 at 50 % is 20.00
             Case{10000, 6800, 31200},      // 1 / 0.32 = 3.125 goes down to 3.12
             Case{30000, 6800, 93800},      // 3 / 0.32 = 9.375 goes up to 9.38
             Case{100000, 10000, 0},        // a margin of 100 % gives no price
             Case{100000, 15000, -200000},  // above 100 % the price turns negative
             Case{0, 3000, 0},
         }) {
        EXPECT_EQ(UnitPriceFromMargin(Amount(c.cost), Amount(c.margin)), Amount(c.price))
            << c.cost << " at " << c.margin;
    }
}

TEST(StockMargin, MarginFromCostRoundsToFourPlacesHalvesToEven) {
    struct Case {
        std::int64_t cost, price, margin;
    };
    for (const Case& c : {
             Case{100000, 125000, 2000},   // 10 sold at 12.50 is 20 %
             Case{79996, 80000, 0},        // 0.00005 goes down to 0
             Case{79988, 80000, 2},        // 0.00015 goes up to 0.0002
             Case{100000, 0, 0},           // no price, no margin
             Case{100000, -50000, 30000},  // a negative price still has a margin
         }) {
        EXPECT_EQ(MarginFromCost(Amount(c.cost), Amount(c.price)), Amount(c.margin))
            << c.cost << " sold at " << c.price;
    }
}

TEST(StockMargin, ATypedPercentageKeepsFourPlacesOfTheFraction) {
    EXPECT_EQ(MarginFromPercent(Amount(500000)), Amount(5000));  // 50 %
    EXPECT_EQ(MarginFromPercent(Amount(333350)), Amount(3334));  // 33.335 % to even
    EXPECT_EQ(MarginFromPercent(Amount(333250)), Amount(3332));
    EXPECT_EQ(MarginFromPercent(Amount(-1000000)), Amount(-10000));  // -100 %
}

TEST(StockMargin, APriceCurrencyCannotHoldIsAnOverflow) {
    EXPECT_THROW(UnitPriceFromMargin(Amount(900000000000000000), Amount(9999)), Error);
}

}  // namespace
}  // namespace vym
