// The detail records: what their saves send, and what opening a missing row
// leaves behind.
#include "model/citem_detail.h"

#include <gtest/gtest.h>

#include "catalogue_database.h"
#include "model/citem_photo.h"
#include "model/citem_rent.h"
#include "model/citem_ship.h"
#include "model/citem_ss.h"
#include "model/citem_stock.h"
#include "model/citem_ticket.h"

namespace vym::test {
namespace {

class CItemDetailTest : public RecordTest {
  protected:
    std::unique_ptr<Command> Prepared(CItemDetail& detail) {
        auto cmd = db.Db()->NewCommand();
        EXPECT_TRUE(detail.Update(*cmd, db.Errors()));
        return cmd;
    }
};

// Empty ski school and stock values go as Null, ticket values as they stand;
// rental prices go as doubles and the stock flags as integers.
TEST_F(CItemDetailTest, EachSaveSendsEmptyValuesAsNullOrAsTheyStandInTheProceduresTypes) {
    CItemSS ss;
    auto cmd = Prepared(ss);
    EXPECT_EQ(cmd->CommandText, "VYM_SP_ITEM_UpdateItemSS");
    for (const char* name :
         {"@format_no", "@labor_code_id", "@event_type_id", "@access_trans_type_id",
          "@confirmation_letter_report", "@resource_type_id", "@lesson_code_id"}) {
        EXPECT_TRUE(cmd->Parameters[name].Value.IsNull()) << name;
    }
    EXPECT_EQ(cmd->Parameters["@access_rule_no"].Value, Value(std::int32_t{0}));
    EXPECT_EQ(cmd->Parameters["@labor_hours"].Value, Value(std::int16_t{0}));

    CItemTicket ticket;
    cmd = Prepared(ticket);
    EXPECT_EQ(cmd->CommandText, "VYM_SP_ITEM_UpdateItemTicket");
    EXPECT_EQ(cmd->Parameters["@format_no"].Value, Value(std::int32_t{0}));
    EXPECT_EQ(cmd->Parameters["@access_trans_type_id"].Value, Value(""));
    EXPECT_EQ(cmd->Parameters["@use_negative_format"].Value, Value(false));

    CItemRent rent;
    rent.UnitPrice = 12.75;
    rent.MinPrice = 10;
    cmd = Prepared(rent);
    EXPECT_EQ(cmd->CommandText, "VYM_SP_ITEM_UpdateItemRental");
    EXPECT_TRUE(cmd->Parameters["@report_department_id"].Value.IsNull());
    EXPECT_TRUE(cmd->Parameters["@report_sub_department_id"].Value.IsNull());
    EXPECT_EQ(cmd->Parameters["@unit_price"].Value, Value(12.75));
    EXPECT_EQ(cmd->Parameters["@min_price"].Value, Value(10.0));

    CItemStock stock;
    stock.Serialized = true;
    stock.AllowLineDiscount = true;
    stock.MinQty = 2;
    cmd = Prepared(stock);
    EXPECT_EQ(cmd->CommandText, "vym_sp_ITEM_UpdateItemStock");
    for (const char* name :
         {"@stock_type_id", "@format_no", "@stock_size", "@attribute", "@style", "@manufacturer",
          "@model_id", "@vendor_id", "@rental_type", "@report_department_id",
          "@report_sub_department_id", "@group_no", "@stock_size_type_id", "@serial_type_id",
          "@binding_type_id", "@upc_code"}) {
        EXPECT_TRUE(cmd->Parameters[name].Value.IsNull()) << name;
    }
    EXPECT_EQ(cmd->Parameters["@serialized"].Value, Value(std::int16_t{1}));
    EXPECT_EQ(cmd->Parameters["@allow_line_discount"].Value, Value(std::int16_t{-1}));
    EXPECT_EQ(cmd->Parameters["@allow_seller_pricing"].Value, Value(std::int16_t{0}));
    EXPECT_EQ(cmd->Parameters["@base_uom_id"].Value, Value(""));
    EXPECT_EQ(cmd->Parameters["@status_id"].Value, Value("ACTIVE"));
    EXPECT_EQ(cmd->Parameters["@min_qty"].Value, Value(std::int16_t{2}));
    EXPECT_EQ(cmd->Parameters["@min_price"].Value, Value(0.0));
}

TEST_F(CItemDetailTest, OpeningAnItemWithoutTheRowLeavesFieldsAlone) {
    CItemTicket ticket;
    ticket.AccessTransTypeId = "KEEP";
    EXPECT_FALSE(ticket.OpenTicket(db.Db(), db.Errors(), 500));
    EXPECT_EQ(ticket.ItemNo(), 500);
    EXPECT_EQ(ticket.AccessTransTypeId, "KEEP");
    CItemSS ss;
    EXPECT_FALSE(ss.OpenSS(db.Db(), db.Errors(), 100, "BASE"));
    EXPECT_EQ(ss.LaborHours, 0);
    EXPECT_EQ(ss.FormatNo(), 0);
    CItemPhoto photo;
    EXPECT_FALSE(photo.OpenItem(db.Db(), db.Errors(), 100));
    EXPECT_EQ(photo.PhotoSize, "");
    CItemShip ship;
    EXPECT_FALSE(ship.OpenItem(db.Db(), db.Errors(), 100));
    EXPECT_FALSE(ship.Rush);
    CItemRent rent;
    EXPECT_FALSE(rent.OpenRent(db.Db(), db.Errors(), 100));
    EXPECT_FALSE(rent.OpenRent(nullptr, db.Errors(), 700));
    EXPECT_TRUE(rent.OpenRent(db.Db(), db.Errors(), 702));
    EXPECT_TRUE(rent.IsAPackage);
}

TEST_F(CItemDetailTest, PromptForAccessNoDependsOnTheTypeOnly) {
    CItemTicket ticket;
    CItemSS ss;
    ASSERT_TRUE(ticket.OpenTicket(db.Db(), db.Errors(), 105));  // stored without access rule
    ASSERT_TRUE(ss.OpenSS(db.Db(), db.Errors(), 200));
    EXPECT_TRUE(ticket.PromptForAccessNo());
    EXPECT_TRUE(ss.PromptForAccessNo());
    EXPECT_FALSE(CItemPhoto().PromptForAccessNo());
    EXPECT_FALSE(CItemShip().PromptForAccessNo());
    EXPECT_FALSE(CItemRent().PromptForAccessNo());
    EXPECT_FALSE(CItemStock().PromptForAccessNo());
}

}  // namespace
}  // namespace vym::test
