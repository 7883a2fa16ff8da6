#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "base/error.h"
#include "base/format.h"

namespace vym {
namespace {

TEST(IsNumeric, AcceptsNumbersAsUsersTypeThemAndNothingElse) {
    for (const char* text : {"12", " 12 ", "-12", "+12", "12.5", ".5", "5.", "1,234.50", "$12",
                             "-$12", "$-12", "$1,234", "0"}) {
        EXPECT_TRUE(IsNumeric(text)) << text;
    }
    for (const char* text : {"12A", "", "   ", "1.2.3", "--1", "$", "-", ".", "1,,234", ",123",
                             "123,", "1 2", "$$5", "1.234,5", "1e5", "- 1"}) {
        EXPECT_FALSE(IsNumeric(text)) << text;
    }
    EXPECT_TRUE(IsNumeric(Value(5.0)));
    EXPECT_TRUE(IsNumeric(Value(true)));
    EXPECT_TRUE(IsNumeric(Value("$5")));
    EXPECT_FALSE(IsNumeric(Value("abc")));
    EXPECT_FALSE(IsNumeric(Value::Null()));
    EXPECT_FALSE(IsNumeric(Value(Date(1.0))));
}

TEST(IsNumeric, ParsesTheValue) {
    EXPECT_EQ(ParseNumber(" 1,234.50 "), 1234.5);
    EXPECT_EQ(ParseNumber("-$12.25"), -12.25);
    EXPECT_EQ(ParseNumber(".5"), 0.5);
    EXPECT_EQ(ParseNumber("12A"), std::nullopt);
}

TEST(ParseCurrency, ReadsTypedAmountsExactlyAndRoundsHalvesToEven) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> raw;
    };
    const Case cases[] = {
        {".50", 5000},
        {"1,250", 12500000},
        {"$20", 200000},
        {"-$2.5", -25000},
        {"0.1", 1000},
        {"1.23455", 12346},
        {"1.23445", 12344},
        {"1.234450001", 12345},
        {"-1.23455", -12346},
        {"922337203685477.5807", INT64_MAX},
        {"922337203685477.5808", std::nullopt},
        {"-", std::nullopt},
        {"", std::nullopt},
        {"12A", std::nullopt},
    };
    for (const Case& c : cases) {
        const auto amount = ParseCurrency(c.text);
        ASSERT_EQ(amount.has_value(), c.raw.has_value()) << c.text;
        if (amount) {
            EXPECT_EQ(amount->Raw(), *c.raw) << c.text;
        }
    }
}

TEST(ParseCurrency, QuantitiesMultiplyAndDivideExactly) {
    EXPECT_EQ(*ParseCurrency("2.5") * 4, *ParseCurrency("10"));
    EXPECT_EQ(ParseCurrency("10")->DividedBy(3), *ParseCurrency("3.3333"));
    EXPECT_EQ(ParseCurrency("0.0005")->DividedBy(2), *ParseCurrency("0.0002")) << "half to even";
    EXPECT_EQ(ParseCurrency("0.0015")->DividedBy(2), *ParseCurrency("0.0008"));
    EXPECT_EQ(ParseCurrency("-0.0015")->DividedBy(2), *ParseCurrency("-0.0008"));
    EXPECT_EQ(ParseCurrency("20")->DividedBy(-8), *ParseCurrency("-2.5"));
    EXPECT_THROW(Currency::FromRaw(INT64_MAX) * 2, Error);
    EXPECT_THROW(ParseCurrency("1")->DividedBy(0), Error);
}

}  // namespace
}  // namespace vym
