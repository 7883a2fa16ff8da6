#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "base/date.h"
#include "base/value.h"
#include "gateway/command.h"
#include "server/local_app_server.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"
#include "support/server/procedure_test.h"

#include "server_checks.h"

namespace vym {
namespace {

using Args = test::ProcedureArgs;

// The demo back office, whose stock articles have a few months of history.
class InvViewProcedures : public test::ProcedureTest {
  protected:
    // Posts a month: "@RETURN_VALUE @message".
    std::string Post(int year, int month, const char* email) {
        const Answer posted = Call("VYM_SP_INV_STOCK_SUMMARY_JOB",
                                   {{"@year", year}, {"@month", month}, {"@email", email}});
        return std::to_string(posted.returned) + " " + posted.message;
    }
};

TEST_F(InvViewProcedures, DemoHistoryChainsEachLocationsQuantityToWhatItHolds) {
    ASSERT_GT(office_.Scalar("SELECT count(*) FROM vym_item_stock_history"), 50);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_item_stock_history "
                             "WHERE after_qty <> before_qty + qty"),
              0);
    // Each movement starts from where the one before it at that location ended.
    EXPECT_EQ(
        office_.Scalar("SELECT count(*) FROM (SELECT before_qty, LAG(after_qty, 1, 0) OVER "
                       "(PARTITION BY item_no, location_id ORDER BY trans_date, trans_no) AS "
                       "previous FROM vym_item_stock_history) AS h WHERE before_qty <> previous"),
        0);
    EXPECT_EQ(
        office_.Scalar("SELECT count(*) FROM vym_item_stock_location l WHERE l.qty_on_hand <> "
                       "(SELECT h.after_qty FROM vym_item_stock_history h WHERE h.item_no = "
                       "l.item_no AND h.location_id = l.location_id ORDER BY h.trans_date DESC, "
                       "h.trans_no DESC LIMIT 1)"),
        0);
    EXPECT_EQ(
        office_.Text(
            "SELECT last_date_sold || '' FROM vym_item_stock_location WHERE item_no = 500 AND "
            "location_id = 'BASE'"),
        office_.Text("SELECT max(trans_date) FROM vym_item_stock_history WHERE item_no = 500 AND "
                     "location_id = 'BASE' AND trans_type = 'SALE'"));
}

TEST_F(InvViewProcedures, StockHistoryRangesTakeWholeDaysAndBookDatesApart) {
    auto cmd = test::Prepared(*db_, "VYM_SP_ITEM_GetItemStockHistory", {{"@item_no", 601}});
    auto rs = db_->ExecuteRecordset(*cmd);
    ASSERT_EQ(rs->FieldCount(), 19);
    EXPECT_EQ(rs->Fields(10).Name(), "trans_no");
    EXPECT_EQ(rs->Fields(12).Name(), "book_date");
    EXPECT_EQ(rs->Fields(9).Value(), Value("601"));  // the stock number

    // One day as both ends of the range finds the movements of that day,
    // whatever their time.
    const Date day = Date::FromParts(2024, 12, 16);
    const auto transfers = test::ProcedureRows(
        *db_, "VYM_SP_ITEM_GetItemStockHistory",
        Args{{"@item_no", 500}, {"@trans_date_start", day}, {"@trans_date_end", day}});
    ASSERT_EQ(transfers.size(), 2u);
    EXPECT_NE(transfers[0].find("XFER OUT|7010|VILLAGE"), std::string::npos) << transfers[0];

    // The February receipt was booked in January.
    const auto january =
        test::ProcedureRows(*db_, "VYM_SP_ITEM_GetItemStockHistory",
                            Args{{"@item_no", 500},
                                 {"@book_date_start", Date::FromParts(2025, 1, 1)},
                                 {"@book_date_end", Date::FromParts(2025, 1, 31)}});
    ASSERT_FALSE(january.empty());
    EXPECT_NE(january.back().find("RECEIVE"), std::string::npos) << january.back();
}

TEST_F(InvViewProcedures, SummaryCountsMovementsByBookMonth) {
    const auto months = test::ProcedureRows(*db_, "VYM_SP_ITEM_GetItemStockSummary");
    ASSERT_EQ(months.size(), 4u);
    EXPECT_EQ(months.front().substr(0, 8), "2024|11|");
    EXPECT_EQ(months.back().substr(0, 7), "2025|2|");
    std::int32_t total = 0;
    for (const auto& m : months) {
        total += std::stoi(m.substr(m.rfind('|') + 1));
    }
    EXPECT_EQ(total, office_.Scalar("SELECT count(*) FROM vym_item_stock_history"));
}

TEST_F(InvViewProcedures, PostingAMonthSummarisesItAndQueuesTheNotice) {
    ASSERT_EQ(Post(2024, 12, "manager@resort.example"), "0 ");
    // The jacket at the base lodge in December: 2 sold, 3 sent to the village, 1 sold.
    EXPECT_EQ(
        office_.Text("SELECT begin_qty || ' +' || qty_in || ' -' || qty_out || ' = ' || end_qty || "
                     "' in ' || trans FROM vym_item_stock_summary WHERE s_year = 2024 AND "
                     "s_month = 12 AND item_no = 500 AND location_id = 'BASE'"),
        "7 +0 -6 = 1 in 3");
    EXPECT_EQ(office_.Scalar("SELECT sum(trans) FROM vym_item_stock_summary WHERE s_month = 12"),
              office_.Scalar("SELECT count(*) FROM vym_item_stock_history WHERE "
                             "COALESCE(book_date, trans_date) >= '2024-12-01' AND "
                             "COALESCE(book_date, trans_date) < '2025-01-01'"));
    EXPECT_EQ(office_.Text("SELECT to_address || ' ' || subject FROM vym_mail_outbox"),
              "manager@resort.example Stock Summary 12/2024 posted");
    EXPECT_EQ(
        office_.Text("SELECT vym_user || ' ' || rows_posted FROM vym_inv_stock_summary_job"),
        "ADMIN " + std::to_string(office_.Scalar("SELECT count(*) FROM vym_item_stock_summary")));

    // Posting again replaces the month's rows instead of adding to them.
    const auto rows = office_.Scalar("SELECT count(*) FROM vym_item_stock_summary");
    ASSERT_EQ(Post(2024, 12, "manager@resort.example"), "0 ");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_item_stock_summary"), rows);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_mail_outbox"), 2);
}

TEST_F(InvViewProcedures, PostingRefusesImpossibleMonthsAndAddressesWritingNothing) {
    EXPECT_EQ(Post(2025, 13, "a@b.example"), "-1 The month to post must be from 1 to 12.");
    EXPECT_TRUE(Post(0, 1, "a@b.example").starts_with("-1 "));
    EXPECT_EQ(Post(2025, 1, "nobody"), "-1 nobody is not an email address.");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_inv_stock_summary_job"), 0);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_mail_outbox"), 0);
}

}  // namespace
}  // namespace vym
