#include "console/frm_item_type.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>

namespace vym {
namespace {

TEST(ItemTypeChooser, PresetsTheGivenTypeAndTicketForAnyOther) {
    frmItemType chooser;
    EXPECT_EQ(chooser.windowTitle(), "Select An Item Type");
    for (const char* code : {"SHIP", "PHOTO", "STOCK", "SS", "RENTAL", "TICKET"}) {
        chooser.Setup(code);
        EXPECT_EQ(chooser.ItemType(), code);
    }
    chooser.Setup("PACKAGE");
    EXPECT_EQ(chooser.ItemType(), "TICKET");
    EXPECT_TRUE(chooser.findChild<QRadioButton*>("optTicket")->isChecked());

    // Ok returns the chosen type, Cancel cancels.
    chooser.Setup("STOCK");
    EXPECT_TRUE(chooser.UserCancelled());
    chooser.findChild<QRadioButton*>("optSkiSchool")->click();
    chooser.findChild<QPushButton*>("cmdOk")->click();
    EXPECT_FALSE(chooser.UserCancelled());
    EXPECT_EQ(chooser.ItemType(), "SS");

    chooser.Setup("STOCK");
    chooser.findChild<QPushButton*>("cmdCancel")->click();
    EXPECT_TRUE(chooser.UserCancelled());
}

}  // namespace
}  // namespace vym
