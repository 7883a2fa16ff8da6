#include "console/frm_item_lookup.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>

#include "console/console_database.h"
#include "console/item.h"
#include "service/citem_maint.h"
#include "support/core/prompter_script.h"
#include "support/qt/scripted_modal_runner.h"
#include "ui/flex_grid.h"

namespace vym {
namespace {

using test::ConsoleDatabase;
using test::ScriptedModalRunner;
using ui::FlexGrid;

FlexGrid& Grid(QDialog& dialog) {
    return *dialog.findChild<FlexGrid*>("fgItems");
}
void Click(QDialog& dialog, const char* button) {
    dialog.findChild<QPushButton*>(button)->click();
}

TEST(ItemLookup, ChoosesByDoubleClickAndKeepsTheLastSearchUntilAskedToClearIt) {
    ConsoleDatabase db;
    auto server = db.Open();
    CItemMaint maint;
    maint.SetAppServer(server.get());
    ScriptedModalRunner modals;

    modals.Expect("frmItemLookup", [](QDialog& lookup) {
        EXPECT_EQ(lookup.windowTitle(), "Search Items");
        lookup.findChild<QLineEdit*>("txtDescription")->setText("full day");
        Click(lookup, "cmdFind");
        ASSERT_EQ(Grid(lookup).Rows(), 3);
        Grid(lookup).SelectRow(2);
        emit Grid(lookup).CellDoubleClicked(2, 5);  // as Ok
    });
    std::int32_t itemNo = 0;
    QString description;
    QString type;
    EXPECT_TRUE(maint.SelectItem(ttoTicket, false, &itemNo, &description, nullptr, {}, false, {},
                                 {}, {}, false, std::nullopt, false, false, &type));
    EXPECT_EQ(itemNo, 2);
    EXPECT_EQ(description, "Child Full Day");
    EXPECT_EQ(type, "TICKET");

    // Cancelled, then shown again: the search is still there.
    modals.Expect("frmItemLookup", [](QDialog& lookup) {
        EXPECT_EQ(Grid(lookup).Rows(), 3);
        Click(lookup, "cmdCancel");
    });
    modals.Expect("frmItemLookup", [](QDialog& lookup) {
        EXPECT_EQ(lookup.findChild<QLineEdit*>("txtDescription")->text(), "full day");
        EXPECT_EQ(Grid(lookup).Rows(), 3);
        lookup.reject();  // the close box
    });
    EXPECT_FALSE(maint.SelectItem(ttoTicket, false, &itemNo));
    EXPECT_FALSE(maint.SelectItem(ttoTicket, false, &itemNo));

    modals.Expect("frmItemLookup", [](QDialog& lookup) {
        EXPECT_EQ(lookup.windowTitle(), "Search Items with binding type");
        EXPECT_EQ(Grid(lookup).Rows(), 1);
        EXPECT_EQ(lookup.findChild<QLineEdit*>("txtDescription")->text(), "");
        lookup.findChild<QLineEdit*>("txtDescription")->setText("full day");
        Click(lookup, "cmdFind");
        Grid(lookup).SelectRow(1);
        Grid(lookup).SelectRow(2);
        Click(lookup, "cmdOk");
    });
    std::vector<std::int32_t> chosen;
    EXPECT_TRUE(maint.SelectItem(ttoTicket, true, nullptr, nullptr, &chosen, {}, false, {}, {}, {},
                                 true, std::nullopt, false, true));
    EXPECT_EQ(chosen, (std::vector<std::int32_t>{1, 2}));
}

}  // namespace
}  // namespace vym
