#include <gtest/gtest.h>

#include "base/error.h"
#include "base/value.h"
#include "support/core/fields.h"

namespace vym {
namespace {

// Runs `f` and returns the number of the vym::Error it throws (0 when none).
template <class F>
std::int32_t ErrorNumberOf(F f) {
    try {
        f();
    } catch (const Error& e) {
        return e.Number();
    }
    return 0;
}

TEST(Value, IntegerConversionsRoundHalfToEven) {
    EXPECT_EQ(Value(2.5).ToLong(), 2);
    EXPECT_EQ(Value(3.5).ToLong(), 4);
    EXPECT_EQ(Value(-2.5).ToInteger(), -2);
    EXPECT_EQ(Value(2.51).ToByte(), 3);
    EXPECT_EQ(Value("2.5").ToLong(), 2);
    EXPECT_EQ(Value(Currency::FromRaw(35000)).ToLong(), 4);
}

TEST(Value, OutOfRangeIsOverflowNeverAWrap) {
    EXPECT_EQ(ErrorNumberOf([] { Value(std::int32_t{70000}).ToInteger(); }), errc::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { Value(std::int32_t{256}).ToByte(); }), errc::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { Value(std::int32_t{-1}).ToByte(); }), errc::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { Value(2147483647.5).ToLong(); }), errc::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { Value(1e300).ToSingle(); }), errc::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { Value(1e16).ToCurrency(); }), errc::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { Value(1e10).ToDate(); }), errc::kOverflow);
    EXPECT_EQ(Value(32767.4).ToInteger(), 32767);
    EXPECT_EQ(Value(-2147483648.0).ToLong(), -2147483647 - 1);
}

TEST(Value, NullAndTextErrors) {
    try {
        Value::Null().ToLong();
        FAIL() << "Null converted";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errc::kInvalidUseOfNull);
        EXPECT_EQ(e.Description(), "Invalid use of Null");
    }
    EXPECT_EQ(ErrorNumberOf([] { Value::Null().ToString(); }), errc::kInvalidUseOfNull);
    EXPECT_EQ(ErrorNumberOf([] { Value("12A").ToDouble(); }), errc::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Value("soon").ToDate(); }), errc::kTypeMismatch);
    EXPECT_EQ(ErrorNumberOf([] { Value(Bytes{1, 2}).ToLong(); }), errc::kTypeMismatch);
    EXPECT_EQ(Value().ToLong(), 0);  // Empty reads as 0
}

TEST(Value, BooleansFollowTheHost) {
    EXPECT_EQ(Value(true).ToLong(), -1);
    EXPECT_EQ(Value(true).ToString(), "True");
    EXPECT_EQ(Value(false).ToString(), "False");
    EXPECT_TRUE(Value("True").ToBool());
    EXPECT_FALSE(Value("false").ToBool());
    EXPECT_TRUE(Value("-1").ToBool());
    EXPECT_EQ(Value("True").ToInteger(), -1);
    EXPECT_TRUE(Value(0.5).ToBool());
}

TEST(Value, NumbersAsText) {
    EXPECT_EQ(Value(12.5).ToString(), "12.5");
    EXPECT_EQ(Value(0.1 + 0.2).ToString(), "0.3");
    EXPECT_EQ(Value(-1.0).ToString(), "-1");
    EXPECT_EQ(Value(123456789012345.0).ToString(), "123456789012345");
    EXPECT_EQ(Value(1e15).ToString(), "1E+15");
    EXPECT_EQ(Value(0.0001).ToString(), "0.0001");
    EXPECT_EQ(Value(-0.000015).ToString(), "-1.5E-05");
    EXPECT_EQ(Value(0.1f).ToString(), "0.1");
    EXPECT_EQ(Value(std::uint8_t{200}).ToString(), "200");
    EXPECT_EQ(Value(Currency::FromRaw(125000)).ToString(), "12.5");
    EXPECT_EQ(Value(Currency::FromRaw(-1)).ToString(), "-0.0001");
    EXPECT_EQ(Value(Currency::FromRaw(INT64_MAX)).ToString(), "922337203685477.5807");
    EXPECT_EQ(Value().ToString(), "");
}

TEST(Value, FromInt64KeepsLongWhenItFits) {
    EXPECT_EQ(Value::FromInt64(5).Type(), VarType::Long);
    EXPECT_EQ(Value::FromInt64(3000000000LL), Value(3e9));
}

TEST(Value, NullHelpers) {
    EXPECT_EQ(NullToZero(Value::Null()), Value(std::int16_t{0}));
    EXPECT_EQ(NullToZero(Value(7.5)), Value(7.5));
    EXPECT_EQ(NullToEmpty(Value::Null()), "");
    EXPECT_EQ(NullToEmpty(Value(std::int32_t{42})), "42");
    EXPECT_EQ(ValueOrDefault(Value::Null(), Value("x")), Value("x"));
    EXPECT_EQ(ValueOrDefault(Value(""), Value("x")), Value(""));
}

TEST(Currency, FromDoubleRoundsHalfToEvenOnTheDecimalValue) {
    EXPECT_EQ(Currency::FromDouble(1.23455).Raw(), 12346);
    EXPECT_EQ(Currency::FromDouble(1.23445).Raw(), 12344);
    EXPECT_EQ(Currency::FromDouble(-1.23455).Raw(), -12346);
    EXPECT_EQ(Currency::FromDouble(0.00005).Raw(), 0);
    EXPECT_EQ(Currency::FromDouble(0.00015).Raw(), 2);
    EXPECT_EQ(Currency::FromDouble(19.99).Raw(), 199900);
    EXPECT_EQ(Currency::FromDouble(-922337203685477.0).Raw(), -9223372036854770000);
    EXPECT_EQ(ErrorNumberOf([] { Currency::FromRaw(INT64_MAX) + Currency::FromRaw(1); }),
              errc::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { -Currency::FromRaw(INT64_MIN); }), errc::kOverflow);
}

TEST(Date, SerialsCountFromTheZeroDate) {
    EXPECT_EQ(Date::FromParts(1899, 12, 30).Serial(), 0.0);
    EXPECT_EQ(Date::FromParts(1900, 1, 1).Serial(), 2.0);
    EXPECT_EQ(Date::FromParts(2000, 1, 1, 12).Serial(), 36526.5);
    // Before the zero date the days count back but the time runs forward.
    const Date early = Date::FromParts(1899, 12, 29, 6);
    EXPECT_EQ(test::Fields(early.Serial(), early.Day(), early.Hour()), "-1.25|29|6");
    const Date d(45356.5868);  // 3/5/2024 14:05:00 to the second
    EXPECT_EQ(test::Fields(d.Year(), d.Month(), d.Day()), "2024|3|5");
    EXPECT_EQ(d.Weekday(), 3);  // Tuesday
    EXPECT_EQ(Date(0).Weekday(), 7);
    EXPECT_EQ(ErrorNumberOf([] { Date::FromParts(2023, 2, 29); }), errc::kInvalidProcedureCall);
}

TEST(Date, TimeRoundsToTheSecondAndCarriesIntoTheNextDay) {
    const Date late(1.0 + 86399.6 / 86400.0);
    EXPECT_EQ(late.Day(), 1);  // 1/1/1900, the day after the serial's whole part
    EXPECT_EQ(late.Hour(), 0);
    EXPECT_EQ(late.DateOnly().Serial(), 2.0);
}

TEST(Date, TextForms) {
    EXPECT_EQ(Value(Date::FromParts(2024, 3, 5, 14, 5, 9)).ToString(), "3/5/2024 2:05:09 PM");
    EXPECT_EQ(Value(Date::FromParts(2024, 3, 5)).ToString(), "3/5/2024");
    EXPECT_EQ(Value(Date(0.5)).ToString(), "12:00:00 PM");
    EXPECT_EQ(Value(Date(-1.25)).ToString(), "12/29/1899 6:00:00 AM");
    EXPECT_EQ(Date::FromParts(2024, 3, 5, 7, 8, 9).ToIso(), "2024-03-05 07:08:09");
    EXPECT_EQ(Date::FromParts(2024, 3, 5).ToIso(), "2024-03-05");

    Date parsed;
    ASSERT_TRUE(Date::ParseIso("2024-03-05T07:08:09.123", parsed));
    EXPECT_EQ(parsed, Date::FromParts(2024, 3, 5, 7, 8, 9));
    EXPECT_FALSE(Date::ParseIso("2024-02-30", parsed));
    EXPECT_FALSE(Date::ParseIso("2024-03-05 7:08", parsed));
    ASSERT_TRUE(Date::ParseIso("2024-03-05 07:08", parsed));
    EXPECT_EQ(parsed, Date::FromParts(2024, 3, 5, 7, 8));
    for (const char* bad :
         {"2024-03-0", "2024-3-05", "2024-03-05 ", "2024-03-05x",
          "2024-03-05 07:08:", "2024-03-05 07:08:09.", "2024-03-05 07:08:09.1234567890",
          "2024-03-05 07:08:09Z", "2024-03-05 24:00:00"}) {
        EXPECT_FALSE(Date::ParseIso(bad, parsed)) << bad;
    }
    ASSERT_TRUE(Date::Parse(" 3/5/24 2:05 PM ", parsed));
    EXPECT_EQ(parsed, Date::FromParts(2024, 3, 5, 14, 5));
    ASSERT_TRUE(Date::Parse("12/31/45", parsed));
    EXPECT_EQ(parsed.Year(), 1945);
    ASSERT_TRUE(Date::Parse("12:30:15 AM", parsed));
    EXPECT_EQ(parsed, Date::FromParts(1899, 12, 30, 0, 30, 15));
    EXPECT_FALSE(Date::Parse("13/1/2024", parsed));
    EXPECT_FALSE(Date::Parse("1/1/2024 13:00 PM", parsed));
    EXPECT_EQ(Value("2024-03-05").ToDate(), Date::FromParts(2024, 3, 5));
}

// A share of an amount is exact to the fourth place and rounds a true half
// to even, whatever the signs.
TEST(CurrencyMulDiv, IsExactAndRoundsHalvesToEven) {
    auto c = [](std::int64_t raw) { return Currency::FromRaw(raw); };
    struct Case {
        std::int64_t amount, factor, divisor, expected;
    };
    for (const Case& k : {
             Case{200000, 150000, 1000000, 30000},     // 15 % of 20.00 is 3
             Case{1299900, 150000, 1000000, 194985},   // 15 % of 129.99 is 19.4985
             Case{5, 50000, 100000, 2},                // 0.00025 -> 0.0002 (even)
             Case{15, 50000, 100000, 8},               // 0.00075 -> 0.0008 (even)
             Case{-15, 50000, 100000, -8},             // and the same below 0
             Case{10000, 10000, 30000, 3333},          // a third
             Case{20000, 1000000, 30000, 666667},      // 2 x 100 / 3
             Case{-200000, 1000000, 300000, -666667},  // a negative discount
         }) {
        EXPECT_EQ(c(k.amount).MulDiv(c(k.factor), c(k.divisor)).Raw(), k.expected)
            << k.amount << " x " << k.factor << " / " << k.divisor;
    }
    EXPECT_THROW(c(1).MulDiv(c(1), c(0)), Error);
    EXPECT_THROW(c(INT64_MAX).MulDiv(c(20000), c(10000)), Error);
}

}  // namespace
}  // namespace vym
