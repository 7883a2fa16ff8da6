#include "host/frm_pick_list.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>

#include "base/error.h"
#include "gateway/connection.h"
#include "host/item_enums.h"
#include "support/core/fields.h"
#include "support/server/back_office.h"
#include "ui/flex_grid.h"

namespace vym {
namespace {

using ui::FlexGrid;

class PickList : public ::testing::Test {
  protected:
    std::unique_ptr<Recordset> Open(const char* sql) { return office_.Db().OpenRecordset(sql); }
    void FillLocations() {
        const auto recordset = Open(
            "SELECT 'MAIN' AS location_id, 'Main Store' AS description, 10 AS address_no "
            "UNION ALL SELECT 'LODGE', 'Lodge Shop', 11");
        pick_.FillRecordset(*recordset);
    }
    void FillPOLines() {
        const auto recordset = Open(
            "SELECT 1 AS line_no, 5 AS qty_ord, 0 AS qty_received, 1001 AS item_no, "
            "'SKI-01' AS stock_id, 'P1' AS product_id, 'Race Skis' AS ItemDesc "
            "UNION ALL SELECT 2, 3, 1, 1002, NULL, 'P2', 'Poles' "
            "UNION ALL SELECT 3, 8, 8, 1003, 'WAX', 'P3', 'Ski Wax'");
        pick_.FillRecordsetPOLines(*recordset);
    }
    FlexGrid& Grid() { return *pick_.findChild<FlexGrid*>("fgPickList"); }
    QPushButton& Button(const char* name) { return *pick_.findChild<QPushButton*>(name); }

    test::BackOffice office_{{.demoData = false}};
    frmPickList pick_;
};

TEST_F(PickList, HeadsColumnsByFieldNameAndFindsAndHidesThemByKeyInAnyCase) {
    EXPECT_EQ(pick_.windowTitle(), "Pick");
    pick_.SetFormCaption("Select Location");
    EXPECT_EQ(pick_.windowTitle(), "Select Location");

    FillLocations();

    EXPECT_EQ(Grid().ColumnHeading(0), "Location Id");
    EXPECT_EQ(Grid().ColumnHeading(1), "Description");
    EXPECT_EQ(Grid().ColumnHeading(2), "Address No");
    EXPECT_EQ(Grid().Rows(), 3);
    // The first row is current until the user moves.
    EXPECT_EQ(pick_.ColumnText("LOCATION_ID"), "MAIN");
    Grid().SetCurrentCell(2, 1);
    EXPECT_EQ(pick_.ColumnText("location_id"), "LODGE");
    EXPECT_EQ(pick_.ColumnText("Address_No"), "11");
    EXPECT_EQ(pick_.ColumnText(1), "Lodge Shop");
    EXPECT_THROW(pick_.ColumnText("Location Id"), Error);  // the heading is not the key
    EXPECT_THROW(pick_.ColumnText(3), Error);
    EXPECT_FALSE(Button("cmdSelectAll").isVisibleTo(&pick_));

    // A hidden column is found by its key in any case and still reads.
    pick_.HideColumn("ADDRESS_NO");
    EXPECT_TRUE(Grid().IsColumnHidden(2));
    EXPECT_FALSE(Grid().IsColumnHidden(0));
    EXPECT_EQ(pick_.ColumnText("address_no"), "11");

    // An empty list has no current row to read.
    pick_.FillRecordset(*Open("SELECT vym_user FROM vym_security_user WHERE 1 = 0"));
    EXPECT_EQ(pick_.ColumnText("vym_user"), "");
}

TEST_F(PickList, OkDoubleClickCancelAndCloseSetTheCancelledFlag) {
    FillLocations();
    EXPECT_TRUE(pick_.UserCancelled());

    Button("cmdOk").click();
    EXPECT_FALSE(pick_.UserCancelled());
    EXPECT_EQ(pick_.result(), QDialog::Accepted);

    Button("cmdCancel").click();
    EXPECT_TRUE(pick_.UserCancelled());

    pick_.show();
    pick_.close();  // the close box
    EXPECT_TRUE(pick_.UserCancelled());

    // Double-clicking a row picks it.
    pick_.show();
    QWidget* viewport = Grid().viewport();
    const QPoint at = Grid().visualRect(Grid().model()->index(1, 0)).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
    EXPECT_FALSE(pick_.UserCancelled());
    EXPECT_FALSE(pick_.isVisible());
    EXPECT_EQ(pick_.ColumnText("location_id"), Grid().TextMatrix(Grid().Row(), 0));
}

TEST_F(PickList, POLinesModeSelectsSeveralLinesOrAll) {
    FillPOLines();

    EXPECT_EQ(Grid().FormatString(), "Line#|QtyOrd|QtyRec|Item#|StockId|Description");
    EXPECT_TRUE(Button("cmdSelectAll").isVisibleTo(&pick_));
    EXPECT_TRUE(pick_.SelectedLines().empty());

    // The lines chosen, each "line|ordered|received|item|stock id|description".
    const auto chosen = [this] {
        QStringList lines;
        for (const frmPickList::POLine& l : pick_.SelectedLines()) {
            lines << QString::fromStdString(test::Fields(l[pvPOLine], l[pvQtyOrd], l[pvQtyReceived],
                                                         l[pvItemNo], l[pvStockId],
                                                         l[pvItemFullDesc]));
        }
        return lines;
    };
    Grid().SelectRow(1);
    Grid().SelectRow(2);
    Button("cmdOk").click();
    EXPECT_EQ(chosen(), QStringList({"1|5|0|1001|SKI-01|Race Skis", "2|3|1|1002||Poles"}));
    EXPECT_FALSE(pick_.UserCancelled());

    Button("cmdSelectAll").click();
    EXPECT_EQ(chosen().size(), 3);
    EXPECT_EQ(chosen().value(2), "3|8|8|1003|WAX|Ski Wax");
}

}  // namespace
}  // namespace vym
