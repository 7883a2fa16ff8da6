#include <gtest/gtest.h>

#include "gateway/sql_quote.h"

namespace vym {
namespace {

TEST(SqlQuote, DoublesEveryQuoteAndEndsAtANulSoTextStaysALiteral) {
    EXPECT_EQ(SqlQuote("SKI"), "'SKI'");
    EXPECT_EQ(SqlQuote(""), "''");
    EXPECT_EQ(SqlQuote("O'Neil"), "'O''Neil'");
    EXPECT_EQ(SqlQuote("''"), "''''''");
    EXPECT_EQ(SqlQuote("x'; DELETE vym_item; --"), "'x''; DELETE vym_item; --'");
    EXPECT_EQ(SqlQuote(std::string_view("ab\0' OR 1=1", 11)), "'ab'");
}

}  // namespace
}  // namespace vym
