#include "packages/package_price_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vym {
namespace {

TEST(PackagePriceRules, ALineIsCheckedBeforeAnythingIsSaved) {
    using namespace package_price_column;
    struct Case {
        PackageLineEntry entry;
        std::string message;  // "" when it may be saved
        std::string title;
        int column;
    };
    const std::string notAPrice = "Please enter a valid numeric value for price.";
    for (const Case& c : std::vector<Case>{
             {{2, "Ticket", "79", "89", "5DAY"}, "", "", -1},
             {{2, "Ticket", "79", "", "5DAY"}, "", "", -1},
             {{2, "Ticket", "", "89", "5DAY"},
              "Children of a package can not have null prices.",
              "Invalid Price",
              kUnitPrice},
             {{2, "Ticket", "-", "89", "5DAY"}, notAPrice, "InValid Price Value", kUnitPrice},
             {{2, "Ticket", "-5", "89", "5DAY"}, notAPrice, "InValid Price Value", kUnitPrice},
             {{2, "Ticket", "79", "lots", "5DAY"}, notAPrice, "InValid Price Value", kGross},
             {{3, "Adult Ski Rental", "$1,000", "999.99", "DAY"},
              "Unit price may not be greater than gross unit price, row 3 Adult Ski Rental",
              "",
              kGross},
             {{2, "Ticket", "79", "89", ""},
              "Price must have a unit_id selected.",
              "Invalid Price",
              kUnit},
         }) {
        const Verdict verdict = CheckPackageLine(c.entry);
        const std::string what = c.entry.unitPrice + "/" + c.entry.gross + "/" + c.entry.unit;
        ASSERT_EQ(verdict.has_value(), !c.message.empty()) << what;
        if (verdict) {
            EXPECT_EQ(verdict->message, c.message) << what;
            EXPECT_EQ(verdict->title, c.title) << what;
            EXPECT_EQ(verdict->column, c.column) << what;
        }
    }
}

}  // namespace
}  // namespace vym
