#include "inventory/frm_stock_summary.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "base/date.h"
#include "inventory/inventory_database.h"
#include "support/core/prompter_script.h"
#include "ui/key_tree.h"

namespace vym {
namespace {

using test::PrompterScript;

constexpr const char* kEmailPrompt =
    "Please provide an email address.  This address will be used to send notification of "
    "process completion or error.";
constexpr const char* kScheduled =
    "Stock Summary scheduled for posting.  You will will receive an email when the posting is "
    "complete.";

class StockSummaryWindow : public ::testing::Test {
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
    std::int32_t Postings() { return db_.Count("SELECT count(*) FROM vym_inv_stock_summary_job"); }

    test::InventoryDatabase db_;
    frmStockSummary window_;
};

TEST_F(StockSummaryWindow, ShowsEachMonthUnderItsYearWithItsTransactions) {
    window_.Setup(&db_.Maint());
    EXPECT_EQ(window_.windowTitle(), "Stock Summary");
    EXPECT_EQ(Tree().headerItem()->text(0), "Year / Month (#Transactions)");
    ASSERT_EQ(Tree().topLevelItemCount(), 2);
    QTreeWidgetItem* year = Tree().topLevelItem(0);
    EXPECT_EQ(year->text(0), "2024");
    ASSERT_EQ(year->childCount(), 2);
    EXPECT_EQ(year->child(0)->text(0),
              QString("11 (%1)").arg(db_.Count("SELECT count(*) FROM vym_item_stock_history "
                                               "WHERE book_date LIKE '2024-11%'")));
    EXPECT_EQ(Tree().topLevelItem(1)->child(1)->text(0).left(3), "02 ");
    EXPECT_EQ(window_.TableMenu()->title(), "&Table");
}

TEST_F(StockSummaryWindow, AnEmptyHistoryIsSaid) {
    test::InventoryDatabase empty(false);
    PrompterScript prompter;
    prompter.ExpectMessage("There are no batch scans to display", "Batch Scans", kInformation);
    frmStockSummary window;
    window.Setup(&empty.Maint());
}

TEST_F(StockSummaryWindow, PostingAMonthNodeAsksForTheAddressAndPostsIt) {
    window_.Setup(&db_.Maint());
    PrompterScript prompter;
    // A year node is no month.
    Select("2024");
    prompter.ExpectMessage("You must select a Month node to Post", "Error Posting", kInformation);
    Choose("mnuPost");
    prompter.Verify();

    // No address, no posting.
    Select(Tree().topLevelItem(0)->child(1)->text(0));  // December
    prompter.ExpectInput(kEmailPrompt, "");
    Choose("mnuPost");
    prompter.Verify();
    EXPECT_EQ(Postings(), 0);

    prompter.ExpectInput(kEmailPrompt, "manager@resort.example")
        .ExpectMessage(kScheduled, "", kInformation);
    Choose("mnuPost");
    prompter.Verify();
    EXPECT_EQ(db_.Text("SELECT s_year || '/' || s_month || ' ' || email FROM "
                       "vym_inv_stock_summary_job"),
              "2024/12 manager@resort.example");
    EXPECT_EQ(db_.Count("SELECT count(*) FROM vym_mail_outbox WHERE to_address = "
                        "'manager@resort.example'"),
              1);

    // A double click posts the node too; the database's refusal is shown.
    prompter.ExpectInput(kEmailPrompt, "manager")
        .ExpectMessage("manager is not an email address.", "Error Posting", kInformation);
    emit Tree().itemDoubleClicked(Tree().topLevelItem(1)->child(0), 0);
    prompter.Verify();
    EXPECT_EQ(Postings(), 1);
}

TEST_F(StockSummaryWindow, AddYearMonthAsksForBothAndStopsAtAnEmptyOrImpossibleAnswer) {
    window_.Setup(&db_.Maint());
    PrompterScript prompter;
    prompter.ExpectInput("Enter Year to Post", "");
    Choose("mnuAddYearMonth");
    prompter.ExpectInput("Enter Year to Post", "2025")
        .ExpectInput("Enter Month to Post", "13")
        .ExpectMessage("The month to post must be from 1 to 12.", "Post Month", kInformation);
    Choose("mnuAddYearMonth");
    prompter.ExpectInput("Enter Year to Post", "twenty")
        .ExpectMessage("The year to post must be from 1900 to 9999.", "Post Year", kInformation);
    Choose("mnuAddYearMonth");
    prompter.Verify();
    EXPECT_EQ(Postings(), 0);

    prompter.ExpectInput("Enter Year to Post", "2025")
        .ExpectInput("Enter Month to Post", "1")
        .ExpectInput(kEmailPrompt, "  shop@resort.example ")
        .ExpectMessage(kScheduled, "", kInformation);
    Choose("mnuAddYearMonth");
    prompter.Verify();
    EXPECT_EQ(db_.Text("SELECT s_year || '/' || s_month || ' ' || email FROM "
                       "vym_inv_stock_summary_job"),
              "2025/1 shop@resort.example");
}

}  // namespace
}  // namespace vym
