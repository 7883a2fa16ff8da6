#include "base/print_format_fields.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace vym {
namespace {

// The printing programs look fields up by these exact names: a lost, doubled
// or reordered entry shows as a wrong count, a duplicate or a wrong neighbour.
TEST(PrintFormatFields, EachTypeListsItsFieldsOnceInTheDesignersOrder) {
    struct Case {
        const char* type;
        std::size_t count;
        const char* first;
        const char* last;
    };
    for (const Case& c : {Case{"STOCK", 42, "User.1", "Package.Price"},
                          Case{"ITEM", 70, "Item.Function_ID", "Package.Price"},
                          Case{"CLUB", 38, "Customer.Customer_No", "Package.Price"}}) {
        const auto& fields = PrintFormatFields(c.type);
        ASSERT_EQ(fields.size(), c.count) << c.type;
        EXPECT_EQ(fields.front(), c.first) << c.type;
        EXPECT_EQ(fields.back(), c.last) << c.type;
        EXPECT_EQ(std::set<std::string>(fields.begin(), fields.end()).size(), c.count) << c.type;
    }
    EXPECT_TRUE(PrintFormatFields("stock").empty());
    EXPECT_TRUE(PrintFormatFields("").empty());
}

TEST(PrintFormatFields, ProductsAndCardsShareTheCustomerFieldsAtTheirPlaces) {
    const auto& item = PrintFormatFields("ITEM");
    const auto& club = PrintFormatFields("CLUB");
    // Products: eleven item fields, then the 22 customer fields; cards begin with them.
    ASSERT_TRUE(std::equal(club.begin(), club.begin() + 22, item.begin() + 11));
    EXPECT_EQ(item[11], "Customer.Customer_No");
    EXPECT_EQ(item[33], "InvoiceLine.Register_Id");
    EXPECT_EQ(club[22], "Club.Club_Id");
    EXPECT_EQ(club[31], "ClubMemeberTypeGym.Is_Allowed");
}

}  // namespace
}  // namespace vym
