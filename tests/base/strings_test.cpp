#include <gtest/gtest.h>

#include "base/error.h"
#include "base/strings.h"

namespace vym {
namespace {

TEST(Strings, LetterAndDigitTestsTakeOneAsciiCharacter) {
    EXPECT_TRUE(IsLetter("a"));
    EXPECT_TRUE(IsLetter("Z"));
    EXPECT_FALSE(IsLetter("1"));
    EXPECT_FALSE(IsLetter(""));
    EXPECT_FALSE(IsLetter("ab"));
    EXPECT_FALSE(IsLetter("\xc3\xa9"));  // é is not an ASCII letter
    EXPECT_TRUE(IsDigit("7"));
    EXPECT_FALSE(IsDigit("x"));
    EXPECT_FALSE(IsDigit(""));
}

TEST(Strings, Tokens) {
    EXPECT_EQ(TokenCount(""), 0);
    EXPECT_EQ(TokenCount("abc"), 1);
    EXPECT_EQ(TokenCount("a,b,,c"), 4);
    EXPECT_EQ(TokenCount("a||b", "||"), 2);
    EXPECT_EQ(Token(" a , b ,c", 2), "b");
    EXPECT_EQ(Token("a,b,,c", 3), "");
    EXPECT_EQ(Token("a,b,,c", 4), "c");
    EXPECT_EQ(Token("a,b", 3), "");
    EXPECT_EQ(Token("a,b", 0), "");
    EXPECT_EQ(Token("x||y||z", 3, "||"), "z");
}

TEST(Strings, CharacterFilterFirstFlagDecides) {
    EXPECT_EQ(FilterCharacters("Ab-c (d)", false, false, true), "-()");
    EXPECT_EQ(FilterCharacters("Ab-c (d)", false, false, false), "Ab-c (d)");
    EXPECT_EQ(FilterCharacters("Ab-c (d)", false, true, false), "Abc d");
    EXPECT_EQ(FilterCharacters("$1,234.50", true, false, false), "1234.50");
    EXPECT_EQ(FilterCharacters("(555) 123-4567.8", true, true, true), "5551234567.8");
    EXPECT_EQ(FilterCharacters("(555) 123-4567.8", false, false, true), "(555)123-45678");
    EXPECT_EQ(FilterCharacters("O'Neil & Sons #1 <b>", false, false, false), "ONeil  Sons 1 b");
    EXPECT_EQ(FilterCharacters(" @-_.,!?$%*();:", false, false, false), " @-_.,!?$%*();:");
}

TEST(Strings, ProperCase) {
    EXPECT_EQ(ProperCase("hELLO wORLD"), "Hello World");
    EXPECT_EQ(ProperCase("  two\tspaces"), "  Two\tSpaces");
    EXPECT_EQ(ProperCase("o'neil"), "O'neil");
    EXPECT_EQ(ProperCase(""), "");
}

TEST(Strings, ReplaceIgnoresCase) {
    EXPECT_EQ(Strings::Replace("Hello hello HELLO!", "hello", "bye"), "bye bye bye!");
    // The rest after each occurrence is searched, never the replacement itself.
    EXPECT_EQ(Strings::Replace("aa", "a", "aa"), "aaaa");
    EXPECT_EQ(Strings::Replace("abc", "abc", ""), "");
}

TEST(Strings, ReplaceErrors) {
    auto expectError = [](std::string_view target, std::string_view search, std::int32_t number,
                          const char* description) {
        try {
            Strings::Replace(target, search, "x");
            ADD_FAILURE() << "no error for \"" << target << "\", \"" << search << "\"";
        } catch (const Error& e) {
            EXPECT_EQ(e.Number(), number);
            EXPECT_EQ(e.Source(), "Strings.Replace");
            EXPECT_EQ(e.Description(), description);
        }
    };
    const auto empty = static_cast<std::int32_t>(0x8004270F);
    const auto notFound = static_cast<std::int32_t>(0x8004270E);
    expectError("", "a", empty, "One or more required parameters contained an empty string.");
    expectError("abc", "", empty, "One or more required parameters contained an empty string.");
    expectError("abc", "d", notFound, "Search text not found in target.");
}

}  // namespace
}  // namespace vym
