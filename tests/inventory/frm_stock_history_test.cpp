#include "inventory/frm_stock_history.h"

#include <QLineEdit>
#include <QTest>

#include "base/date.h"
#include "support/qt/screen_test.h"
#include "ui/data_combo.h"
#include "ui/nullable_date_edit.h"

namespace vym {
namespace {

using ui::FlexGrid;
using ui::NullableDateEdit;

constexpr int kTransNoCol = 10;
constexpr int kBookDateCol = 12;

class StockHistoryWindow : public test::ScreenOf<frmStockHistory> {
  protected:
    StockHistoryWindow() : ScreenOf("fgHistory") {}
    NullableDateEdit& DateBox(const char* name) { return Find<NullableDateEdit>(name); }
    int HistoryRows(const std::string& where) {
        return office_.Scalar("SELECT count(*) FROM vym_item_stock_history WHERE " + where);
    }
    // The grid row of a transaction.
    int RowOf(std::int32_t transNo) {
        return Grid().FindRow(QString::number(transNo), kTransNoCol);
    }
    std::string BookDate(std::int32_t transNo) {
        return Scalar("SELECT book_date || '' FROM vym_item_stock_history WHERE trans_no = " +
                      std::to_string(transNo));
    }
};

TEST_F(StockHistoryWindow, OpensWithItemLocationAndSerialFilledInAndAnyLocationFirst) {
    window_.Setup(&maint_, 601, "summit", "RS170-0044");
    EXPECT_EQ(window_.windowTitle(), "View Stock History");
    EXPECT_EQ(Find<QLineEdit>("txtItemNo").text(), "601");
    EXPECT_EQ(Find<QLineEdit>("txtItemNo").toolTip(),
              "Enter as much of the stock number as you can");
    auto& locations = Find<ui::DataCombo>("cmbLocation");
    EXPECT_EQ(locations.Key(), "SUMMIT");
    EXPECT_EQ(locations.CellAt(0, 1), "<Any Location>");
    EXPECT_EQ(locations.RowCount(), 1 + office_.Scalar("SELECT count(*) FROM vym_location"));
    EXPECT_EQ(Grid().Rows(), 1) << "nothing is searched before Find Now";

    // The serial unit's own movements only.
    Click("cmdFind");
    ASSERT_EQ(Grid().Rows(), 2);
    EXPECT_EQ(test::CellTexts(Grid(), 1, {2, 4}), "XFER OUT|BASE");

    Click("cmdNewSearch");
    EXPECT_EQ(Grid().Rows(), 1);
    EXPECT_TRUE(Find<QLineEdit>("txtItemNo").text().isEmpty());
    EXPECT_TRUE(Find<QLineEdit>("txtSerialId").text().isEmpty());
    EXPECT_TRUE(locations.Key().isEmpty());
}

TEST_F(StockHistoryWindow, EmptySearchListsAllHistoryAndFiltersNarrowIt) {
    window_.Setup(&maint_);
    Click("cmdFind");
    EXPECT_EQ(Grid().Rows() - 1, HistoryRows("1 = 1"));
    // Money and book dates as the columns show them.
    const int row =
        RowOf(office_.Scalar("SELECT min(trans_no) FROM vym_item_stock_history WHERE "
                             "item_no = 500 AND trans_type = 'SALE'"));
    ASSERT_GT(row, 0);
    EXPECT_EQ(Grid().DisplayText(row, 13), "($89.50)");
    EXPECT_EQ(Grid().DisplayText(row, kBookDateCol), "11/22/2024");

    QTest::keyClicks(&Find<QLineEdit>("txtItemNo"), "5x00");  // only digits are taken
    EXPECT_EQ(Find<QLineEdit>("txtItemNo").text(), "500");
    Find<ui::DataCombo>("cmbLocation").SetKey("VILLAGE");
    Click("cmdFind");
    EXPECT_EQ(Grid().Rows() - 1, HistoryRows("item_no = 500 AND location_id = 'VILLAGE'"));
}

TEST_F(StockHistoryWindow, AToDateLeftEmptyTakesTheFromDate) {
    window_.Setup(&maint_, 500);
    DateBox("dtpTransFrom").SetValue(Date::FromParts(2024, 12, 16));
    emit DateBox("dtpTransFrom").editingFinished();  // the user leaves the box
    EXPECT_EQ(DateBox("dtpTransTo").Value(), Date::FromParts(2024, 12, 16));
    Click("cmdFind");
    EXPECT_EQ(Grid().Rows(), 3) << "the transfer out of the lodge and into the village";

    // Find Now does the same for a box the user never left.
    Click("cmdNewSearch");
    DateBox("dtpBookFrom").SetValue(Date::FromParts(2025, 1, 31));
    Click("cmdFind");
    EXPECT_EQ(DateBox("dtpBookTo").Value(), Date::FromParts(2025, 1, 31));
    EXPECT_EQ(Grid().Rows() - 1, HistoryRows("book_date = '2025-01-31'"));
}

// Only the book date is edited: a date is saved, anything else is put back.
TEST_F(StockHistoryWindow, OnlyTheBookDateIsEditedAndOnlyAValidDateIsSaved) {
    window_.Setup(&maint_, 500, "BASE");
    Click("cmdFind");
    ASSERT_GT(Grid().Rows(), 2);
    EXPECT_FALSE(Grid().EditCell(1, 6)) << "quantities are history";
    const std::int32_t trans = Grid().TextMatrix(1, kTransNoCol).toInt();

    ASSERT_TRUE(Type(1, kBookDateCol, "12/1/2024"));
    EXPECT_EQ(BookDate(trans), "2024-12-01");
    EXPECT_EQ(Grid().TextMatrix(1, kBookDateCol), "12/01/2024");
    const QString shown = Grid().TextMatrix(1, kBookDateCol);
    const std::string stored = BookDate(trans);

    for (const char* typed : {"2/30/2025", "soon", "10:30"}) {
        script_.ExpectMessage("Invalid date, could not save date change", "InValid Date",
                              kInformation);
        ASSERT_TRUE(Type(1, kBookDateCol, typed));
        EXPECT_EQ(Grid().TextMatrix(1, kBookDateCol), shown) << typed;
    }
    script_.Verify();
    EXPECT_EQ(BookDate(trans), stored);

    // A transaction gone since the search: the database refuses, the error is
    // reported and the cell shows what it held.
    office_.Db().ExecuteSQL("DELETE FROM vym_item_stock_history WHERE trans_no = " +
                            std::to_string(trans));
    const auto reports = office_.Local().Reports().size();
    errorsExpected_ = true;
    ASSERT_TRUE(Type(1, kBookDateCol, "1/5/2025"));
    EXPECT_EQ(Grid().TextMatrix(1, kBookDateCol), shown);
    EXPECT_EQ(office_.Local().Reports().size(), reports + 1);
}

}  // namespace
}  // namespace vym
