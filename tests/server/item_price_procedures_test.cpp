// Stock prices by unit of measure, quantity and location on the demo back
// office: the shell jacket (500, EA) and the ski gloves (510, PR) priced at
// several locations and quantities, the goggle (511) at the village; and the
// price history the store keeps by itself.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/value.h"
#include "gateway/command.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"

#include "server_checks.h"

namespace vym {
namespace {

using Args = test::ProcedureArgs;
using Texts = std::vector<std::string>;

class ItemPriceProcedures : public ::testing::Test {
  protected:
    std::vector<std::string> Rows(const char* procedure, const Args& args,
                                  const std::vector<std::string>& columns) {
        return test::ProcedureRows(office_.Db(), procedure, args, columns);
    }
    std::vector<std::string> StockPrices(const Args& args) {
        return Rows("VYM_SP_ITEM_GetPrice", args, {"uom_id", "unit_qty", "location_id", "Price"});
    }
    struct Answer {
        std::int32_t returned;
        std::string message;
        std::int32_t priceNo;
    };
    Answer Update(const Args& args) {
        const auto answer = test::CallProcedure(office_.Db(), "VYM_SP_ITEM_UpdatePrice", args);
        return {answer.returned, answer.message, answer.Output("@price_no")};
    }
    // "uom|qty|location|total|unit|line discount|seller pricing|sale" of a stored price.
    std::vector<std::string> Stored(std::int32_t priceNo) {
        return test::RowTexts(*office_.Db().OpenRecordset(
            "SELECT uom_id, unit_qty, location_id, total_price, unit_price, line_discount, "
            "seller_pricing, sale_no FROM vym_price WHERE price_no = " +
            std::to_string(priceNo)));
    }
    std::int32_t PriceNo(const std::string& where) {
        return office_.Scalar("SELECT price_no FROM vym_price WHERE " + where);
    }
    // "change|user|station|uom|qty|location|old total|old unit|new total|new unit" of
    // each change the procedure lists, newest first; each has its time.
    std::vector<std::string> History(const Args& args) {
        const char* history = "VYM_SP_ITEM_PRICE_HISTORY_get";
        for (const std::string& at : Rows(history, args, {"changed_at"})) {
            EXPECT_NE(at, "");
        }
        return Rows(history, args,
                    {"change_type", "vym_user", "station", "uom_id", "unit_qty", "location_id",
                     "old_total_price", "old_unit_price", "new_total_price", "new_unit_price"});
    }

    test::BackOffice office_;
    const std::string here_ = server::DefaultStation();
};

TEST_F(ItemPriceProcedures, GetPriceNarrowsByEveryFilterGiven) {
    office_.Sql(
        "INSERT INTO vym_price (item_no, uom_id, unit_qty, sale_no, total_price, unit_price) "
        "VALUES (510, 'PR', 1, 7, 20, 20)");
    const std::int32_t base = PriceNo(
        "item_no = 510 AND unit_qty = 1 AND location_id IS NULL "
        "AND sale_no IS NULL");
    const std::int32_t sale = PriceNo("item_no = 510 AND sale_no = 7");
    struct Case {
        Args args;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {{{"@item_no", 510}}, {"PR|1||29.95", "PR|1|BASE|31.95", "PR|3||82.5", "PR|6|BASE|149.7"}},
        {{{"@item_no", 510}, {"@location_id", "BASE"}}, {"PR|1|BASE|31.95", "PR|6|BASE|149.7"}},
        {{{"@item_no", 510}, {"@unit_qty", 3}}, {"PR|3||82.5"}},
        {{{"@item_no", 510}, {"@uom_id", "EA"}}, {}},
        {{{"@item_no", 510}, {"@sale_no", 7}}, {"PR|1||20"}},
        {{{"@item_no", 510}, {"@price_no", base}}, {"PR|1||29.95"}},
        {{{"@item_no", 510}, {"@price_no", sale}}, {"PR|1||20"}},
        {{{"@item_no", 500}, {"@price_no", base}}, {}},
        {{{"@item_no", 500}, {"@location_id", "VILLAGE"}, {"@uom_id", "EA"}, {"@unit_qty", 3}},
         {"EA|3|VILLAGE|435"}},
        // Season and discount prices are the price list's, not stock prices.
        {{{"@item_no", 100}, {"@uom_id", Value::Null()}}, {"|1||89", "|1||69", "|3||249"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StockPrices(c.args), c.rows) << ::testing::PrintToString(c.rows);
    }
}

TEST_F(ItemPriceProcedures, StockPricesAreWrittenByLocationUnitOfMeasureAndQuantity) {
    const Answer added = Update({{"@item_no", 510},
                                 {"@uom_id", "PR"},
                                 {"@unit_qty", 4},
                                 {"@location_id", "SUMMIT"},
                                 {"@unit_price", Currency::FromRaw(25000)},
                                 {"@allow_line_discount", true},
                                 {"@seller_pricing", false}});
    ASSERT_EQ(added.returned, 0) << added.message;
    EXPECT_EQ(Stored(added.priceNo), Texts{"PR|4|SUMMIT|10|2.5|True|False|"});

    const Answer changed = Update({{"@price_no", added.priceNo},
                                   {"@item_no", 510},
                                   {"@location_id", "SUMMIT"},
                                   {"@unit_qty", 4},
                                   {"@uom_id", "PR"},
                                   {"@unit_price", Currency::FromRaw(23333)},
                                   {"@seller_pricing", true},
                                   {"@allow_line_discount", false}});
    ASSERT_EQ(changed.returned, 0) << changed.message;
    EXPECT_EQ(changed.priceNo, added.priceNo);
    EXPECT_EQ(Stored(added.priceNo), Texts{"PR|4|SUMMIT|9.3332|2.3333|False|True|"});

    const Answer onSale = Update({{"@item_no", 510},
                                  {"@uom_id", "PR"},
                                  {"@unit_qty", 4},
                                  {"@location_id", "SUMMIT"},
                                  {"@sale_no", 3},
                                  {"@price", Currency::FromRaw(100000)}});
    ASSERT_EQ(onSale.returned, 0) << onSale.message;
    EXPECT_EQ(Stored(onSale.priceNo), Texts{"PR|4|SUMMIT|10|2.5|False|False|3"})
        << "a sale price is a price of its own; a total divides exactly";
}

TEST_F(ItemPriceProcedures, StockPricesThatDoNotFitAreRefusedAndWriteNothing) {
    const std::int32_t before = office_.Scalar("SELECT count(*) FROM vym_price");
    const Args stock = {{"@item_no", 510}, {"@uom_id", "PR"}, {"@unit_price", 5}};
    struct Case {
        Args extra;
        const char* message;
    };
    const Case cases[] = {
        {{{"@unit_qty", 3}},
         "This unit of measure and quantity already has a price at this location."},
        {{{"@unit_qty", 2}, {"@location_id", "MOON"}}, "Location MOON does not exist."},
        {{{"@unit_qty", 2}, {"@uom_id", "GROSS"}}, "Unit of measure GROSS does not exist."},
        {{{"@unit_qty", 2}, {"@unit_price", -1}}, "A price can not be negative."},
        {{{"@unit_qty", 2}, {"@item_no", 100}, {"@location_id", "BASE"}},
         "Item 100 is not a stock or rental item: it has no prices by unit of measure or "
         "location."},
    };
    for (const Case& c : cases) {
        Args args = stock;
        for (const auto& [name, value] : c.extra) {
            std::erase_if(args, [&](const auto& arg) { return arg.first == name; });
            args.emplace_back(name, value);
        }
        const Answer refused = Update(args);
        EXPECT_EQ(refused.returned, -1) << c.message;
        EXPECT_EQ(refused.message, c.message);
    }
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_price"), before);
}

TEST_F(ItemPriceProcedures, OverviewAndChoiceListsShowSeasonsAndDiscounts) {
    const auto all = Rows("VYM_SP_ITEM_GetPrices", {},
                          {"item_type", "item_no", "location_id", "season_desc", "discount_id",
                           "uom_id", "unit_qty", "unit_price"});
    EXPECT_EQ(static_cast<std::int32_t>(all.size()),
              office_.Scalar("SELECT count(*) FROM vym_price WHERE package_no IS NULL"));
    EXPECT_NE(std::find(all.begin(), all.end(), "STOCK|510|BASE|||PR|6|24.95"), all.end());
    EXPECT_NE(std::find(all.begin(), all.end(), "TICKET|100||Regular Season|MILITARY||1|69"),
              all.end());
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](const auto& a, const auto& b) {
        return std::stoi(a.substr(a.find('|') + 1)) < std::stoi(b.substr(b.find('|') + 1));
    }));

    const std::vector<std::string> columns = {"season_no", "discount_id", "unit_id", "unit_qty",
                                              "Price"};
    EXPECT_EQ(Rows("VYM_SP_ITEM_PRICE_get", {{"@item_no", 102}}, columns),
              std::vector<std::string>{"||DAY|1|69"});
    EXPECT_EQ(
        Rows("VYM_SP_ITEM_PRICE_get", {{"@item_no", Value::Null()}, {"@package_no", 1}}, columns),
        (std::vector<std::string>{"||5DAY|1|1960", "3||5DAY|1|2220"}));
    EXPECT_TRUE(Rows("VYM_SP_ITEM_PRICE_get", {}, columns).empty());
}

TEST_F(ItemPriceProcedures, HistoryRecordsWhoChangedWhatFromWhereAndOutlivesThePrice) {
    const auto clerk = office_.OpenAgain("JSMITH", "FRONT-DESK");
    Connection& admin = office_.Db();
    Connection& desk = *clerk->DBConnection();
    const auto gloves = [](Currency unit) {
        return Args{{"@item_no", 510},
                    {"@uom_id", "PR"},
                    {"@unit_qty", 2},
                    {"@location_id", "SUMMIT"},
                    {"@unit_price", unit}};
    };
    std::int32_t priceNo = 0;
    const auto save = [&](Connection& db, Args args) {
        if (priceNo != 0) {
            args.emplace_back("@price_no", priceNo);
        }
        const auto saved = test::CallProcedure(db, "VYM_SP_ITEM_UpdatePrice", args);
        ASSERT_EQ(saved.returned, 0) << saved.message;
        priceNo = saved.Output("@price_no");
    };
    const auto remove = [&](Connection& db) {
        ASSERT_EQ(test::CallProcedure(db, "VYM_SP_ITEM_DeletePrice", Args{{"@price_no", priceNo}})
                      .returned,
                  0);
    };
    struct Step {
        const char* what;
        std::function<void()> run;
        std::vector<std::string> added;  // the history's new rows, newest first
    };
    const std::string byDesk = "|JSMITH|FRONT-DESK|PR|2|SUMMIT|";
    const std::string byAdmin = "|ADMIN|" + here_ + "|PR|2|SUMMIT|";
    const Step steps[] = {
        {"a new price",
         [&] { save(admin, gloves(Currency::FromRaw(100000))); },
         {"Insert" + byAdmin + "||20|10"}},
        {"another station's change",
         [&] { save(desk, gloves(Currency::FromRaw(112500))); },
         {"Update" + byDesk + "20|10|22.5|11.25"}},
        {"a save that changes no amount",
         [&] {
             Args same = gloves(Currency::FromRaw(112500));
             same.emplace_back("@seller_pricing", true);
             save(desk, same);
         },
         {}},
        {"ad-hoc SQL, as a bulk change writes",
         [&] {
             desk.ExecuteSQL(
                 "UPDATE vym_price SET unit_price = 12, total_price = 24 "
                 "WHERE price_no = " +
                 std::to_string(priceNo));
         },
         {"Update" + byDesk + "22.5|11.25|24|12"}},
        {"the delete", [&] { remove(admin); }, {"Delete" + byAdmin + "24|12||"}},
    };
    std::vector<std::string> expected = History({{"@item_no", 510}});
    for (const Step& step : steps) {
        step.run();
        expected.insert(expected.begin(), step.added.begin(), step.added.end());
        EXPECT_EQ(History({{"@item_no", 510}}), expected) << step.what;
    }
    EXPECT_EQ(History({{"@item_no", 510}, {"@price_no", priceNo}}),
              std::vector<std::string>(expected.begin(), expected.begin() + 4))
        << "the deleted price's own history";
    EXPECT_TRUE(History({{"@item_no", 511}, {"@price_no", priceNo}}).empty());
    // The family week package's own two prices, not the lines they are made of.
    for (const std::string& change : History({{"@package_no", 1}})) {
        EXPECT_TRUE(change.starts_with("Insert|ADMIN|" + here_ + "||1|||")) << change;
    }
    EXPECT_EQ(History({{"@package_no", 1}}).size(), 2u);
}

// A save the caller rolls back, here because its second call failed, takes
// the history of its first call with it.
TEST_F(ItemPriceProcedures, ARolledBackSaveLeavesNoHistory) {
    const auto count = [&] {
        return office_.Scalar("SELECT count(*) FROM vym_price_history WHERE item_no = 100");
    };
    const std::int32_t before = count();
    const std::int32_t priceNo = office_.Scalar(
        "SELECT min(price_no) FROM vym_price WHERE item_no = 100 AND child_item_no IS NULL");
    Connection& db = office_.Faults();
    const auto raise = [&] {
        return NewProcedure(
            db, "VYM_SP_ITEM_UpdatePrice",
            {{"@price_no", priceNo}, {"@item_no", 100}, {"@price", Currency::FromRaw(123456700)}});
    };
    db.BeginTrans();
    ASSERT_TRUE(db.Execute(*raise()));
    EXPECT_EQ(count(), before + 1) << "recorded within the save";
    auto second = raise();
    office_.Faults().FailOnCall(1, test::FaultInjectingConnection::Fault::DiskFull);
    EXPECT_FALSE(db.Execute(*second));
    db.RollbackTrans();
    EXPECT_EQ(count(), before);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_price WHERE total_price > 12000"), 0);
}

}  // namespace
}  // namespace vym
