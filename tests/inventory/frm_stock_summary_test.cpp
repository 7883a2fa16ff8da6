#include "inventory/frm_stock_summary.h"

#include <QAction>
#include <QMenu>

#include "base/date.h"
#include "support/qt/screen_test.h"
#include "ui/key_tree.h"

namespace vym {
namespace {

constexpr const char* kEmailPrompt =
    "Please provide an email address.  This address will be used to send notification of "
    "process completion or error.";
constexpr const char* kScheduled =
    "Stock Summary scheduled for posting.  You will will receive an email when the posting is "
    "complete.";

class StockSummaryWindow : public test::ScreenOf<frmStockSummary> {
  protected:
    ui::KeyTree& Tree() { return *window_.findChild<ui::KeyTree*>("tvwSummary"); }
    void Choose(const char* action) {
        QAction* found = window_.TableMenu()->findChild<QAction*>(action);
        ASSERT_NE(found, nullptr) << action;
        found->trigger();
    }
    void Select(const QString& text) {
        const auto nodes = Tree().findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(nodes.size(), 1) << text.toStdString();
        Tree().setCurrentItem(nodes.front());
    }
    std::int32_t Postings() {
        return office_.Scalar("SELECT count(*) FROM vym_inv_stock_summary_job");
    }
};

TEST_F(StockSummaryWindow, ShowsEachMonthUnderItsYearWithItsTransactions) {
    window_.Setup(&maint_);
    EXPECT_EQ(window_.windowTitle(), "Stock Summary");
    EXPECT_EQ(Tree().headerItem()->text(0), "Year / Month (#Transactions)");
    ASSERT_EQ(Tree().topLevelItemCount(), 2);
    QTreeWidgetItem* year = Tree().topLevelItem(0);
    EXPECT_EQ(year->text(0), "2024");
    ASSERT_EQ(year->childCount(), 2);
    EXPECT_EQ(year->child(0)->text(0),
              QString("11 (%1)").arg(office_.Scalar("SELECT count(*) FROM vym_item_stock_history "
                                                    "WHERE book_date LIKE '2024-11%'")));
    EXPECT_EQ(Tree().topLevelItem(1)->child(1)->text(0).left(3), "02 ");
    EXPECT_EQ(window_.TableMenu()->title(), "&Table");
}

TEST_F(StockSummaryWindow, PostingAMonthNodeAsksForTheAddressAndPostsIt) {
    window_.Setup(&maint_);
    // A year node is no month.
    Select("2024");
    script_.ExpectMessage("You must select a Month node to Post", "Error Posting", kInformation);
    Choose("mnuPost");
    script_.Verify();

    // No address, no posting.
    Select(Tree().topLevelItem(0)->child(1)->text(0));  // December
    script_.ExpectInput(kEmailPrompt, "");
    Choose("mnuPost");
    script_.Verify();
    EXPECT_EQ(Postings(), 0);

    script_.ExpectInput(kEmailPrompt, "manager@resort.example")
        .ExpectMessage(kScheduled, "", kInformation);
    Choose("mnuPost");
    script_.Verify();
    EXPECT_EQ(Scalar("SELECT s_year || '/' || s_month || ' ' || email FROM "
                     "vym_inv_stock_summary_job"),
              "2024/12 manager@resort.example");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_mail_outbox WHERE to_address = "
                             "'manager@resort.example'"),
              1);

    // A double click posts the node too; the database's refusal is shown.
    script_.ExpectInput(kEmailPrompt, "manager")
        .ExpectMessage("manager is not an email address.", "Error Posting", kInformation);
    emit Tree().itemDoubleClicked(Tree().topLevelItem(1)->child(0), 0);
    script_.Verify();
    EXPECT_EQ(Postings(), 1);
}

TEST_F(StockSummaryWindow, AddYearMonthAsksForBothAndStopsAtAnEmptyOrImpossibleAnswer) {
    window_.Setup(&maint_);
    script_.ExpectInput("Enter Year to Post", "");
    Choose("mnuAddYearMonth");
    script_.ExpectInput("Enter Year to Post", "2025")
        .ExpectInput("Enter Month to Post", "13")
        .ExpectMessage("The month to post must be from 1 to 12.", "Post Month", kInformation);
    Choose("mnuAddYearMonth");
    script_.ExpectInput("Enter Year to Post", "twenty")
        .ExpectMessage("The year to post must be from 1900 to 9999.", "Post Year", kInformation);
    Choose("mnuAddYearMonth");
    script_.Verify();
    EXPECT_EQ(Postings(), 0);

    script_.ExpectInput("Enter Year to Post", "2025")
        .ExpectInput("Enter Month to Post", "1")
        .ExpectInput(kEmailPrompt, "  shop@resort.example ")
        .ExpectMessage(kScheduled, "", kInformation);
    Choose("mnuAddYearMonth");
    script_.Verify();
    EXPECT_EQ(Scalar("SELECT s_year || '/' || s_month || ' ' || email FROM "
                     "vym_inv_stock_summary_job"),
              "2025/1 shop@resort.example");
}

}  // namespace
}  // namespace vym
