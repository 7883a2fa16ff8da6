#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "base/date.h"
#include "base/value.h"
#include "gateway/command.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"
#include "support/server/procedure_test.h"

#include "server_checks.h"

namespace vym {
namespace {

using Args = test::ProcedureArgs;
using test::Told;

// The demo database: item sales 1 (BASE, jackets 500-503, customer groups
// PASSHOLD and SKICLUB) and 2 (every location, goggles, item 104 qualifies),
// department sales 3 (VILLAGE, two lines) and 4 (one line, EMPLOYEE).
class SaleProcedures : public test::ProcedureTest {
  protected:
    std::int32_t Count(const std::string& table, std::int32_t saleNo) {
        return office_.Scalar("SELECT count(*) FROM " + table +
                              " WHERE sale_no = " + std::to_string(saleNo));
    }
    // Every row of a sale, so that a copy can be compared with its original.
    std::string Contents(std::int32_t saleNo) {
        std::string text;
        for (const char* table :
             {"vym_sale_dept", "vym_sale_item", "vym_sale_customer", "vym_price"}) {
            text += std::string(table) + "=" + std::to_string(Count(table, saleNo)) + " ";
        }
        return text;
    }

    const Date today_ = Date::Today();
};

TEST_F(SaleProcedures, SaleHeadersAreCheckedBeforeAnythingIsWritten) {
    const Date later(today_.Serial() + 7);
    struct Case {
        const char* type;
        Value start, end, amount, percent, location;
        const char* message;
    };
    const Value null = Value::Null();
    for (const Case& c : {
             Case{"StockNo", later, today_, null, null, null,
                  "The end date of a sale can not be before its start date."},
             Case{"Dept", today_, later, null, 1.0, null,
                  "A percentage discount must be at least 0 and less than 100."},
             Case{"Dept", today_, later, null, -0.05, null,
                  "A percentage discount must be at least 0 and less than 100."},
             Case{"Dept", today_, later, Currency::FromDouble(-1), null, null,
                  "A flat amount discount can not be negative."},
             Case{"Dept", today_, later, Currency::FromDouble(5), 0.1, null,
                  "A sale takes a percentage or a flat amount discount, not both."},
             Case{"Item", today_, later, null, null, null, "Sale type Item does not exist."},
             Case{"StockNo", today_, later, null, null, "MOON", "Location MOON does not exist."},
         }) {
        EXPECT_EQ(Told(Call("VYM_SP_ITEM_UpdateItemStockSale", {{"@sale_no", 0},
                                                                {"@sale_type", c.type},
                                                                {"@sale_start_date", c.start},
                                                                {"@sale_end_date", c.end},
                                                                {"@sale_fixed_discount", c.amount},
                                                                {"@sale_fixed_percent", c.percent},
                                                                {"@location_id", c.location}})),
                  std::string("-1 ") + c.message);
    }
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_sale"), 4);

    // A saved header takes its lines and prices along to its new place and dates.
    EXPECT_EQ(Told(Call("VYM_SP_ITEM_UpdateItemStockSale", {{"@sale_no", 3},
                                                            {"@sale_type", "Dept"},
                                                            {"@location_id", "SUMMIT"},
                                                            {"@sale_start_date", today_},
                                                            {"@sale_end_date", later},
                                                            {"@sale_fixed_discount", 0},
                                                            {"@item_qualified", 1}})),
              "0 ");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_sale_dept WHERE sale_no = 3 AND "
                             "location_id = 'SUMMIT' AND item_qualified <> 0"),
              2);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_sale WHERE sale_no = 3 AND "
                             "sale_fixed_discount IS NULL"),
              1);
}

TEST_F(SaleProcedures, ItemSalePricesAreWrittenOncePerItemAndNeverNegative) {
    auto price = [&](int item) {
        return office_.Scalar(
            "SELECT CAST(unit_price * 10000 AS int) FROM vym_price WHERE "
            "sale_no = 2 AND item_no = " +
            std::to_string(item));
    };
    const auto save = [&](int sale, int item, const Value& price) {
        return Told(Call("VYM_SP_ITEM_STOCK_SALE_update",
                         {{"@sale_no", sale}, {"@item_no", item}, {"@unit_price", price}}));
    };
    EXPECT_EQ(save(2, 510, 12.5), "0 ");
    EXPECT_EQ(price(510), 125000);
    EXPECT_EQ(save(2, 510, -0.01), "-1 The sale price of item 510 can not be negative.");
    EXPECT_EQ(save(2, 100, 1), "-1 Item 100 is not a stock item.");
    EXPECT_EQ(price(510), 125000);

    // A new item of a sale at one location is priced there.
    EXPECT_EQ(save(1, 510, 3), "0 ");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_price WHERE sale_no = 1 AND item_no = "
                             "510 AND location_id = 'BASE'"),
              1);
    EXPECT_EQ(Told(Call("VYM_SP_ITEM_STOCK_SALE_delete", {{"@sale_no", 2}, {"@item_no", 510}})),
              "0 ");
    EXPECT_EQ(Count("vym_price", 2), 1);

    // A percentage off the regular price, exactly: 15 % off 129.99 is 110.4915.
    office_.Sql(
        "UPDATE vym_price SET unit_price = 129.99 WHERE item_no = 511 AND sale_no IS "
        "NULL AND location_id IS NULL");
    office_.Sql("UPDATE vym_item_stock SET unit_price = 129.99 WHERE item_no = 511");
    const Answer percent =
        Call("VYM_SP_ITEM_UpdateItemStockSalePrice", {{"@sale_no", 2},
                                                      {"@item_no", 511},
                                                      {"@unit_qty", 1},
                                                      {"@uom_id", Value::Null()},
                                                      {"@sale_fixed_percent", 0.15}});
    EXPECT_EQ(Told(percent), "0 ");
    EXPECT_EQ(price(511), 1104915);
    EXPECT_GT(percent.Output("@price_no"), 0);
}

TEST_F(SaleProcedures, CopyTakesEverythingAndDeleteRemovesEverything) {
    const std::string original = Contents(1);
    ASSERT_EQ(original, "vym_sale_dept=0 vym_sale_item=0 vym_sale_customer=2 vym_price=4 ");
    Answer copy = Call("VYM_SP_ITEM_SALE_Copy", {{"@sale_no", 1}, {"@location_id", "VILLAGE"}});
    const std::int32_t copyNo = copy.Output("@new_sale_no");
    ASSERT_GT(copyNo, 4);
    EXPECT_EQ(Contents(copyNo), original);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_price WHERE sale_no = " +
                             std::to_string(copyNo) + " AND location_id = 'VILLAGE'"),
              4);
    const Answer lines =
        Call("VYM_SP_ITEM_SALE_Copy", {{"@sale_no", 3}, {"@location_id", Value::Null()}});
    const std::int32_t linesNo = lines.Output("@new_sale_no");
    EXPECT_EQ(Contents(linesNo), Contents(3));

    EXPECT_EQ(Told(Call("VYM_SP_ITEM_SALE_Copy", {{"@sale_no", 1}, {"@location_id", "MOON"}})),
              "-1 Location MOON does not exist.");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_sale"), 6);

    for (const std::int32_t saleNo : {1, 3, copyNo}) {
        EXPECT_EQ(Told(Call("VYM_SP_ITEM_SALE_Delete", {{"@sale_no", saleNo}})), "0 ");
        EXPECT_EQ(Contents(saleNo),
                  "vym_sale_dept=0 vym_sale_item=0 vym_sale_customer=0 vym_price=0 ");
    }
    EXPECT_EQ(Told(Call("VYM_SP_ITEM_SALE_Delete", {{"@sale_no", 1}})),
              "-1 Sale 1 does not exist.");
}

TEST_F(SaleProcedures, CustomerGroupDocumentsChangeOnlyTheNamedSale) {
    auto selected = [&](int saleNo) {
        return test::RowTexts(
            *db_->OpenRecordset("SELECT customer_group_id FROM vym_sale_customer WHERE sale_no = " +
                                std::to_string(saleNo) + " ORDER BY customer_group_id"));
    };
    // The first document changes sale 1's groups; the others change nothing.
    const std::vector<std::string> changed = {"MILITARY", "PASSHOLD"};
    struct Case {
        std::int32_t saleNo;
        const char* document;
        const char* answer;
    };
    for (const Case& c : {
             Case{1,
                  "<ROOT>\r\n<vym_sale_customer sale_no=\"1\" customer_group_id = \"SKICLUB\" "
                  "action=\"DELETE\"/>\r\n<vym_sale_customer sale_no=\"1\" customer_group_id = "
                  "\"MILITARY\" action=\"INSERT\"/>\r\n\r\n</ROOT>",
                  "0 "},
             Case{1,
                  "<ROOT><vym_sale_customer sale_no=\"4\" customer_group_id=\"SKICLUB\" "
                  "action=\"INSERT\"/></ROOT>",
                  "-1 A row names sale 4, not sale 1."},
             Case{1,
                  "<ROOT><vym_sale_customer sale_no=\"1\" customer_group_id=\"A&quot;B\" "
                  "action=\"INSERT\"/></ROOT>",
                  "-1 Customer group A\"B does not exist."},
             Case{1,
                  "<ROOT><vym_sale_customer sale_no=\"1\" customer_group_id=\"SKICLUB\" "
                  "action=\"UPSERT\"/></ROOT>",
                  "-1 Unknown action UPSERT in the document."},
         }) {
        EXPECT_EQ(Told(Call("VYM_SP_ITEM_UpdateSaleCustomerGroupsXML",
                            {{"@sale_no", c.saleNo},
                             {"@customer_qualified", -1},
                             {"@XMLDoc", std::string(c.document)}})),
                  c.answer);
        EXPECT_EQ(selected(1), changed) << c.document;
    }
    EXPECT_EQ(selected(4), std::vector<std::string>{"EMPLOYEE"});
    auto groups = test::Prepared(*db_, "VYM_SP_ITEM_GetSaleCustomerGroups", {{"@sale_no", 1}});
    auto rs = db_->ExecuteRecordset(*groups);
    int ticked = 0;
    for (; !rs->Eof(); rs->MoveNext()) {
        ticked += NullToZero(rs->Fields("Selected").Value()).ToLong();
    }
    EXPECT_EQ(ticked, 2);
}

}  // namespace
}  // namespace vym
