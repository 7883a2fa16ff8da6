#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/value.h"
#include "gateway/command.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"
#include "support/server/procedure_test.h"

namespace vym {
namespace {

// The demo database: package 1 (family week) and the rental packages 702
// (ski) and 703 (snowboard), upgraded either way.
class PackageProcedures : public test::ProcedureTest {
  protected:
    Answer SaveGroups(const std::string& document) {
        return Call("VYM_SP_ITEM_UpdateRegisterGroupPackageXML", {{"@XMLDOC", document}});
    }
    std::vector<std::string> Groups(std::int32_t packageNo) {
        return test::RowTexts(*db_->OpenRecordset(
            "SELECT register_group_id FROM vym_register_group_package WHERE package_no = " +
            std::to_string(packageNo) + " ORDER BY register_group_id"));
    }
    // Every row of a procedure's result, its columns joined by "|".
    std::vector<std::string> Rows(const std::string& procedure, ProcedureArguments arguments,
                                  const std::vector<std::string>& columns) {
        auto command = NewProcedure(*db_, procedure, arguments);
        return test::RowTexts(*db_->ExecuteRecordset(*command), columns);
    }
    std::string Upgrades() {
        std::string pairs;
        for (const std::string& row :
             Rows("VYM_SP_ITEM_RENTAL_UPGRADE_PRICE_get", {},
                  {"pay_first_package_item_no", "rental_package_item_no", "upgrade_price"})) {
            std::string pair = row;
            pair[pair.find('|')] = '>';
            pair[pair.find('|')] = '=';
            pairs += (pairs.empty() ? "" : " ") + pair;
        }
        return pairs;
    }
};

TEST_F(PackageProcedures, RegisterGroupDocumentReplacesThePackagesGroups) {
    ASSERT_EQ(Groups(1), (std::vector<std::string>{"RENTAL", "TICKETS"}));
    const Answer saved = SaveGroups(
        "<ROOT>\r\n"
        "    <vym_register_group_package package_no=\"1\" register_group_id=\"SCHOOL\"/>\r\n"
        "    <vym_register_group_package package_no=\"2\" register_group_id=\"\"/>\r\n"
        "</ROOT>");
    EXPECT_EQ(saved.returned, 0);
    EXPECT_EQ(saved.message, "");
    EXPECT_EQ(Groups(1), std::vector<std::string>{"SCHOOL"});
    EXPECT_TRUE(Groups(2).empty());
}

TEST_F(PackageProcedures, MalformedRegisterGroupDocumentsAreRefusedAndChangeNothing) {
    const auto first = Groups(1);
    const auto second = Groups(2);
    struct Case {
        const char* document;
        const char* message;
    };
    for (const Case& c : {
             Case{"<ROOT><vym_register_group_package package_no=\"2x\" "
                  "register_group_id=\"SCHOOL\"/></ROOT>",
                  "The package_no \"2x\" is not a number."},
             Case{"<ROOT><vym_register_group_package register_group_id=\"SCHOOL\"/></ROOT>",
                  "The package_no \"\" is not a number."},
             Case{"<ROOT><vym_register_group_item package_no=\"1\" "
                  "register_group_id=\"\"/></ROOT>",
                  "Unexpected element vym_register_group_item in the document."},
             Case{"<ROOT><vym_register_group_package package_no=\"1\" register_group_id=\"\"/>"
                  "<vym_register_group_pakage package_no=\"2\" register_group_id=\"\"/></ROOT>",
                  "Unexpected element vym_register_group_pakage in the document."},
             Case{"<PACKAGES><vym_register_group_package package_no=\"1\" "
                  "register_group_id=\"\"/></PACKAGES>",
                  "The document must begin with <ROOT>."},
             Case{"<ROOT><vym_register_group_package package_no=\"1\"></ROOT>",
                  "The document could not be read: Start-end tags mismatch."},
         }) {
        const Answer refused = SaveGroups(c.document);
        EXPECT_LT(refused.returned, 0) << c.document;
        EXPECT_EQ(refused.message, c.message) << c.document;
        EXPECT_EQ(Groups(1), first) << c.document;
        EXPECT_EQ(Groups(2), second) << c.document;
    }
}

// One call after the other on the same pairs: what each says and leaves.
struct UpgradeCall {
    bool remove;
    std::int32_t payFirst;
    std::int32_t rental;
    const char* price;  // nullptr for Null
    bool isNew;
    const char* message;  // "" when done
    const char* after;    // the pairs, "pay first>rental=price" by " "
};

const UpgradeCall kUpgradeCalls[] = {
    {false, 702, 703, "20", true,
     "An upgrade price from Adult Ski Package (Skis, Boots) to Snowboard Package already "
     "exists.  Change its price in the list.",
     "702>703=12.5 703>702=8"},
    {false, 702, 703, "15.25", false, "", "702>703=15.25 703>702=8"},
    {false, 702, 702, "1", true, "A rental package can not be upgraded to itself.",
     "702>703=15.25 703>702=8"},
    {false, 700, 703, "1", true, "Item 700 is not a rental package item.",
     "702>703=15.25 703>702=8"},
    {false, 703, 702, "-1", false, "An upgrade price can not be negative.",
     "702>703=15.25 703>702=8"},
    {false, 703, 702, nullptr, false, "An upgrade price is required.", "702>703=15.25 703>702=8"},
    {true, 703, 702, nullptr, false, "", "702>703=15.25"},
    {true, 703, 702, nullptr, false,
     "The upgrade price from Snowboard Package to Adult Ski Package (Skis, Boots) does not "
     "exist.",
     "702>703=15.25"},
    {false, 703, 702, "9.75", false,
     "The upgrade price from Snowboard Package to Adult Ski Package (Skis, Boots) no longer "
     "exists.",
     "702>703=15.25"},
    {false, 703, 702, "9.75", true, "", "702>703=15.25 703>702=9.75"},
};

TEST_F(PackageProcedures, UpgradePricesAreAddedChangedAndDeletedNeverOverwritten) {
    ASSERT_EQ(
        Rows("VYM_SP_ITEM_RENTAL_PACKAGE_get", {}, {"item_no", "long_description"}),
        (std::vector<std::string>{"702|Adult Ski Package (Skis, Boots)", "703|Snowboard Package"}));
    ASSERT_EQ(Upgrades(), "702>703=12.5 703>702=8");
    for (const UpgradeCall& c : kUpgradeCalls) {
        const Value price =
            c.price == nullptr ? Value::Null() : Value(Currency::FromDouble(std::stod(c.price)));
        const Answer answer = c.remove ? Call("VYM_SP_ITEM_RENTAL_UPGRADE_PRICE_delete",
                                              {{"@pay_first_package_item_no", c.payFirst},
                                               {"@rental_package_item_no", c.rental}})
                                       : Call("VYM_SP_ITEM_RENTAL_UPGRADE_PRICE_update",
                                              {{"@pay_first_package_item_no", c.payFirst},
                                               {"@rental_package_item_no", c.rental},
                                               {"@upgrade_price", price},
                                               {"@is_new", c.isNew}});
        const std::string what = std::string(c.remove ? "delete " : "update ") +
                                 std::to_string(c.payFirst) + ">" + std::to_string(c.rental);
        EXPECT_EQ(answer.message, c.message) << what;
        EXPECT_EQ(answer.returned, *c.message == '\0' ? 0 : -1) << what;
        EXPECT_EQ(Upgrades(), c.after) << what;
    }
}

TEST_F(PackageProcedures, PackageLinesComeWithTheirPricesUnderAPackagePrice) {
    const std::vector<std::string> columns = {
        "item_no",    "item_type",      "function_id",        "pkg_qty", "price_no",
        "unit_id",    "unit_qty",       "unit_price",         "Price",   "gross_unit_price",
        "acct_units", "access_rule_no", "item_access_rule_no"};
    const std::int32_t regular = office_.Scalar(
        "SELECT price_no FROM vym_price WHERE package_no = 1 AND season_id = 3 AND "
        "package_price_no IS NULL");
    const auto priced = Rows("VYM_SP_ITEM_GetPackageItems",
                             {{"@package_no", 1}, {"@package_price_no", regular}}, columns);
    ASSERT_EQ(priced.size(), 2u);
    const std::int32_t ticketLine = office_.Scalar(
        "SELECT price_no FROM vym_price WHERE package_price_no = " + std::to_string(regular) +
        " AND item_no = 100");
    EXPECT_EQ(priced[0],
              "100|TICKET|LIFT|4|" + std::to_string(ticketLine) + "|5DAY|5|79|1580|89|5|1|1");
    EXPECT_EQ(priced[1].substr(0, 16), "700|RENTAL|RENTA");
    EXPECT_NE(priced[1].find("|DAY|5|32|640|38|5||"), std::string::npos) << priced[1];
    // Without a package price, as the package editor reads them: the lines alone.
    EXPECT_EQ(
        Rows("VYM_SP_ITEM_GetPackageItems", {{"@package_no", 1}}, columns),
        (std::vector<std::string>{"100|TICKET|LIFT|4|||||||||1", "700|RENTAL|RENTAL|4|||||||||"}));
}

}  // namespace
}  // namespace vym
