// The item's list saves: the exact documents sent, what the procedures make
// of them, and map id checks.
#include <gtest/gtest.h>

#include "base/prompter.h"
#include "catalogue_database.h"
#include "model/citem.h"
#include "support/server/procedure_answer.h"

namespace vym::test {
namespace {

class CItemListsTest : public RecordTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(item.OpenItem(db.Db(), db.Errors(), 100));
        read.ItemNo = 100;
    }
    const RecordingConnection::Call& LastCall() { return recording.calls.back(); }
    std::string SentDocument(std::string_view name) {
        const Parameter* p = LastCall().Find(name);
        return p == nullptr ? std::string("<no parameter>") : p->Value.ToString();
    }
    // Runs an XML procedure directly, as a caller that builds its own rows.
    std::string CallDocumentProcedure(const std::string& procedure, const std::string& doc) {
        const auto answer = CallProcedure(*db.Db(), procedure, ProcedureArgs{{"@DOC", doc}});
        EXPECT_EQ(answer.returned, 1);
        return answer.message;
    }

    CItem item;
    CItem read;  // the item as the lists are read back
};

TEST_F(CItemListsTest, RegisterGroupDocumentsAndDeclaredParameters) {
    item.RegisterGroups = {{"TICKETS", ""}, {"SCHOOL", ""}};
    ASSERT_TRUE(item.UpdateRegisterGroups(&recording, db.Errors()));
    const std::string doc = SentDocument("@XMLDoc");
    EXPECT_EQ(doc,
              "<ROOT>\r\n"
              "    <vym_register_group_item item_no=\"100\" register_group_id=\"TICKETS\"/>\r\n"
              "    <vym_register_group_item item_no=\"100\" register_group_id=\"SCHOOL\"/>\r\n"
              "</ROOT>\r\n");
    const auto& params = LastCall().parameters;
    ASSERT_EQ(params.size(), 3u);
    EXPECT_EQ(LastCall().procedure, "VYM_SP_ITEM_UpdateRegisterGroupItemsXML");
    EXPECT_EQ(params[0].Name, "@@RETURN_VALUE");
    EXPECT_EQ(params[0].Type, DataType::Integer);
    EXPECT_EQ(params[0].Direction, ParameterDirection::ReturnValue);
    EXPECT_EQ(params[1].Name, "@XMLDoc");
    EXPECT_EQ(params[1].Type, DataType::LongVarChar);
    EXPECT_EQ(params[1].Size, static_cast<std::int32_t>(doc.size()));
    EXPECT_EQ(params[2].Name, "@Message");
    EXPECT_EQ(params[2].Type, DataType::VarWChar);
    EXPECT_EQ(params[2].Size, 256);
    EXPECT_EQ(params[2].Direction, ParameterDirection::ReturnValue);
    ASSERT_TRUE(read.OpenRegisterGroups(db.Db(), db.Errors()));
    ASSERT_EQ(read.RegisterGroups.size(), 2u);
    EXPECT_EQ(read.RegisterGroups[0].RegisterGroupId, "SCHOOL");

    item.RegisterGroups.clear();
    ASSERT_TRUE(item.UpdateRegisterGroups(&recording, db.Errors()));
    EXPECT_EQ(SentDocument("@XMLDoc"),
              "<ROOT>\r\n"
              "    <vym_register_group_item item_no=\"100\" register_group_id=\"\"/>\r\n"
              "</ROOT>\r\n");
    ASSERT_TRUE(read.OpenRegisterGroups(db.Db(), db.Errors()));
    EXPECT_TRUE(read.RegisterGroups.empty());
}

TEST_F(CItemListsTest, AttributeValuesAreEscaped) {
    const std::string before = db.Snapshot();
    item.RegisterGroups = {{"A\"B&<C>", ""}};
    // The procedure reads back exactly the id that was sent.
    script.ExpectMessage("Register group A\"B&<C> does not exist.",
                         "Error Updating Register Group Item(s)", kInformation);
    EXPECT_FALSE(item.UpdateRegisterGroups(&recording, db.Errors()));
    EXPECT_NE(SentDocument("@XMLDoc").find("register_group_id=\"A&quot;B&amp;&lt;C&gt;\""),
              std::string::npos);
    EXPECT_EQ(db.Snapshot(), before);
}

TEST_F(CItemListsTest, ExtensionDocumentsAndRoundTrip) {
    item.Extensions = {{100, 103, "", true, 2, 6, false}, {100, 102, "", false, 0, 1, true}};
    ASSERT_TRUE(item.UpdateExtensions(&recording, db.Errors()));
    EXPECT_EQ(LastCall().procedure, "VYM_SP_ITEM_UpdateItemExtensionsXML");
    EXPECT_EQ(LastCall().parameters[0].Name, "@RETURN_VALUE");
    EXPECT_EQ(SentDocument("@XMLDoc"),
              "<ROOT>\r\n"
              "    <vym_extension parent_item_no=\"100\" child_item_no=\"103\" "
              "create_new_product=\"-1\" max_qty_per_season=\"2\" max_qty_per_trans=\"6\" "
              "activating=\"0\"/>\r\n"
              "    <vym_extension parent_item_no=\"100\" child_item_no=\"102\" "
              "create_new_product=\"0\" max_qty_per_season=\"0\" max_qty_per_trans=\"1\" "
              "activating=\"-1\"/>\r\n"
              "</ROOT>\r\n");
    ASSERT_TRUE(read.OpenExtensions(db.Db(), db.Errors()));
    ASSERT_EQ(read.Extensions.size(), 2u);
    EXPECT_EQ(read.Extensions[0].ChildItemNo, 103);
    EXPECT_TRUE(read.Extensions[0].CreateNewProduct);
    EXPECT_EQ(read.Extensions[0].MaxQtyPerSeason, 2);
    EXPECT_EQ(read.Extensions[1].ChildItemNo, 102);
    EXPECT_TRUE(read.Extensions[1].Activating);

    item.Extensions.clear();
    ASSERT_TRUE(item.UpdateExtensions(&recording, db.Errors()));
    EXPECT_EQ(SentDocument("@XMLDoc"),
              "<ROOT>\r\n"
              "    <vym_extension parent_item_no=\"100\" child_item_no=\"0\" "
              "create_new_product=\"0\" max_qty_per_season=\"0\" max_qty_per_trans=\"0\" "
              "activating=\"0\"/>\r\n"
              "</ROOT>\r\n");
    EXPECT_FALSE(item.HasExtensions(db.Db(), db.Errors()));

    // An item cannot extend itself: refused, with the procedure's message.
    item.Extensions = {{100, 100, "", false, 0, 0, false}};
    script.ExpectMessage("Item 100 can not be its own child.", "Error Updating Extension Item(s)",
                         kInformation);
    EXPECT_FALSE(item.UpdateExtensions(db.Db(), db.Errors()));
}

TEST_F(CItemListsTest, AddOnDocumentsAndRoundTrip) {
    item.AddOns = {{100, 105, "", 1, "", 3, "", 12.5}, {100, 106, "", 0, "", 0, "", 0}};
    ASSERT_TRUE(item.UpdateAddOns(&recording, db.Errors()));
    EXPECT_EQ(LastCall().procedure, "VYM_SP_ITEM_ADD_ON_update");
    EXPECT_EQ(SentDocument("@XMLDoc"),
              "<ROOT>\r\n"
              "    <vym_item_add_on parent_item_no=\"100\" child_item_no=\"105\" format_no=\"1\" "
              "access_rule_no=\"3\" price=\"12.5\"/>\r\n"
              "    <vym_item_add_on parent_item_no=\"100\" child_item_no=\"106\" format_no=\"0\" "
              "access_rule_no=\"0\" price=\"0\"/>\r\n"
              "</ROOT>\r\n");
    ASSERT_TRUE(read.OpenAddOns(db.Db(), db.Errors()));
    ASSERT_EQ(read.AddOns.size(), 2u);
    EXPECT_EQ(read.AddOns[0].FormatDescription, "Day Ticket");
    EXPECT_EQ(read.AddOns[0].AccessRuleDesc, "Weekdays Only");
    EXPECT_DOUBLE_EQ(read.AddOns[0].Price, 12.5);
    EXPECT_EQ(read.AddOns[1].FormatNo, 0);

    item.AddOns.clear();
    ASSERT_TRUE(item.UpdateAddOns(&recording, db.Errors()));
    EXPECT_EQ(SentDocument("@XMLDoc"),
              "<ROOT>\r\n"
              "    <vym_item_add_on parent_item_no=\"100\" child_item_no=\"0\" format_no=\"0\" "
              "access_rule_no=\"0\" price=\"0\"/>\r\n"
              "</ROOT>\r\n");
    ASSERT_TRUE(read.OpenAddOns(db.Db(), db.Errors()));
    EXPECT_TRUE(read.AddOns.empty());
}

TEST_F(CItemListsTest, RentalDetailAndMapDocuments) {
    const std::string row =
        "<vym_item_rental_detail item_no=\"703\" detail_item_no=\"701\" action=\"INSERT\" "
        "vym_user=\"ADMIN\" />\r";
    ASSERT_TRUE(item.UpdateRentalDetail(&recording, db.Errors(), row));
    EXPECT_EQ(LastCall().procedure, "VYM_SP_ITEM_UpdateItemRentalDetailXML");
    EXPECT_EQ(SentDocument("@DOC"), "<ROOT>\r\n" + row + "\r\n</ROOT>");
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM vym_item_rental_detail WHERE item_no = 703"), "1");

    const std::size_t calls = recording.calls.size();
    EXPECT_FALSE(item.UpdateMaps(&recording, db.Errors(), ""));
    EXPECT_EQ(recording.calls.size(), calls);

    const std::string map =
        "<vym_item_stock_map item_no=\"500\" map_id=\"JKT GREEN\" action=\"INSERT\" "
        "vym_user=\"ADMIN\" />\r";
    ASSERT_TRUE(item.UpdateMaps(&recording, db.Errors(), map));
    EXPECT_EQ(SentDocument("@DOC"), "<ROOT>\r\n" + map + "</ROOT>\r\n");
    EXPECT_EQ(db.Scalar("SELECT item_no FROM vym_item_stock_map WHERE map_id = 'jkt green'"),
              "500");

    const std::string before = db.Snapshot();
    script.ExpectMessage("Item Map JKT GREEN already exists for item 500.",
                         "Error Updating Item Map", kInformation);
    EXPECT_FALSE(item.UpdateMaps(
        db.Db(), db.Errors(),
        "<vym_item_stock_map item_no=\"501\" map_id=\"JKT GREEN\" action=\"INSERT\" />\r"));
    script.ExpectMessage("The item number 500 can not be removed from its map ids.",
                         "Error Updating Item Map", kInformation);
    EXPECT_FALSE(item.UpdateMaps(
        db.Db(), db.Errors(),
        "<vym_item_stock_map item_no=\"500\" map_id=\"JKT GREEN\" action=\"DELETE\" />\r"
        "<vym_item_stock_map item_no=\"500\" map_id=\"500\" action=\"DELETE\" />\r"));
    EXPECT_EQ(db.Snapshot(), before);
}

TEST_F(CItemListsTest, ProceduresRefuseBadDocumentsWithoutChanges) {
    const std::string before = db.Snapshot();
    EXPECT_EQ(CallDocumentProcedure("VYM_SP_ITEM_UpdateItemStockMapsXML",
                                    "<ROOT><vym_item_stock_map item_no=\"500\" map_id=\"X1\" "
                                    "action=\"INSERT\"/><vym_item_stock_map item_no=\"500\" "
                                    "map_id=\"X2\" action=\"UPSERT\"/></ROOT>"),
              "Unknown action \"UPSERT\".");
    EXPECT_EQ(CallDocumentProcedure("VYM_SP_ITEM_UpdateItemRentalDetailXML",
                                    "<ROOT><vym_item_rental_detail item_no=\"&lt;ItemNo&gt;\" "
                                    "detail_item_no=\"700\" action=\"INSERT\"/></ROOT>"),
              "The item_no \"<ItemNo>\" is not a number.");
    EXPECT_EQ(db.Snapshot(), before);
}

TEST_F(CItemListsTest, ValidateMapIdCleansWarnsAndRefuses) {
    const std::string removed =
        "Some of the characters you entered were invalid and have been removed from the map you "
        "entered.";
    std::string id = "s123";
    script.ExpectMessage("Item Map can not begin with a reserved character (S,C,I,P,#).",
                         "Invalid Item Map", kInformation);
    EXPECT_FALSE(item.ValidateMapId(db.Db(), db.Errors(), id));
    EXPECT_EQ(id, "S123");

    id = "ab{}";
    script.ExpectMessage(removed, "Warning - Invalid Characters Were Removed", kInformation);
    EXPECT_TRUE(item.ValidateMapId(db.Db(), db.Errors(), id));
    EXPECT_EQ(id, "AB");

    id = "{}";
    script.ExpectMessage(removed, "Warning - Invalid Characters Were Removed", kInformation)
        .ExpectMessage("Item Map must be at least 1 character.", "Invalid Map Error", kInformation);
    EXPECT_FALSE(item.ValidateMapId(db.Db(), db.Errors(), id));
    EXPECT_EQ(id, "");

    id = std::string(31, 'a');
    script.ExpectMessage("Item Map can not be longer than 30 characters.", "Invalid Map Error",
                         kInformation);
    EXPECT_FALSE(item.ValidateMapId(db.Db(), db.Errors(), id));
    id = "a-b_c.d,e!f?g$h%i*j(k)l;m:n@o ";
    EXPECT_EQ(id.size(), 30u);
    EXPECT_TRUE(item.ValidateMapId(db.Db(), db.Errors(), id));
    EXPECT_EQ(id, "A-B_C.D,E!F?G$H%I*J(K)L;M:N@O ");

    id = "jkt-red-m";
    script.ExpectMessage("Item Map already exits for item 500", "Item Map Error", kInformation);
    EXPECT_FALSE(item.ValidateMapId(db.Db(), db.Errors(), id));
}

}  // namespace
}  // namespace vym::test
