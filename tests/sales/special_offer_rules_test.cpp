#include "sales/special_offer_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace vym::special_offer {
namespace {

TEST(SpecialOfferRules, DetailDiscountsAreReadAsTypedAndCheckedInOrder) {
    struct Case {
        DetailEntry entry;
        const char* title;  // "" when accepted
        double percent;
        std::int64_t fixedCents;
    };
    for (const Case& c : {
             Case{{"10%", "", "", false}, "", 0.1, 0},
             Case{{".50", "", "", false}, "", 0.005, 0},
             Case{{"", "$20", "1,250", false}, "", 0.0, 2000},
             Case{{"", "1,250", "", false}, "", 0.0, 125000},
             Case{{"-", "", "", false}, "Valid Discount Required", 0, 0},
             Case{{"", "12A", "", false}, "Valid Discount Required", 0, 0},
             Case{{"", "", "", false}, "Discount Required", 0, 0},
             Case{{"10", "5", "", false}, "Invalid Discount Type", 0, 0},
             Case{{"0%", "", "", false}, "Discount Required", 0, 0},
             Case{{"", "5", "lots", false}, "Valid Amount Required", 0, 0},
             // An exclusion ignores what its disabled boxes still hold.
             Case{{"abc", "5", "", true}, "", 0.0, 0},
         }) {
        const DetailCheck check = CheckDetail(c.entry);
        const std::string label = c.entry.percent + "|" + c.entry.fixed + "|" + c.entry.minimum;
        EXPECT_EQ(check.refusal ? check.refusal->title : "", c.title) << label;
        if (!check.refusal) {
            EXPECT_DOUBLE_EQ(check.discount.percent, c.percent) << label;
            EXPECT_EQ(check.discount.fixed.Raw(), c.fixedCents * 100) << label;
        }
    }
    EXPECT_EQ(CheckDetail({"", "$20", "$1,250", false}).discount.minimum,
              Currency::FromRaw(1250 * Currency::kScale));
}

TEST(SpecialOfferRules, CodesAndDescriptionsStayWithinFiftyPlainCharacters) {
    EXPECT_FALSE(CheckOfferText(std::string(50, 'C'), true));
    EXPECT_EQ(CheckOfferText(std::string(51, 'C'), true)->title, "Special Offer Code Max of 50");
    EXPECT_FALSE(CheckOfferText(std::string(51, 'd'), false));
    for (const char* text : {"A&B", "<NEW>", "10%"}) {
        EXPECT_EQ(CheckOfferText(text, false)->title, "InValid Characters") << text;
    }
    EXPECT_EQ(CutDescription(std::string(60, 'x')), std::string(50, 'x'));
    EXPECT_FALSE(CutDescription(std::string(50, 'x')));
    // Characters, not bytes: 49 letters and an e-acute fit.
    std::string accented(49, 'x');
    accented += "\xC3\xA9";
    EXPECT_FALSE(CutDescription(accented));
}

TEST(SpecialOfferRules, NewOffersRunForOneMonth) {
    struct Case {
        Date from, to;
    };
    for (const Case& c : {
             Case{Date::FromParts(2026, 1, 31), Date::FromParts(2026, 2, 28)},
             Case{Date::FromParts(2026, 12, 15), Date::FromParts(2027, 1, 15)},
             Case{Date::FromParts(2028, 1, 30), Date::FromParts(2028, 2, 29)},
         }) {
        EXPECT_EQ(OneMonthOn(c.from), c.to) << c.from.ToIso();
    }
}

TEST(SpecialOfferRules, BreakdownTotalsAndDocumentAreExact) {
    const std::vector<BreakdownRow> rows = {{100, 4, "$2.50"}, {200, 3, "0.10"}, {300, 1, ""}};
    EXPECT_EQ(BreakdownTotal(rows), Currency::FromRaw(103000));
    EXPECT_EQ(BreakdownTotal({{100, 1, "x"}}), std::nullopt);
    EXPECT_EQ(BreakdownDocument(rows),
              "<ROOT>\r\n"
              "<vym_special_offer_detail_package item_no=\"100\" fixed_discount=\"2.50\"/>\r\n"
              "<vym_special_offer_detail_package item_no=\"200\" fixed_discount=\"0.10\"/>\r\n"
              "<vym_special_offer_detail_package item_no=\"300\" fixed_discount=\"0.00\"/>\r\n"
              "</ROOT>");
}

}  // namespace
}  // namespace vym::special_offer
