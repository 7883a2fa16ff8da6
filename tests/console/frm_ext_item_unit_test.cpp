#include "console/frm_ext_item_unit.h"

#include <gtest/gtest.h>

#include <QPushButton>

#include "console/console_database.h"
#include "ui/flex_grid.h"

namespace vym {
namespace {

TEST(ExtensionItemChooser, ListsTheExtensionsAndTheUnitsOfTheChosenItemsFunction) {
    test::ConsoleDatabase db;
    db.Sql("INSERT INTO vym_uom (uom_id, description) VALUES ('EA', 'Each')");
    db.Sql(
        "INSERT INTO vym_unit (function_id, unit_id, description, uom_id, qty) VALUES "
        "('LIFT', 'DAY', 'Full Day', 'EA', 1), ('LIFT', 'HALF', 'Half Day', 'EA', 1), "
        "('RETAIL', 'EACH', 'Each', 'EA', 1)");
    db.Sql("INSERT INTO vym_extension (parent_item_no, child_item_no) VALUES (1, 2), (1, 10)");
    auto server = db.Open();
    auto connection = server->DBConnection();

    frmExtItemUnit chooser;
    EXPECT_EQ(chooser.windowTitle(), "Add New Extension Price");
    chooser.Setup(connection.get(), &server->ErrorObject(), 1);
    auto& items = *chooser.findChild<ui::FlexGrid*>("fgItems");
    auto& units = *chooser.findChild<ui::FlexGrid*>("fgUnits");
    ASSERT_EQ(items.Rows(), 3);
    const int jacket = items.FindRow("10", 3);
    ASSERT_GT(jacket, 0);
    items.SetCurrentCell(jacket, 0);
    ASSERT_EQ(units.Rows(), 2);
    EXPECT_EQ(units.TextMatrix(1, 0), "EACH");

    const int child = items.FindRow("2", 3);
    items.SetCurrentCell(child, 0);
    ASSERT_EQ(units.Rows(), 3);
    units.SetCurrentCell(2, 0);
    chooser.findChild<QPushButton*>("cmdOk")->click();
    EXPECT_FALSE(chooser.UserCancelled());
    EXPECT_EQ(chooser.ItemRow().value(2), "Child Full Day");
    EXPECT_EQ(chooser.ItemRow().value(4), "LIFT");
    EXPECT_EQ(chooser.UnitRow().value(0), "HALF");
    EXPECT_TRUE(server->Reports().empty());
}

}  // namespace
}  // namespace vym
