#include "model/package_charge.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "base/value.h"

namespace vym {
namespace {

Currency Amount(const char* text) {
    return ParseAmount(text).value();
}

TEST(PackageCharge, AmountsAreReadAsTypedAndExactly) {
    struct Case {
        const char* typed;
        std::optional<std::int64_t> raw;
    };
    for (const Case& c :
         {Case{".50", 5000}, Case{"1,250", 12500000}, Case{"$20", 200000}, Case{"33.3333", 333333},
          Case{"0.0001", 1}, Case{"-", std::nullopt}, Case{"", std::nullopt},
          Case{"1.2.3", std::nullopt}, Case{"abc", std::nullopt}}) {
        const auto amount = ParseAmount(c.typed);
        ASSERT_EQ(amount.has_value(), c.raw.has_value()) << c.typed;
        if (amount) {
            EXPECT_EQ(amount->Raw(), *c.raw) << c.typed;
        }
    }
}

TEST(PackageCharge, TotalsCountZeroQuantitiesAsTheRegisterDoes) {
    struct Case {
        std::vector<PackagePriceLine> lines;
        const char* total;
        const char* charged;
        bool warned;
    };
    const Currency third = Amount("33.3333");
    for (const Case& c : std::vector<Case>{
             // Shown as 100.00, charged 3 x 33.33.
             {{{third, 1, 1}, {third, 1, 1}, {third, 1, 1}}, "99.9999", "99.99", true},
             // Units 0 count as 1 in both.
             {{{Amount("10.005"), 2, 0}}, "20.01", "20.02", true},
             // Package quantity 0: no sub total, but the line is still charged once.
             {{{Amount("12.50"), 0, 1}, {Amount("7.50"), 1, 1}}, "7.5", "20", true},
             // Rounded line by line, halves away from zero: 3 x 1.6667 = 5.0001 -> 5.00.
             {{{Amount("1.6667"), 2, 3}}, "10.0002", "10", false},
             {{{Amount("0.125"), 4, 1}}, "0.5", "0.52", true},
             {{{Amount("1960"), 1, 1}}, "1960", "1960", false},
         }) {
        const PackageTotals totals = TotalsOf(c.lines);
        EXPECT_EQ(Value(totals.total).ToString(), c.total) << c.total;
        EXPECT_EQ(Value(totals.charged).ToString(), c.charged) << c.total;
        EXPECT_EQ(ChargeDiffers(totals), c.warned) << c.total;
    }
}

// Whatever the package, either the customer is charged exactly the package
// price as shown, or the warning is given. The charge is worked out here in
// whole cents, independently of the screen's currency arithmetic.
TEST(PackageCharge, TheChargeEqualsThePriceShownOrTheWarningIsGiven) {
    std::mt19937_64 random(20261206);
    std::uniform_int_distribution<int> lineCount(1, 12);
    std::uniform_int_distribution<int> qty(1, 20);
    std::uniform_int_distribution<std::int64_t> raw(0, 2'500'000);  // up to $250.0000
    std::uniform_int_distribution<int> roundPrice(0, 3);
    int warnings = 0;
    for (int package = 0; package < 10'000; ++package) {
        std::vector<PackagePriceLine> lines(lineCount(random));
        std::int64_t totalRaw = 0;
        std::int64_t chargedCents = 0;
        for (PackagePriceLine& line : lines) {
            std::int64_t price = raw(random);
            if (roundPrice(random) == 0) {
                price -= price % 100;  // a price in whole cents, as most are
            }
            line = {Currency::FromRaw(price), qty(random), qty(random)};
            const std::int64_t units = price * line.unitQty;
            totalRaw += units * line.pkgQty;
            chargedCents += line.pkgQty * (units / 100 + (units % 100 >= 50 ? 1 : 0));
        }
        const std::int64_t shownCents = totalRaw / 100 + (totalRaw % 100 >= 50 ? 1 : 0);
        const PackageTotals totals = TotalsOf(lines);
        ASSERT_EQ(totals.total.Raw(), totalRaw) << package;
        ASSERT_EQ(totals.charged.Raw(), chargedCents * 100) << package;
        ASSERT_EQ(ChargeDiffers(totals), shownCents != chargedCents) << package;
        warnings += ChargeDiffers(totals) ? 1 : 0;
    }
    // Both outcomes were drawn.
    EXPECT_GT(warnings, 1000);
    EXPECT_LT(warnings, 10'000);
}

}  // namespace
}  // namespace vym
