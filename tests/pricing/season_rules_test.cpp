#include "pricing/season_rules.h"

#include <gtest/gtest.h>

namespace vym {
namespace {

using namespace season_column;

TEST(SeasonRules, RefuseTheFirstCellAtFault) {
    struct Case {
        SeasonEntry entry;
        const char* message;  // nullptr: saved
        int column;
    };
    const Case cases[] = {
        {{"7", 3, "PEAK", "12/20/2026", "01/04/2027", "", ""}, nullptr, -1},
        {{"7", 3, "PEAK", "12/20/2026", "12/20/2026", "12/01/2026", "12/01/2026"}, nullptr, -1},
        {{"0", 3, "PEAK", "", "01/04/2027", "", ""},
         "Start date is required for season 0 Row 4",
         kStart},
        {{"7", 3, "PEAK", "12/40/2026", "01/04/2027", "", ""},
         "Start date is invalid for season 7 Row 4",
         kStart},
        {{"7", 3, "PEAK", "12/20/2026", "", "", ""},
         "End date is required for season 7 Row 4",
         kEnd},
        {{"7", 3, "PEAK", "12/20/2026", "-", "", ""},
         "End date is invalid for season 7 Row 4",
         kEnd},
        {{"7", 3, "PEAK", "12/20/2026", "12/19/2026", "", ""},
         "Start date must be less than end date for season 7 Row 4",
         kEnd},
        {{"7", 3, "PEAK", "12/20/2026", "01/04/2027", "x", ""},
         "Store Start date is invalid for season 7 Row 4",
         kStoreStart},
        {{"7", 3, "PEAK", "12/20/2026", "01/04/2027", "", "13/01/2026"},
         "Store End date is invalid for season 7 Row 4",
         kStoreEnd},
        {{"7", 3, "PEAK", "12/20/2026", "01/04/2027", "12/02/2026", "12/01/2026"},
         "Store Start date must be less than Store End date for season 7 Row 4",
         kStoreEnd},
    };
    for (const Case& c : cases) {
        const Verdict verdict = CheckSeason(c.entry);
        if (c.message == nullptr) {
            EXPECT_FALSE(verdict) << c.entry.start << ": " << verdict->message;
            continue;
        }
        ASSERT_TRUE(verdict) << c.message;
        EXPECT_EQ(verdict->message, c.message);
        EXPECT_EQ(verdict->column, c.column) << c.message;
        EXPECT_EQ(verdict->title, "");
        EXPECT_EQ(verdict->style, MsgStyle{}) << c.message;
    }
    // The type comes first, with a title and the information icon.
    EXPECT_EQ(CheckSeason({"12", 2, "", "", "", "", ""}),
              (Refusal{"You must specifiy a season type for season 12", "Season Type Required", "",
                       "", kType, kInformation}));
}

}  // namespace
}  // namespace vym
