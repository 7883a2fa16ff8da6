#include <gtest/gtest.h>

#include "base/format.h"

namespace vym {
namespace {

struct FormatCase {
    Value value;
    const char* pattern;
    const char* expected;
};

TEST(Format, NumberPatterns) {
    const FormatCase cases[] = {
        {1234.5, "0.0000", "1234.5000"},
        {0.125, "0.00", "0.13"},  // halves go away from zero
        {1.005, "0.00", "1.01"},  // as the number reads, not its binary neighbour
        {-1.005, "0.00", "-1.01"},
        {-0.001, "0.00", "0.00"},  // no "-0.00"
        {12.3456, "$0.0000", "$12.3456"},
        {-5.0, "$0.0000", "-$5.0000"},
        {0.15, "Percent", "15.00%"},
        {0.12345, "Percent", "12.35%"},
        {-0.5, "Percent", "-50.00%"},
        {1234.5, "Currency", "$1,234.50"},
        {-1234.5, "Currency", "($1,234.50)"},
        {0.0, "Currency", "$0.00"},
        {1234567.891, "Currency", "$1,234,567.89"},
        {5.0, "0.##", "5."},  // the host leaves the point standing
        {5.5, "0.##", "5.5"},
        {5.555, "0.##", "5.56"},
        {5.0, "0.0###", "5.0"},
        {1.23455, "0.0###", "1.2346"},
        {1234.5, "###########0.0###", "1234.5"},
        {0.25, "###########0.0###", "0.25"},
        {1234.5, "($#,###.00)", "$1,234.50"},
        {-1234.5, "($#,###.00)", "($1,234.50)"},
        {0.5, "($#,###.00)", "$.50"},
        {-0.001, "($#,###.00)", "$.00"},
        {-1234567.5, "($#,###.00##)", "($1,234,567.50)"},
        {1234.56789, "($#,###.00##)", "$1,234.5679"},
        {std::int32_t{5}, "0000", "0005"},
        {std::int32_t{12345}, "0000", "12345"},
        {std::int32_t{3}, "00", "03"},
        {2.5, "00", "03"},
        {true, "0.00", "-1.00"},
        {Currency::FromRaw(12345678901234567), "0.0000", "1234567890123.4567"},
        {0.1f, "0.0000000", "0.1000000"},  // a Single reads to 7 digits
        {"1,234.5", "0.00", "1234.50"},
        {"n/a", "0.00", "n/a"},
        {Value::Null(), "0.00", ""},
        {Value(), "Currency", ""},
        {12.5, "", "12.5"},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(Format(c.value, c.pattern), c.expected)
            << c.value.ToString() << " as " << c.pattern;
    }
}

TEST(Format, DatePatterns) {
    const Date afternoon = Date::FromParts(2024, 3, 5, 14, 5, 9);
    const FormatCase cases[] = {
        {afternoon, "mm/dd/yyyy", "03/05/2024"},
        {afternoon, "MM/dd/yyyy", "03/05/2024"},
        {afternoon, "MM/DD/YYYY", "03/05/2024"},
        {afternoon, "mm/dd/yy", "03/05/24"},
        {afternoon, "hh:mm:ss AMPM", "02:05:09 PM"},
        {afternoon, "mm/dd/yy hh:nn ampm", "03/05/24 02:05 pm"},
        {Date::FromParts(2024, 12, 31), "hh:mm:ss AMPM", "12:00:00 AM"},
        {Date::FromParts(2024, 12, 31, 12), "hh:mm:ss AMPM", "12:00:00 PM"},
        {Date::FromParts(1899, 12, 29, 6), "mm/dd/yyyy hh:nn", "12/29/1899 06:00"},
        {"2024-03-05", "mm/dd/yyyy", "03/05/2024"},
        {"later", "mm/dd/yyyy", "later"},
        {45356.0, "mm/dd/yyyy", "03/05/2024"},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(Format(c.value, c.pattern), c.expected)
            << c.value.ToString() << " as " << c.pattern;
    }
}

TEST(Rounding, BothModesOnHalvesAndNonHalves) {
    struct Case {
        double value;
        int places;
        double halfEven;
        double awayFromZero;
    };
    const Case cases[] = {
        {2.5, 0, 2.0, 3.0},        {3.5, 0, 4.0, 4.0},
        {-2.5, 0, -2.0, -3.0},     {1.005, 2, 1.0, 1.01},
        {2.675, 2, 2.68, 2.68},    {2.665, 2, 2.66, 2.67},
        {0.125, 2, 0.12, 0.13},    {1234.56785, 4, 1234.5678, 1234.5679},
        {1.2344, 3, 1.234, 1.234}, {9.995, 2, 10.0, 10.0},
        {-0.0000001, 2, 0.0, 0.0}, {0.5, 0, 0.0, 1.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(RoundHalfEven(c.value, c.places), c.halfEven) << c.value;
        EXPECT_DOUBLE_EQ(RoundHalfAwayFromZero(c.value, c.places), c.awayFromZero) << c.value;
    }
}

}  // namespace
}  // namespace vym
