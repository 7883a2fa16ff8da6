// Department sale pricing on the demo back office's sale 3 (VILLAGE): line 1
// takes 20 % off the RETAIL department, line 2 $5 off the GOGGLE model.
#include "sales/frm_dept_sale_pricing.h"

#include <QLineEdit>
#include <QTest>

#include "base/prompter.h"
#include "model/csale.h"
#include "support/qt/screen_test.h"

namespace vym {
namespace {

using ui::FlexGrid;

constexpr int kSeqNo = 0;
constexpr int kDepartment = 4;
constexpr int kRptDept = 5;
constexpr int kPercentage = 7;
constexpr int kDiscount = 8;

class DeptSalePricing : public test::ScreenTest {
  protected:
    DeptSalePricing() : ScreenTest(&window_, "fgDept") {}
    void SetUp() override {
        sale_.OpenSale(&office_.Db(), maint_.ErrorObject(), 3);
        window_.Setup(&maint_, &sale_);
        window_.show();
    }
    std::string Lines() {
        std::string lines;
        auto rows = office_.Db().OpenRecordset(
            "SELECT seq_no, department_id, report_department_id, sale_fixed_percent, "
            "sale_fixed_discount, location_id FROM vym_sale_dept WHERE sale_no = 3 ORDER BY "
            "seq_no");
        for (; !rows->Eof(); rows->MoveNext()) {
            for (int col = 0; col < 6; ++col) {
                lines += NullToEmpty(rows->Fields(col).Value()) + (col < 5 ? "," : ";");
            }
        }
        return lines;
    }

    CSale sale_;
    frmDeptSalePricing window_;
};

TEST_F(DeptSalePricing, OkDeletesAndSavesTheLinesTogetherOnceEachHasOneDiscount) {
    ASSERT_EQ(Grid().Rows(), 3);
    EXPECT_EQ(Grid().TextMatrix(1, kPercentage), "20");
    EXPECT_EQ(Grid().TextMatrix(2, kDiscount), "5");

    // Ten percent on both lines leaves line 2 with two discounts: refused.
    QTest::keyClicks(window_.findChild<QLineEdit*>("txtPercent"), "10");
    Grid().SelectRow(1);
    Grid().SelectRow(2);
    Click("cmdApplyPercent");
    script_.ExpectMessage(
        "A sale line takes a percentage or a flat amount discount, not both (row 2).",
        "Invalid Sale Line", kInformation);
    Click("cmdOk");
    EXPECT_TRUE(window_.isVisible());
    const std::string before = Lines();

    ASSERT_TRUE(test::TypeIntoCell(Grid(), 2, kDiscount, ""));
    // The report list follows the line's department.
    ASSERT_TRUE(test::ChooseInCell(Grid(), 1, kRptDept, "Hardgoods"));
    script_.ExpectMessage("The percentage must be less than 100. (row 1)",
                          "Invalid Percentage Discount", kInformation);
    EXPECT_TRUE(test::TypeIntoCell(Grid(), 1, kPercentage, "100"));
    EXPECT_EQ(Grid().TextMatrix(1, kPercentage), "10");

    Click("cmdAdd");
    ASSERT_TRUE(test::ChooseInCell(Grid(), 3, kDepartment, "Retail Shop"));
    ASSERT_TRUE(test::TypeIntoCell(Grid(), 3, kPercentage, "12.5"));
    EXPECT_EQ(Lines(), before);

    Click("cmdOk");
    EXPECT_FALSE(window_.UserCanceled());
    EXPECT_EQ(Grid().TextMatrix(3, kSeqNo), "3");
    EXPECT_EQ(Lines(), "1,RETAIL,HARDG,0.1,,VILLAGE;2,,,0.1,,VILLAGE;3,RETAIL,,0.125,,VILLAGE;");
}

TEST_F(DeptSalePricing, ALineNeverSavedIsRemovedWithoutADatabaseError) {
    Click("cmdAdd");
    ASSERT_TRUE(test::ChooseInCell(Grid(), 3, kDepartment, "Retail Shop"));
    Grid().SelectRow(3);
    Grid().SelectRow(1);
    QTest::keyClick(&Grid(), Qt::Key_Delete);
    ASSERT_EQ(Grid().Rows(), 2);
    Click("cmdOk");
    EXPECT_FALSE(window_.UserCanceled());
    EXPECT_EQ(Lines(), "2,,,,5,VILLAGE;");
    EXPECT_EQ(sale_.SaleDepts().size(), 1u);
}

// JSMITH's station changes line 2 alone: this Ok saves the sale and line 1
// before line 2 is refused, and nothing stays. No keeps what was typed and
// the next Ok meets the same refusal, as the sale and line 1 went back to the
// versions read; Yes shows the lines as JSMITH left them.
TEST_F(DeptSalePricing, ALineAnotherStationSavedSinceRefusesTheWholeSaveAndReloadsOnRequest) {
    auto station = office_.OpenAgain("JSMITH");
    Connection* theirDb = station->DBConnection().get();
    CSale theirs;
    ASSERT_TRUE(theirs.OpenSale(theirDb, &station->ErrorObject(), 3));
    ASSERT_TRUE(theirs.OpenSaleDepts(theirDb, &station->ErrorObject()));
    theirs.SaleDepts().at(2).SaleFixedAmount = Currency::FromRaw(7 * Currency::kScale);
    ASSERT_TRUE(theirs.SaleDepts().at(2).Update(theirDb, &station->ErrorObject()));

    ASSERT_TRUE(test::TypeIntoCell(Grid(), 1, kPercentage, "15"));
    ASSERT_TRUE(test::TypeIntoCell(Grid(), 2, kDiscount, "$6"));
    const std::string before = Lines();
    const std::string question =
        office_.ChangedBy("JSMITH", "sale line", "vym_sale_dept WHERE sale_no = 3 AND seq_no = 2");
    for (int attempt = 0; attempt < 2; ++attempt) {
        ExpectReload(question, MsgResult::No);
        Click("cmdOk");
        EXPECT_TRUE(window_.UserCanceled());
        EXPECT_EQ(Lines(), before);
        EXPECT_EQ(Grid().TextMatrix(1, kPercentage), "15");
    }

    ExpectReload(question, MsgResult::Yes);
    Click("cmdOk");
    EXPECT_EQ(Grid().TextMatrix(1, kPercentage), "20") << "reloaded";
    EXPECT_EQ(Grid().TextMatrix(2, kDiscount), "7");
    ASSERT_TRUE(test::TypeIntoCell(Grid(), 2, kDiscount, "6"));
    Click("cmdOk");
    EXPECT_FALSE(window_.UserCanceled()) << "saved on the versions JSMITH left";
    EXPECT_EQ(Lines(), "1,RETAIL,,0.2,,VILLAGE;2,,,,6,VILLAGE;");
}

}  // namespace
}  // namespace vym
