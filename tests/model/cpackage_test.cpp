// The package record against the demo back office: package 1 "Family Ski
// Week" (a ticket and a rental line, an instruction) and package 4 "Family Ski
// Week Online", redeemed as package 1 line by line.
#include "model/cpackage.h"

#include <gtest/gtest.h>

#include "base/prompter.h"
#include "catalogue_database.h"
#include "support/core/fields.h"
#include "support/server/fault_injecting_connection.h"

namespace vym::test {
namespace {

class CPackageTest : public RecordTest {
  protected:
    std::string Lines(int packageNo) {
        return db.Joined(
            "SELECT seq_no, ':', item_no, 'x', pkg_qty, ' f', format_no, ' r', redeem_seq_no "
            "FROM vym_package_item WHERE package_no = " +
                std::to_string(packageNo) + " ORDER BY seq_no",
            " ");
    }
};

TEST_F(CPackageTest, OpensTheHeaderItsLinesAndItsRedemptionPackage) {
    CPackage package;
    ASSERT_TRUE(package.OpenPackage(db.Db(), db.Errors(), 1));
    EXPECT_EQ(Fields(package.PackageNo, package.Description, package.IsActive, package.FunctionID,
                     package.FunctionDescription, package.CatagoryID, package.ShowOnTree,
                     package.TreeIcon, package.RedeemPackageNo),
              "1|Family Ski Week|true|LIFT|Lift Tickets|ADULT|true|y|0");
    EXPECT_NE(package.InstructionNo, 0);
    EXPECT_EQ(package.Instruction.rfind("Collect the lift tickets", 0), 0u);

    ASSERT_TRUE(package.OpenItems(db.Db(), db.Errors()));
    ASSERT_EQ(package.Items().size(), 2u);
    const CPackageItem& ticket = package.Items()[0];
    EXPECT_EQ(Fields(ticket.SeqNo, ticket.ItemNo, ticket.ItemType, ticket.LongDescription,
                     ticket.Qty, ticket.FormatNo),
              "1|100|TICKET|Adult Day Ticket|4|0");
    EXPECT_EQ(ticket.PackageParent, &package);
    EXPECT_EQ(package.Items()[1].ItemType, "RENTAL");
    EXPECT_EQ(package.FindItem(2), &package.Items()[1]);
    EXPECT_EQ(package.FindItem(9), nullptr);

    ASSERT_TRUE(package.OpenRegisterGroups(db.Db(), db.Errors()));
    ASSERT_EQ(package.RegisterGroups.size(), 2u);
    EXPECT_EQ(
        Fields(package.RegisterGroups[1].RegisterGroupId, package.RegisterGroups[1].Description),
        "TICKETS|Ticket Windows");

    CPackage online;
    ASSERT_TRUE(online.OpenPackage(db.Db(), db.Errors(), 4));
    EXPECT_EQ(Fields(online.RedeemPackageNo, online.RedeemPackageDesc, online.Instruction),
              "1|Family Ski Week|");
    ASSERT_TRUE(online.OpenItems(db.Db(), db.Errors()));
    ASSERT_EQ(online.Items().size(), 2u);
    EXPECT_NE(online.Items()[0].FormatNo, 0);
    EXPECT_EQ(online.Items()[1].FormatNo, 0);
    EXPECT_EQ(online.Items()[1].RedeemSeqNo, 2);

    CPackage missing;
    EXPECT_FALSE(missing.OpenPackage(db.Db(), db.Errors(), 999));
    EXPECT_EQ(missing.PackageNo, 0);
}

TEST_F(CPackageTest, ANewPackageIsSentAsNullAndTakesTheNumbersItWasGiven) {
    CPackage package;
    package.Description = "Beginner Weekend";
    package.FunctionID = "LIFT";
    package.CatagoryID = "ADULT";
    package.IsActive = false;
    package.TreeIcon = "U";
    package.Instruction = "Meet at the \"Magic Carpet\" & bring <gloves>.";
    ASSERT_TRUE(package.Update(&recording, db.Errors()));
    EXPECT_EQ(recording.calls.back().procedure, "VYM_SP_ITEM_UpdatePackage");
    EXPECT_TRUE(Sent("@package_no")->Value.IsNull());
    EXPECT_TRUE(Sent("@instruction_no")->Value.IsNull());
    EXPECT_TRUE(Sent("@redeem_package_no")->Value.IsNull());
    EXPECT_EQ(Sent("@is_active")->Value, Value(false));
    EXPECT_EQ(Sent("@vym_user")->Value, Value(db.Db()->CurrentUserId()));
    EXPECT_GT(package.PackageNo, 4);
    EXPECT_NE(package.InstructionNo, 0);

    CPackage read;
    ASSERT_TRUE(read.OpenPackage(db.Db(), db.Errors(), package.PackageNo));
    EXPECT_EQ(Fields(read.Description, read.IsActive), "Beginner Weekend|false");
    EXPECT_EQ(read.CatagoryDescription,
              db.Scalar("SELECT description FROM vym_catagory WHERE "
                        "function_id = 'LIFT' AND catagory_id = 'ADULT'"));
    EXPECT_EQ(read.Instruction, package.Instruction);
    EXPECT_EQ(read.InstructionNo, package.InstructionNo);

    // Emptied text removes the instruction; empty ids go as Null.
    const std::string instruction = std::to_string(package.InstructionNo);
    package.Instruction.clear();
    package.FunctionID.clear();
    package.CatagoryID.clear();
    ASSERT_TRUE(package.Update(&recording, db.Errors()));
    EXPECT_TRUE(Sent("@function_id")->Value.IsNull());
    EXPECT_EQ(Sent("@instruction_no")->Value, Value(std::stoi(instruction)));
    EXPECT_EQ(package.InstructionNo, 0);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM vym_item_instruction WHERE instruction_no = " +
                        instruction),
              "0");
}

TEST_F(CPackageTest, ARefusedSaveShowsTheMessageAndKeepsTheOldNumbers) {
    CPackage package;
    package.Description = " ";
    script.ExpectMessage("Description is required.", "Update Package Message", kInformation);
    EXPECT_FALSE(package.Update(db.Db(), db.Errors()));
    EXPECT_EQ(package.PackageNo, 0);

    ASSERT_TRUE(package.OpenPackage(db.Db(), db.Errors(), 1));
    const std::int32_t instruction = package.InstructionNo;
    package.RedeemPackageNo = 1;
    script.ExpectMessage("A package can not be redeemed as itself.", "Update Package Message",
                         kInformation);
    EXPECT_FALSE(package.Update(db.Db(), db.Errors()));
    EXPECT_EQ(package.PackageNo, 1);
    EXPECT_EQ(package.InstructionNo, instruction);
    EXPECT_EQ(db.Scalar("SELECT COALESCE(redeem_package_no, 0) FROM vym_package "
                        "WHERE package_no = 1"),
              "0");
}

TEST_F(CPackageTest, LinesAreAddedChangedAndRemovedThroughTheirQuantity) {
    CPackage package;
    ASSERT_TRUE(package.OpenPackage(db.Db(), db.Errors(), 1));
    ASSERT_TRUE(package.OpenItems(db.Db(), db.Errors()));
    const std::string before = Lines(1);

    CPackageItem child;
    child.ItemNo = 101;
    child.Qty = 2;
    CPackageItem& added = package.AddItem(child);
    EXPECT_EQ(added.PackageParent, &package);
    ASSERT_TRUE(added.UpdatePackageItem(&recording, db.Errors()));
    EXPECT_EQ(recording.calls.back().procedure, "VYM_SP_ITEM_UpdatePackageDetail");
    EXPECT_TRUE(Sent("@seq_no")->Value.IsNull());
    EXPECT_TRUE(Sent("@format_no")->Value.IsNull());
    EXPECT_TRUE(Sent("@redeem_seq_no")->Value.IsNull());
    EXPECT_EQ(Sent("@package_no")->Value, Value(std::int32_t{1}));
    EXPECT_EQ(added.SeqNo, 3);
    EXPECT_EQ(Lines(1), before + " 3:101x2 f- r-");

    // Never saved and already gone: nothing to tell the database.
    CPackageItem dropped;
    dropped.ItemNo = 102;
    dropped.Qty = 0;
    const std::size_t calls = recording.calls.size();
    EXPECT_TRUE(package.AddItem(dropped).UpdatePackageItem(&recording, db.Errors()));
    EXPECT_EQ(recording.calls.size(), calls);

    package.FindItem(3)->Qty = 0;
    package.FindItem(2)->Qty = 3;
    ASSERT_TRUE(package.UpdateItems(&recording, db.Errors()));
    EXPECT_EQ(recording.calls.size(), calls + 3);
    EXPECT_EQ(recording.calls.back().procedure, "VYM_SP_ITEM_DeletePackageDetail");
    EXPECT_EQ(Sent("@seq_no")->Value, Value(std::int16_t{3}));
    EXPECT_EQ(package.FindItem(3), nullptr) << "a deleted line is no longer saved";
    EXPECT_EQ(db.Joined("SELECT seq_no, 'x', pkg_qty FROM vym_package_item "
                        "WHERE package_no = 1 ORDER BY seq_no",
                        " "),
              "1x4 2x3");
}

TEST_F(CPackageTest, UpdateItemsStopsAtTheFirstRefusedLine) {
    CPackage package;
    ASSERT_TRUE(package.OpenPackage(db.Db(), db.Errors(), 1));
    ASSERT_TRUE(package.OpenItems(db.Db(), db.Errors()));
    const std::string before = Lines(1);
    package.FindItem(1)->ItemNo = 99999;
    package.FindItem(2)->Qty = 7;
    script.ExpectMessage("Item 99999 does not exist.", "Update Package Message", kInformation);
    EXPECT_FALSE(package.UpdateItems(&recording, db.Errors()));
    EXPECT_EQ(recording.calls.size(), 1u);
    EXPECT_EQ(Lines(1), before);

    // A line that another package is redeemed as stays.
    package.FindItem(1)->Qty = 0;
    script.ExpectMessage(
        "A line of the package Family Ski Week Online is redeemed as line 1, which can not be "
        "removed.",
        "Update Package Message", kInformation);
    EXPECT_FALSE(package.FindItem(1)->UpdatePackageItem(db.Db(), db.Errors()));
    EXPECT_EQ(package.FindItem(1)->SeqNo, 1);
    EXPECT_EQ(Lines(1), before);
}

TEST_F(CPackageTest, RedemptionMapsFollowTheRedemptionPackage) {
    CPackage online;
    ASSERT_TRUE(online.OpenPackage(db.Db(), db.Errors(), 4));
    ASSERT_TRUE(online.OpenItems(db.Db(), db.Errors()));
    CPackageItem& line = *online.FindItem(2);
    line.RedeemSeqNo = 5;
    script.ExpectMessage("Line 5 of the redemption package does not exist.",
                         "Update Package Message", kInformation);
    EXPECT_FALSE(line.UpdatePackageItem(db.Db(), db.Errors()));

    // Another redemption package: the old maps mean nothing there.
    online.RedeemPackageNo = 2;
    ASSERT_TRUE(online.Update(db.Db(), db.Errors()));
    EXPECT_EQ(db.Scalar("SELECT count(redeem_seq_no) FROM vym_package_item WHERE package_no = 4"),
              "0");
    line.RedeemSeqNo = 3;
    ASSERT_TRUE(line.UpdatePackageItem(db.Db(), db.Errors()));
    EXPECT_EQ(db.Scalar("SELECT redeem_seq_no FROM vym_package_item WHERE package_no = 4 AND "
                        "seq_no = 2"),
              "3");
}

TEST_F(CPackageTest, RegisterGroupsAreSavedAsOneEscapedDocument) {
    CPackage package;
    ASSERT_TRUE(package.OpenPackage(db.Db(), db.Errors(), 2));
    package.RegisterGroups = {{"SCHOOL", ""}, {"TICKETS", ""}};
    ASSERT_TRUE(package.UpdateRegisterGroups(&recording, db.Errors()));
    EXPECT_EQ(recording.calls.back().procedure, "VYM_SP_ITEM_UpdateRegisterGroupPackageXML");
    EXPECT_EQ(Sent("@XMLDOC")->Value.ToString(),
              "<ROOT>\r\n"
              "    <vym_register_group_package package_no=\"2\" register_group_id=\"SCHOOL\"/>\r\n"
              "    <vym_register_group_package package_no=\"2\" register_group_id=\"TICKETS\"/>\r\n"
              "</ROOT>");
    CPackage read;
    read.PackageNo = 2;
    ASSERT_TRUE(read.OpenRegisterGroups(db.Db(), db.Errors()));
    ASSERT_EQ(read.RegisterGroups.size(), 2u);
    EXPECT_EQ(read.RegisterGroups[0].RegisterGroupId, "SCHOOL");

    package.RegisterGroups = {{"A\"B<", ""}};
    script.ExpectMessage("Register group A\"B< does not exist.",
                         "Error Updating Register Group Item(s)", kInformation);
    EXPECT_FALSE(package.UpdateRegisterGroups(&recording, db.Errors()));
    EXPECT_NE(Sent("@XMLDOC")->Value.ToString().find("register_group_id=\"A&quot;B&lt;\""),
              std::string::npos);
    ASSERT_TRUE(read.OpenRegisterGroups(db.Db(), db.Errors()));
    EXPECT_EQ(read.RegisterGroups.size(), 2u);

    package.RegisterGroups.clear();
    ASSERT_TRUE(package.UpdateRegisterGroups(&recording, db.Errors()));
    EXPECT_EQ(Sent("@XMLDOC")->Value.ToString(),
              "<ROOT>\r\n"
              "    <vym_register_group_package package_no=\"2\" register_group_id=\"\"/>\r\n"
              "</ROOT>");
    ASSERT_TRUE(read.OpenRegisterGroups(db.Db(), db.Errors()));
    EXPECT_TRUE(read.RegisterGroups.empty());
}

TEST_F(CPackageTest, DatabaseErrorsAreReportedUnderTheOperation) {
    test::FaultInjectingConnection faulty(db.SharedDb(), *db.Errors());
    CPackage package;
    package.Description = "Never Saved";
    faulty.FailOnCall(1, test::FaultInjectingConnection::Fault::DiskFull);
    EXPECT_FALSE(package.Update(&faulty, db.Errors()));
    EXPECT_EQ(package.PackageNo, 0);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM vym_package WHERE description = 'Never Saved'"), "0");

    package.PackageNo = 1;
    faulty.FailOnCall(1, test::FaultInjectingConnection::Fault::Locked);
    EXPECT_FALSE(package.OpenItems(&faulty, db.Errors()));
    expectedReports = 2;
    ASSERT_EQ(db.Reports().size(), expectedReports);
    EXPECT_NE(db.Reports()[1].Source.find(".CPackage ("), std::string::npos);
    EXPECT_NE(db.Reports()[1].Source.find(") OpenItems"), std::string::npos);
}

}  // namespace
}  // namespace vym::test
