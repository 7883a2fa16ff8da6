// The bulk price change on the demo back office: the ski gloves (510, landed
// cost 15.50) priced at 29.95 for any location, 31.95 at the base lodge, 82.50
// for three pairs and 149.70 for six at the base lodge; the goggle (511) of
// another vendor; the adult day ticket (100) by season and discount.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/format.h"
#include "base/price_change.h"
#include "base/value.h"
#include "gateway/command.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/row_version.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"

#include "server_checks.h"

namespace vym {
namespace {

using Args = test::ProcedureArgs;

class BulkPriceProcedures : public ::testing::Test {
  protected:
    struct Previewed {
        std::int32_t returned = 0;
        std::string message;
        std::vector<std::string> rows;   // "item|price|landed cost" ("-" for none)
        std::vector<std::string> lines;  // the rows under +10 %, ending .99, to apply
    };
    Previewed Preview(const Args& scope) {
        auto cmd = test::Prepared(office_.Db(), "VYM_SP_ITEM_BULK_PRICE_preview", scope);
        auto rows = office_.Db().ExecuteRecordset(*cmd);
        Previewed preview;
        const PriceRule rule{PriceRule::Kind::Percent, Currency::FromRaw(100000),
                             PriceRule::Ending::Cents99, PriceRule::Rounding::Nearest};
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const auto text = [&](const char* field) {
                const Value value = rows->Fields(field).Value();
                return value.IsNull() ? std::string("-") : value.ToString();
            };
            const auto amount = [&](const char* field) {
                const Value value = rows->Fields(field).Value();
                return value.IsNull() ? std::string("-") : Format(value, "0.00");
            };
            preview.rows.push_back(text("item_no") + "|" + amount("Price") + "|" +
                                   amount("landed_cost"));
            const PriceChange change =
                ChangePrice(rule, rows->Fields("Price").Value().ToCurrency(), std::nullopt,
                            rows->Fields("unit_qty").Value().ToLong());
            preview.lines.push_back(text("price_no") + "," + text("row_version") + "," +
                                    Format(Value(change.price), "0.0000"));
        }
        preview.returned = NullToZero(cmd->Parameters["@RETURN_VALUE"].Value).ToLong();
        preview.message = NullToEmpty(cmd->Parameters["@Message"].Value);
        return preview;
    }
    static std::string Joined(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\n";
        }
        return text;
    }
    test::ProcedureAnswer Apply(const std::vector<std::string>& lines) {
        return test::CallProcedure(office_.Db(), "VYM_SP_ITEM_BULK_PRICE_apply",
                                   Args{{"@prices", Joined(lines)}});
    }
    // "total|unit|gross|version|by" of every price of the gloves.
    std::vector<std::string> Gloves() {
        return test::RowTexts(*office_.Db().OpenRecordset(
            "SELECT total_price, unit_price, gross_unit_price, row_version, row_saved_by "
            "FROM vym_price WHERE item_no = 510 AND sale_no IS NULL ORDER BY price_no"));
    }
    std::int32_t GlovePrice(const char* where) {
        return office_.Scalar("SELECT price_no FROM vym_price WHERE item_no = 510 AND " +
                              std::string(where));
    }

    test::BackOffice office_;
};

TEST_F(BulkPriceProcedures, PreviewListsThePricesOfTheChosenItems) {
    struct Case {
        Args scope;
        std::vector<std::string> rows;
    };
    const std::vector<std::string> gloves = {"510|29.95|15.50", "510|31.95|15.50",
                                             "510|82.50|15.50", "510|149.70|15.50"};
    const Case cases[] = {
        {{{"@item_list", "510"}}, gloves},
        {{{"@item_list", " 511,\n510 "}},
         {gloves[0], gloves[1], gloves[2], gloves[3], "511|59.00|32.65", "511|64.00|32.65"}},
        {{{"@vendor_id", "summitopt"}}, {"511|59.00|32.65", "511|64.00|32.65"}},
        {{{"@stock_type_id", "ACCESSORY"}, {"@vendor_id", "ALPINEGEAR"}}, gloves},
        {{{"@item_list", "100"}, {"@season_no", 3}},
         {"100|99.00|-", "100|84.00|-", "100|69.00|-", "100|89.00|-"}},
        {{{"@department_id", "LIFT"}, {"@season_no", 4}}, {"100|75.00|-", "101|45.00|-"}},
    };
    for (const Case& c : cases) {
        const Previewed preview = Preview(c.scope);
        EXPECT_EQ(preview.rows, c.rows) << ::testing::PrintToString(c.rows);
        EXPECT_EQ(preview.returned, static_cast<std::int32_t>(c.rows.size()));
    }
    const char* choose =
        "Choose the items whose prices change: the search result, a department, a vendor or a "
        "stock type.";
    const char* notNumbers = "The item list holds something other than item numbers.";
    const std::pair<Args, const char*> refused[] = {{{}, choose},
                                                    {{{"@season_no", 3}}, choose},
                                                    {{{"@item_list", "510;1=1"}}, notNumbers},
                                                    {{{"@item_list", "510 -3"}}, notNumbers}};
    for (const auto& [scope, message] : refused) {
        const Previewed preview = Preview(scope);
        EXPECT_EQ(preview.returned, -1) << message;
        EXPECT_EQ(preview.message, message);
        EXPECT_TRUE(preview.rows.empty());
    }
}

// The new total is what the preview showed; the unit price follows from the
// quantity and a gross unit price that stood at the unit price moves with it.
TEST_F(BulkPriceProcedures, ApplyWritesEveryPreviewedPriceWithANewVersion) {
    office_.Sql(
        "UPDATE vym_price SET gross_unit_price = 40 WHERE item_no = 510 AND "
        "unit_qty = 1 AND location_id IS NULL AND sale_no IS NULL");
    const Previewed preview = Preview({{"@item_list", "510"}});
    const auto applied = Apply(preview.lines);
    EXPECT_EQ(applied.returned, 0) << applied.message;
    EXPECT_EQ(applied.Output("@changed"), 4);
    EXPECT_EQ(Gloves(), (std::vector<std::string>{
                            "32.99|32.99|40|2|ADMIN", "34.99|34.99|34.99|2|ADMIN",
                            "90.99|30.33|30.33|2|ADMIN", "164.99|27.4983|27.4983|2|ADMIN"}));
    office_.ExpectNoErrorReports();
}

// Whatever stands in the way, no price changes: the preview is all or nothing.
TEST_F(BulkPriceProcedures, ApplyRefusesTheWholeListForOnePriceAtFault) {
    const std::int32_t base = GlovePrice("location_id = 'BASE' AND unit_qty = 1");
    const std::string name = "Price " + std::to_string(base);
    struct Case {
        std::function<void(std::vector<std::string>& lines)> meddle;
        std::int32_t returned;
        std::string starts;
        std::string ends;
    };
    const Case cases[] = {
        {[&](std::vector<std::string>&) {
             auto station = office_.OpenAgain("JSMITH");
             auto save = NewProcedure(*station->DBConnection(), "VYM_SP_ITEM_UpdatePrice",
                                      {{"@price_no", base}, {"@price", Currency::FromRaw(330000)}});
             ASSERT_TRUE(station->DBConnection()->Execute(*save));
         },
         kRowChanged, name + " of item 510 Ski Gloves,GLOVE,Black,L was changed by JSMITH at ",
         " after the preview. No price was changed; preview again to see the changes."},
        {[&](std::vector<std::string>& lines) {
             for (std::string& line : lines) {
                 if (line.starts_with(std::to_string(base) + ",")) {
                     line = line.substr(0, line.rfind(',')) + ",-1";
                 }
             }
         },
         -1, name + " of item 510 Ski Gloves,GLOVE,Black,L can not become -1.00: ",
         "a price must be more than zero. No price was changed."},
        {[&](std::vector<std::string>& lines) { lines.push_back("12,1"); }, -1,
         "Each line of the price list must read price number, version, new price.", ""},
        // Last: the price is gone for good.
        {[&](std::vector<std::string>&) {
             office_.Sql("DELETE FROM vym_price WHERE price_no = " + std::to_string(base));
         },
         kRowChanged, name + " was deleted by another user after the preview.",
         " No price was changed; preview again."},
    };
    for (const Case& c : cases) {
        Previewed preview = Preview({{"@item_list", "510"}});
        c.meddle(preview.lines);
        const std::vector<std::string> meddled = Gloves();
        const auto applied = Apply(preview.lines);
        EXPECT_EQ(applied.returned, c.returned) << c.starts;
        EXPECT_TRUE(applied.message.starts_with(c.starts)) << applied.message;
        EXPECT_TRUE(applied.message.ends_with(c.ends)) << applied.message;
        EXPECT_EQ(Gloves(), meddled) << c.starts;
    }
}

// A store failure on the third price rolls back the two written before it.
TEST_F(BulkPriceProcedures, AFailurePartWayThroughLeavesEveryPriceAsItWas) {
    const std::int32_t third = GlovePrice("unit_qty = 3");
    test::FailWritesWhere(office_, "UPDATE", "vym_price",
                          "NEW.price_no = " + std::to_string(third));
    const std::vector<std::string> before = Gloves();
    const Previewed preview = Preview({{"@item_list", "510"}});
    auto cmd = NewProcedure(office_.Db(), "VYM_SP_ITEM_BULK_PRICE_apply",
                            {{"@prices", Joined(preview.lines)}});
    EXPECT_FALSE(office_.Db().Execute(*cmd));
    EXPECT_EQ(Gloves(), before);
}

}  // namespace
}  // namespace vym
