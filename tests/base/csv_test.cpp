#include <gtest/gtest.h>

#include "base/csv.h"

namespace vym::csv {
namespace {

TEST(Csv, RecordsQuoteOnlyWhatNeedsIt) {
    const struct {
        std::vector<std::string> fields;
        std::string record;
    } cases[] = {
        {{"A-100", "Lift ticket", "20.00"}, "A-100,Lift ticket,20.00\r\n"},
        {{"1,250", "say \"hi\""}, "\"1,250\",\"say \"\"hi\"\"\"\r\n"},
        {{"two\r\nlines", ""}, "\"two\r\nlines\",\r\n"},
        {{""}, "\r\n"},
        {{"=cmd|' /C calc'!A0", "x"}, "'=cmd|' /C calc'!A0,x\r\n"},
        {{"=1+2,3"}, "\"'=1+2,3\"\r\n"},
    };
    for (const auto& c : cases) {
        std::string out;
        AppendRecord(out, c.fields);
        EXPECT_EQ(out, c.record) << c.fields.front();
    }
}

TEST(Csv, FormulasAreEscapedAndComeBackExactly) {
    const struct {
        std::string field;
        bool escaped;
    } cases[] = {
        {"=SUM(A1:A9)", true}, {"+cmd", true},     {"-2+3", true},        {"@IMPORT", true},
        {"\tx", true},         {"\rx", true},      {"'=1", true},         {"''@a", true},
        {"-5.00", false},      {"+1,250", false},  {"-", false},          {"", false},
        {"'", false},          {"'quoted", false}, {"Ski-school", false}, {"20%", false},
    };
    for (const auto& c : cases) {
        const std::string written = EscapeFormula(c.field);
        EXPECT_EQ(written != c.field, c.escaped) << c.field;
        if (c.escaped) {
            EXPECT_EQ(written, "'" + c.field);
        }
        EXPECT_EQ(UnescapeFormula(written), c.field) << c.field;
    }
}

}  // namespace
}  // namespace vym::csv
