#include <gtest/gtest.h>

#include "base/format.h"

namespace vym {
namespace {

TEST(IsNumeric, AcceptsNumbersAsUsersTypeThem) {
    for (const char* text : {"12", " 12 ", "-12", "+12", "12.5", ".5", "5.", "1,234.50", "$12",
                             "-$12", "$-12", "$1,234", "0"}) {
        EXPECT_TRUE(IsNumeric(text)) << text;
    }
}

TEST(IsNumeric, RejectsEverythingElse) {
    for (const char* text : {"12A", "", "   ", "1.2.3", "--1", "$", "-", ".", "1,,234", ",123",
                             "123,", "1 2", "$$5", "1.234,5", "1e5", "- 1"}) {
        EXPECT_FALSE(IsNumeric(text)) << text;
    }
}

TEST(IsNumeric, ParsesTheValue) {
    EXPECT_EQ(ParseNumber(" 1,234.50 "), 1234.5);
    EXPECT_EQ(ParseNumber("-$12.25"), -12.25);
    EXPECT_EQ(ParseNumber(".5"), 0.5);
    EXPECT_EQ(ParseNumber("12A"), std::nullopt);
}

TEST(IsNumeric, Values) {
    EXPECT_TRUE(IsNumeric(Value(5.0)));
    EXPECT_TRUE(IsNumeric(Value(true)));
    EXPECT_TRUE(IsNumeric(Value("$5")));
    EXPECT_FALSE(IsNumeric(Value("abc")));
    EXPECT_FALSE(IsNumeric(Value::Null()));
    EXPECT_FALSE(IsNumeric(Value(Date(1.0))));
}

}  // namespace
}  // namespace vym
