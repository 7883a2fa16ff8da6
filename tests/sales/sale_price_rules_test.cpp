#include "sales/sale_price_rules.h"

#include <gtest/gtest.h>

namespace vym::sale_price {
namespace {

Currency M(double amount) {
    return Currency::FromDouble(amount);
}

TEST(SalePriceRules, ThePricingCommandsAreExact) {
    struct Case {
        const char* what;
        Line line;
        Line expected;
    };
    for (const Case& c : {
             Case{"15 % of 20.00", ApplyPercent(M(20), M(15)), {M(17), M(15)}},
             Case{"12.5 % of 129.99", ApplyPercent(M(129.99), M(12.5)), {M(113.7412), M(12.5)}},
             Case{"flat above the price", ApplyFlat(M(20), M(25)), {M(0), M(100)}},
             Case{"flat of 0.50", ApplyFlat(M(20), M(0.5)), {M(19.5), M(2.5)}},
             Case{"price above the original", ApplyPrice(M(20), M(21)), {M(21), M(-5)}},
             Case{"negative price", ApplyPrice(M(20), M(-3)), {M(0), M(100)}},
             Case{"a third off", ApplyPrice(M(3), M(2)), {M(2), M(33.3333)}},
             Case{"original 0, flat", ApplyFlat(M(0), M(5)), {M(0), M(0)}},
             Case{"original 0, price", ApplyPrice(M(0), M(5)), {M(5), M(0)}},
             Case{"original 0, percent", ApplyPercent(M(0), M(15)), {M(0), M(0)}},
             Case{"added under a flat amount", AddedItem(M(20), M(0), M(25)), {M(-5), M(125)}},
             Case{"added under a percentage", AddedItem(M(20), M(15), M(25)), {M(17), M(15)}},
         }) {
        EXPECT_EQ(c.line, c.expected)
            << c.what << ": " << c.line.sale.ToDouble() << " / " << c.line.disc.ToDouble();
    }
}

TEST(SalePriceRules, TypedDiscountsAreReadAsUsersTypeThem) {
    struct Case {
        const char* typed;
        bool percent;
        const char* message;  // "" when accepted
    };
    for (const Case& c : {
             Case{"", true, ""},
             Case{".50", false, ""},
             Case{"1,250", false, ""},
             Case{"$20", false, ""},
             Case{"99.99", true, ""},
             Case{"100", true, "The percentage must be less than 100."},
             Case{"-", true, "The percentage \"-\" is not a number."},
             Case{"-5", false, "The amount can not be negative."},
             Case{"12A", false, "The amount \"12A\" is not a number."},
         }) {
        const Verdict verdict = CheckBox({c.typed, "txtBox", "Invalid", c.percent});
        EXPECT_EQ(verdict ? verdict->message : "", c.message) << c.typed;
    }
    EXPECT_EQ(ReadAmount("1,250"), M(1250));
    EXPECT_EQ(ReadAmount("$20"), M(20));

    const Verdict both = CheckDeptLine(3, "20", "5", "fgDept", 7, 8);
    ASSERT_TRUE(both);
    EXPECT_EQ(both->message,
              "A sale line takes a percentage or a flat amount discount, not both (row 3).");
    EXPECT_EQ(both->column, 8);
    EXPECT_FALSE(CheckDeptLine(3, "20", "", "fgDept", 7, 8));
    EXPECT_TRUE(CheckDates(Date::FromParts(2026, 3, 2), Date::FromParts(2026, 3, 1), "dtpEnd"));
    EXPECT_FALSE(
        CheckDates(Date::FromParts(2026, 3, 1, 15), Date::FromParts(2026, 3, 1, 9), "dtpEnd"));
}

}  // namespace
}  // namespace vym::sale_price
