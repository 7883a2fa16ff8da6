#include "model/citem.h"

#include <gtest/gtest.h>

#include "base/prompter.h"
#include "catalogue_database.h"
#include "model/citem_photo.h"
#include "model/citem_rent.h"
#include "model/citem_ship.h"
#include "model/citem_ss.h"
#include "model/citem_stock.h"
#include "model/citem_ticket.h"
#include "support/core/fields.h"
#include "support/server/fault_injecting_connection.h"
#include "support/server/procedure_answer.h"

namespace vym::test {
namespace {

// Every common field set away from its default.
void FillCommon(CItem& item, const std::string& type) {
    item.SetItemType(type);
    item.FunctionID = "LIFT";
    item.CatagoryID = "ADULT";
    item.ShortDescription = "Test " + type;
    item.LongDescription = "Test item of type " + type;
    item.TreeIcon = "y";
    item.DepartmentId = "LIFT";
    item.HostRequired = true;
    item.RedeemItem = 100;
    item.Taxable = true;
    item.StatusId = "INACTIVE";
    item.Instruction = "Keep the \"ticket\" visible & dry.";
    item.CommentNote = "Sold at window 3";
    item.ReportNotes = "GL 4010";
    item.UnitBasedReturn = true;
    item.ReturnChargeRate = 0.15;
    item.MaintainInventory = false;
    item.ShowOnTree = true;
    item.SaleProfileId = "AGE";
    item.ReturnProfileId = "RETURN";
}

// The common fields a save writes and an open reads back.
std::string Common(const CItem& i) {
    return Fields(i.ItemNo, i.ItemType(), i.FunctionID, i.CatagoryID, i.ShortDescription,
                  i.LongDescription, i.TreeIcon, i.DepartmentId, i.HostRequired, i.RedeemItem,
                  i.Taxable, i.StatusId, i.InstructionNo, i.Instruction, i.CommentNote,
                  i.ReportNotes, i.UnitBasedReturn, i.ReturnChargeRate, i.MaintainInventory,
                  i.ShowOnTree, i.SaleProfileId, i.ReturnProfileId);
}

class CItemTest : public RecordTest {
  protected:
    // Saves the item as new, checks the numbers it got, reopens it into `read`.
    void SaveAndReopen(CItem& item, CItem& read) {
        ASSERT_TRUE(item.Update(db.Db(), db.Errors()));
        ASSERT_GT(item.ItemNo, 702);
        ASSERT_GT(item.InstructionNo, 0);
        EXPECT_EQ(item.SubItem()->ItemNo(), item.ItemNo);
        ASSERT_TRUE(read.OpenItem(db.Db(), db.Errors(), item.ItemNo));
        EXPECT_EQ(Common(read), Common(item));
        EXPECT_EQ(Fields(read.FunctionDescription, read.CatagoryDescription,
                         read.RedeemItemDescription, read.RedeemItemType),
                  "Lift Tickets|Adult|Adult Day Ticket|TICKET");
        ASSERT_NE(read.SubItem(), nullptr);
        EXPECT_EQ(read.SubItem()->ParentItem(), &read);
        EXPECT_EQ(read.SubItem()->ItemNo(), item.ItemNo);
    }
};

TEST_F(CItemTest, NewItemDefaultsAndTypeCreatesOneSubRecord) {
    CItem item;
    EXPECT_EQ(item.StatusId, "ACTIVE");
    EXPECT_TRUE(item.MaintainInventory);
    EXPECT_FALSE(item.PromptForAccessNo());
    EXPECT_EQ(item.FormatNo(), 0);

    item.SetItemType("BOGUS");
    EXPECT_EQ(item.SubItem(), nullptr);
    item.SetItemType("TICKET");
    ASSERT_NE(item.TicketItem(), nullptr);
    EXPECT_EQ(item.TicketItem()->ParentItem(), &item);
    EXPECT_TRUE(item.PromptForAccessNo());
    item.TicketItem()->SetFormatNo(7);
    item.TicketItem()->SetUseNegativeFormat(true);
    EXPECT_EQ(item.FormatNo(), 7);
    EXPECT_TRUE(item.UseNegativeFormat());

    // A second type keeps the ticket record, and no accessor hands it out
    // under the wrong type.
    CItemDetail* ticket = item.SubItem();
    item.SetItemType("STOCK");
    EXPECT_EQ(item.SubItem(), ticket);
    EXPECT_EQ(item.StockItem(), nullptr);
    EXPECT_EQ(item.TicketItem(), nullptr);
}

TEST_F(CItemTest, TicketAndSkiSchoolRoundTrip) {
    CItem ticket;
    FillCommon(ticket, "TICKET");
    CItemTicket& t = *ticket.TicketItem();
    t.AccessRuleNo = 2;
    t.AccessTransTypeId = "SCAN";
    t.SetFormatNo(1);
    t.SetUseNegativeFormat(true);
    t.Serialized = true;
    CItem readTicket;
    SaveAndReopen(ticket, readTicket);
    ASSERT_NE(readTicket.TicketItem(), nullptr);
    const CItemTicket& rt = *readTicket.TicketItem();
    EXPECT_EQ(Fields(rt.AccessRuleNo, rt.AccessTransTypeId, rt.FormatNo(), rt.UseNegativeFormat(),
                     rt.Serialized),
              "2|SCAN|1|true|true");

    CItem item;
    FillCommon(item, "SS");
    CItemSS& s = *item.SSItem();
    s.SetFormatNo(5);
    s.LaborCodeId = "GRPLES";
    s.EventTypeId = "CLINIC";
    s.Serialized = true;
    s.AccessRuleNo = 3;
    s.AccessTransTypeId = "LESSON";
    s.ConfirmationLetter = "LessonConfirm";
    s.ResourceTypeId = "INSTR";
    s.LessonCodeId = "L2";
    s.LaborHours = 3;
    s.ScheduledHours = 4;
    CItem read;
    SaveAndReopen(item, read);
    ASSERT_NE(read.SSItem(), nullptr);
    const CItemSS& r = *read.SSItem();
    EXPECT_EQ(Fields(r.FormatNo(), r.LaborCodeId, r.EventTypeId, r.Serialized, r.AccessRuleNo,
                     r.AccessTransTypeId, r.ConfirmationLetter, r.ResourceTypeId, r.LessonCodeId,
                     r.LaborHours, r.ScheduledHours),
              "5|GRPLES|CLINIC|true|3|LESSON|LessonConfirm|INSTR|L2|3|4");
}

TEST_F(CItemTest, PhotoAndShipRoundTrip) {
    CItem photo;
    FillCommon(photo, "PHOTO");
    CItemPhoto& p = *photo.ItemPhoto();
    p.PhotoSize = "8X10";
    p.AutoRush = p.MailNotAllowed = p.RequireShipCharge = true;
    p.LabCode = "ONSITE";
    CItem readPhoto;
    SaveAndReopen(photo, readPhoto);
    ASSERT_NE(readPhoto.ItemPhoto(), nullptr);
    const CItemPhoto& r = *readPhoto.ItemPhoto();
    EXPECT_EQ(Fields(r.PhotoSize, r.AutoRush, r.MailNotAllowed, r.RequireShipCharge, r.LabCode),
              "8X10|true|true|true|ONSITE");

    CItem ship;
    FillCommon(ship, "SHIP");
    ship.ItemShip()->Rush = true;
    ship.ItemShip()->Pickup = true;
    CItem readShip;
    SaveAndReopen(ship, readShip);
    ASSERT_NE(readShip.ItemShip(), nullptr);
    EXPECT_EQ(Fields(readShip.ItemShip()->Rush, readShip.ItemShip()->Pickup), "true|true");
}

TEST_F(CItemTest, RentalAndStockRoundTrip) {
    CItem item;
    FillCommon(item, "RENTAL");
    CItemRent& r = *item.RentItem();
    r.ReportDepartmentId = "RENTREV";
    r.ReportSubDepartmentId = "SKIRENT";
    r.UnitPrice = 42.5;
    r.MinPrice = 35.25;
    r.AllowLineDiscount = r.AllowSellerPricing = r.IsAPackage = r.SeasonRental = true;
    r.SetStatusId("INACTIVE");
    CItem read;
    SaveAndReopen(item, read);
    ASSERT_NE(read.RentItem(), nullptr);
    const CItemRent& ro = *read.RentItem();
    EXPECT_EQ(Fields(ro.ReportDepartmentId, ro.ReportSubDepartmentId, ro.UnitPrice, ro.MinPrice,
                     ro.AllowLineDiscount, ro.AllowSellerPricing, ro.IsAPackage, ro.SeasonRental),
              "RENTREV|SKIRENT|42.5|35.25|true|true|true|true");

    CItem stock;
    FillCommon(stock, "STOCK");
    CItemStock& s = *stock.StockItem();
    s.StockTypeId = "APPAREL";
    s.Serialized = true;
    s.SetFormatNo(3);
    s.StockSize = "XL";
    s.StockAttribute = "Green";
    s.Style = "Hooded";
    s.Manufacturer = "Alpine Gear";
    s.Model = "SHELL";
    s.MinPrice = 100.5;
    s.UnitPrice = 179.99;
    s.AllowLineDiscount = false;
    s.AllowSellerPricing = true;
    s.BaseUOMId = "EA";
    s.CurrentCost = 91.25;
    s.MinQty = 3;
    s.VendorId = "ALPINEGEAR";
    s.SetStatusId("INACTIVE");
    s.RentalType = "RETAIL";
    s.ReportDepartmentId = "SOFTG";
    s.ReportSubDepartmentId = "JACKETS";
    s.GroupNo = 12;
    s.StockSizeTypeId = "ALPHA";
    s.SerialTypeId = "SKI";
    s.BindingTypeId = "STD";
    s.BootLength = 300;
    s.UPC = "071234599999";
    CItem readStock;
    SaveAndReopen(stock, readStock);
    ASSERT_NE(readStock.StockItem(), nullptr);
    const CItemStock& o = *readStock.StockItem();
    EXPECT_EQ(Fields(o.StockTypeId, o.StockTypeDesc, o.Serialized, o.FormatNo(), o.StockSize,
                     o.StockAttribute, o.Style, o.Manufacturer, o.Model, o.StockModelDesc,
                     o.ModelSerialPrefix, o.MinPrice, o.UnitPrice, o.AllowLineDiscount,
                     o.AllowSellerPricing, o.BaseUOMId, o.BaseUOMDesc, o.CurrentCost, o.MinQty),
              "APPAREL|Apparel|true|3|XL|Green|Hooded|Alpine Gear|SHELL|Summit Shell Jacket||"
              "100.5|179.99|false|true|EA|Each|91.25|3");
    EXPECT_EQ(Fields(o.VendorId, o.VendorName, o.StatusId(), o.RentalType, o.ReportDepartmentId,
                     o.ReportSubDepartmentId, o.GroupNo, o.StockSizeTypeId, o.StockSizeTypeDesc,
                     o.QOH, o.HasSerialNumbers, o.SerialTypeId, o.SerialTypeDesc, o.BindingTypeId,
                     o.BindingTypeDesc, o.BootLength, o.UPC, o.DataChanged),
              "ALPINEGEAR|Alpine Gear Supply Co.|INACTIVE|RETAIL|SOFTG|JACKETS|12|ALPHA|"
              "Letter Sizes|0|false|SKI|Ski|STD|Standard Rental|300|071234599999|false");
}

TEST_F(CItemTest, NewInstructionIsSentAsMinusOneAndLongTextComesBackWhole) {
    CItem item;
    ASSERT_TRUE(item.OpenItem(db.Db(), db.Errors(), 101));
    ASSERT_EQ(item.InstructionNo, 0);
    std::string text;
    while (text.size() < 5000) {
        text += "Line " + std::to_string(text.size()) + ": ski patrol \xC3\xA9quipe\r\n";
    }
    text.resize(5000);
    item.Instruction = text;
    ASSERT_TRUE(item.Update(&recording, db.Errors()));
    const auto* sent = Sent("@instruction_no");
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(sent->Value, Value(std::int32_t{-1}));
    EXPECT_EQ(item.ItemNo, 101);
    EXPECT_GT(item.InstructionNo, 0);

    {
        // The text comes back as long data, which is read by chunks.
        auto cmd = Prepared(*db.Db(), "VYM_SP_ITEM_GetItem", {{"@item_no", std::int32_t{101}}});
        auto rs = db.Db()->ExecuteRecordset(*cmd);
        EXPECT_NE(rs->Fields("Instruction_Body").Attributes() & kFieldLong, 0);
    }
    CItem read;
    ASSERT_TRUE(read.OpenItem(db.Db(), db.Errors(), 101));
    EXPECT_EQ(read.InstructionNo, item.InstructionNo);
    EXPECT_EQ(read.Instruction.size(), 5000u);
    EXPECT_EQ(read.Instruction, text);

    // A second save rewrites the same instruction; clearing the text drops it.
    read.Instruction = "Short now.";
    ASSERT_TRUE(read.Update(db.Db(), db.Errors()));
    EXPECT_EQ(read.InstructionNo, item.InstructionNo);
    read.Instruction.clear();
    ASSERT_TRUE(read.Update(db.Db(), db.Errors()));
    EXPECT_EQ(read.InstructionNo, 0);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM vym_item_instruction WHERE instruction_no = " +
                        std::to_string(item.InstructionNo)),
              "0");
}

TEST_F(CItemTest, RefusedSaveShowsTheProcedureMessageAndChangesNothing) {
    const std::string before = db.Snapshot();
    CItem item;
    ASSERT_TRUE(item.OpenItem(db.Db(), db.Errors(), 100));
    item.FunctionID = "NOSUCH";
    script.ExpectMessage("Function NOSUCH does not exist.", "Update Item TICKET Message",
                         kInformation);
    EXPECT_FALSE(item.Update(db.Db(), db.Errors()));

    CItem stock;
    ASSERT_TRUE(stock.OpenItem(db.Db(), db.Errors(), 500));
    stock.StockItem()->VendorId = "NOBODY";
    script.ExpectMessage("Vendor NOBODY does not exist.", "Update Item STOCK Message",
                         kInformation);
    EXPECT_FALSE(stock.Update(db.Db(), db.Errors()));

    // A detail record of another type is refused rather than half saved.
    CItem mixed;
    FillCommon(mixed, "TICKET");
    mixed.SetItemType("SHIP");
    script.ExpectMessage("A SHIP item can not be saved as a TICKET item.",
                         "Update Item SHIP Message", kInformation);
    EXPECT_FALSE(mixed.Update(db.Db(), db.Errors()));
    EXPECT_EQ(db.Snapshot(), before);
}

TEST_F(CItemTest, FailedSaveReportsAndLeavesTheDatabaseUnchanged) {
    const std::string before = db.Snapshot();
    test::FaultInjectingConnection faulty(db.SharedDb(), *db.Errors());
    CItem item;
    FillCommon(item, "STOCK");
    item.StockItem()->StockTypeId = "APPAREL";
    faulty.FailOnCall(1, test::FaultInjectingConnection::Fault::DiskFull);
    EXPECT_FALSE(item.Update(&faulty, db.Errors()));
    EXPECT_EQ(item.ItemNo, 0);
    EXPECT_EQ(item.InstructionNo, 0);
    EXPECT_EQ(db.Snapshot(), before);
    ASSERT_FALSE(db.Reports().empty());

    faulty.FailOnCall(1, test::FaultInjectingConnection::Fault::Locked);
    EXPECT_FALSE(item.UpdateExtensions(&faulty, db.Errors()));
    EXPECT_EQ(db.Snapshot(), before);
    // Both failures were reported; nothing else.
    expectedReports = 2;
    EXPECT_EQ(db.Reports().size(), expectedReports);
}

TEST_F(CItemTest, OpeningAMissingItemFails) {
    CItem item;
    EXPECT_FALSE(item.OpenItem(db.Db(), db.Errors(), 99999));
    EXPECT_EQ(item.ItemNo, 99999);
    EXPECT_EQ(item.SubItem(), nullptr);
    EXPECT_FALSE(item.OpenItem(nullptr, db.Errors(), 100));
}

TEST_F(CItemTest, ListsLoadInProcedureOrder) {
    CItem item;
    ASSERT_TRUE(item.OpenItem(db.Db(), db.Errors(), 100));
    ASSERT_TRUE(item.OpenExtensions(db.Db(), db.Errors()));
    ASSERT_EQ(item.Extensions.size(), 2u);
    const CItemExtension& first = item.Extensions[0];
    EXPECT_EQ(Fields(first.ChildItemNo, first.ParentItemNo, first.ChildLongDescription,
                     first.MaxQtyPerTrans, item.Extensions[1].Activating),
              "103|100|Additional Consecutive Day|6|true");
    ASSERT_TRUE(item.OpenAddOns(db.Db(), db.Errors()));
    ASSERT_EQ(item.AddOns.size(), 1u);
    EXPECT_EQ(Fields(item.AddOns[0].ChildItemNo, item.AddOns[0].Price), "105|8");
    ASSERT_TRUE(item.OpenRegisterGroups(db.Db(), db.Errors()));
    ASSERT_EQ(item.RegisterGroups.size(), 1u);
    EXPECT_EQ(Fields(item.RegisterGroups[0].RegisterGroupId, item.RegisterGroups[0].Description),
              "TICKETS|Ticket Windows");
    EXPECT_TRUE(item.HasExtensions(db.Db(), db.Errors()));
    CItem lesson;
    lesson.ItemNo = 200;
    EXPECT_FALSE(lesson.HasExtensions(db.Db(), db.Errors()));
    EXPECT_EQ(item.GetDescription(db.Db(), db.Errors(), 702), "Adult Ski Package (Skis, Boots)");
}

TEST_F(CItemTest, CreateCopyCopiesDetailAndLists) {
    CItem item;
    ASSERT_TRUE(item.OpenItem(db.Db(), db.Errors(), 100));
    const std::int32_t copyNo = item.CreateCopy(db.Db(), db.Errors());
    ASSERT_GT(copyNo, 702);
    CItem copy;
    ASSERT_TRUE(copy.OpenItem(db.Db(), db.Errors(), copyNo));
    EXPECT_EQ(copy.LongDescription, item.LongDescription);
    EXPECT_EQ(copy.Instruction, item.Instruction);
    EXPECT_NE(copy.InstructionNo, item.InstructionNo);
    ASSERT_NE(copy.TicketItem(), nullptr);
    EXPECT_EQ(copy.TicketItem()->FormatNo(), 1);
    EXPECT_EQ(copy.TicketItem()->AccessRuleNo, 1);
    EXPECT_TRUE(copy.HasExtensions(db.Db(), db.Errors()));
    ASSERT_TRUE(copy.OpenAddOns(db.Db(), db.Errors()));
    EXPECT_EQ(copy.AddOns.size(), 1u);
    EXPECT_EQ(db.Scalar("SELECT item_no FROM vym_item_stock_map WHERE map_id = '" +
                        std::to_string(copyNo) + "'"),
              std::to_string(copyNo));

    CItem missing;
    missing.ItemNo = 99999;
    EXPECT_EQ(missing.CreateCopy(db.Db(), db.Errors()), 0);
}

// A record keeps the version it read: it saves again without a conflict,
// while a record that read the item before another station saved it is
// refused without a message of its own and leaves the item as it was.
TEST_F(CItemTest, KeepsTheVersionItReadAndIsRefusedWhenAnotherStationSavedSince) {
    auto station = db.Office().OpenAgain("JSMITH");
    CItem mine;
    CItem theirs;
    ASSERT_TRUE(mine.OpenItem(db.Db(), db.Errors(), 101));
    ASSERT_TRUE(theirs.OpenItem(station->DBConnection().get(), &station->ErrorObject(), 101));

    for (const char* text : {"Child Day 1", "Child Day 2"}) {
        theirs.ShortDescription = text;
        ASSERT_TRUE(theirs.Update(station->DBConnection().get(), &station->ErrorObject()));
        EXPECT_EQ(theirs.RowConflict(), "");
    }
    mine.ShortDescription = "Junior Day";
    EXPECT_FALSE(mine.Update(db.Db(), db.Errors()));
    EXPECT_TRUE(mine.RowConflict().starts_with("This item was changed by JSMITH at "))
        << mine.RowConflict();
    EXPECT_EQ(db.Scalar("SELECT short_description FROM vym_item WHERE item_no = 101"),
              "Child Day 2");

    ASSERT_TRUE(mine.OpenItem(db.Db(), db.Errors(), 101));
    mine.ShortDescription = "Junior Day";
    EXPECT_TRUE(mine.Update(db.Db(), db.Errors()));
    EXPECT_EQ(mine.RowConflict(), "");
    EXPECT_EQ(db.Scalar("SELECT short_description FROM vym_item WHERE item_no = 101"),
              "Junior Day");
    EXPECT_TRUE(db.Reports().empty());
}

}  // namespace
}  // namespace vym::test
