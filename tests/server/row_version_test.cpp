#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "base/date.h"
#include "base/error.h"
#include "base/value.h"
#include "gateway/command.h"
#include "gateway/row_version.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"

namespace vym {
namespace {

using Arguments = test::ProcedureArgs;

struct Saved {
    std::int32_t returned = 0;
    std::string message;
    std::int32_t version = 0;
};

// One guarded save: the procedure, the row it writes (by an SQL condition)
// and the column its marker lands in; args(n) saves marker n, 1 or 2: the
// fixed arguments and the marker's parameter.
struct GuardedSave {
    std::string procedure;
    std::string what;
    std::string table;
    std::string key;
    std::string column;
    std::string parameter;
    vym::Value first;
    vym::Value second;
    Arguments fixed;
    std::string remove = {};    // the row's delete, when it is guarded too
    Arguments removeArgs = {};  // the delete's arguments, when not the fixed ones

    Arguments args(int n) const {
        Arguments all = fixed;
        all.emplace_back(parameter, n == 1 ? first : second);
        return all;
    }
};

Saved Save(Connection& db, const std::string& procedure, const Arguments& args,
           const vym::Value& version) {
    Arguments versioned = args;
    versioned.emplace_back(kRowVersionParameter, version);
    const auto answer = test::CallProcedure(db, procedure, versioned);
    return {answer.returned, answer.message, SavedRowVersion(answer.cmd->Parameters)};
}

// Two stations on one demo back office: this one, and JSMITH's.
class Stations : public ::testing::Test {
  protected:
    std::string Column(const GuardedSave& save) {
        return NullToEmpty(office_.Db()
                               .OpenRecordset("SELECT " + save.column + " FROM " + save.table +
                                              " WHERE " + save.key)
                               ->Fields(0)
                               .Value());
    }
    std::int32_t Version(const GuardedSave& save) {
        return office_.Scalar("SELECT row_version FROM " + save.table + " WHERE " + save.key);
    }

    test::BackOffice office_;
    // A second station on the same file, signed in as someone else.
    std::unique_ptr<server::LocalAppServer> other_ = office_.OpenAgain("JSMITH");
};

class RowVersions : public Stations, public ::testing::WithParamInterface<GuardedSave> {};

void ExpectChangedByJSmith(const Saved& refused, const std::string& what) {
    EXPECT_EQ(refused.returned, kRowChanged);
    EXPECT_TRUE(refused.message.starts_with("This " + what + " was changed by JSMITH at "))
        << refused.message;
}

// Both stations read the row; the one that saves second is refused with who
// saved it, and the row keeps the first save until the second reloads.
TEST_P(RowVersions, SecondSaverOfTheSameVersionIsRefusedWithWhoSavedAndTheRowKeepsTheFirstSave) {
    const GuardedSave& save = GetParam();
    const std::int32_t read = Version(save);

    const Saved first = Save(*other_->DBConnection(), save.procedure, save.args(1), read);
    ASSERT_EQ(first.message, "");
    ASSERT_GT(first.version, read);
    const std::string afterFirst = Column(save);

    const Saved second = Save(office_.Db(), save.procedure, save.args(2), read);
    ExpectChangedByJSmith(second, save.what);
    EXPECT_TRUE(second.message.ends_with(
        " after you opened it. Your changes were not saved; reload it to see the changes."))
        << second.message;
    EXPECT_EQ(Column(save), afterFirst);
    EXPECT_EQ(Version(save), first.version);

    // Reloaded: the second station now holds the first station's version.
    const Saved again = Save(office_.Db(), save.procedure, save.args(2), first.version);
    EXPECT_EQ(again.message, "");
    EXPECT_NE(Column(save), afterFirst);
    EXPECT_EQ(Version(save), again.version);
}

// A caller that read no version checks nothing, as before.
TEST_P(RowVersions, SaveWithoutAVersionOverwritesAndStillMovesTheVersionOn) {
    const GuardedSave& save = GetParam();
    const std::int32_t read = Version(save);
    Save(*other_->DBConnection(), save.procedure, save.args(1), read);
    const Saved blind = Save(office_.Db(), save.procedure, save.args(2), vym::Value::Null());
    EXPECT_EQ(blind.message, "");
    EXPECT_EQ(blind.version, read + 2);
}

const GuardedSave kGuardedSaves[] = {
    GuardedSave{"vym_sp_ITEM_UpdateItem", "item", "vym_item", "item_no = 100", "short_description",
                "@short_description", "Saved 1", "Saved 2",
                Arguments{{"@item_no", 100}, {"@item_type", "TICKET"}, {"@function_id", "LIFT"}}},
    GuardedSave{"VYM_SP_ITEM_UpdateItemTicket", "item", "vym_item", "item_no = 101",
                "short_description", "@short_description", "Saved 1", "Saved 2",
                Arguments{{"@item_no", 101}, {"@item_type", "TICKET"}, {"@function_id", "LIFT"}}},
    GuardedSave{"vym_sp_ITEM_UpdateItemStock", "item", "vym_item", "item_no = 500",
                "short_description", "@short_description", "Saved 1", "Saved 2",
                Arguments{{"@item_no", 500}, {"@item_type", "STOCK"}, {"@function_id", "STOCK"}}},
    GuardedSave{"VYM_SP_ITEM_UpdatePackage", "package", "vym_package", "package_no = 1",
                "description", "@description", "Week 1", "Week 2", Arguments{{"@package_no", 1}}},
    GuardedSave{"VYM_SP_ITEM_UpdatePrice", "price", "vym_price", "price_no = 1", "total_price",
                "@price", 10.0, 20.0, Arguments{{"@price_no", 1}}},
    GuardedSave{"VYM_SP_ITEM_UpdateSeason", "season", "vym_season", "season_no = 1", "description",
                "@description", "Early 1", "Early 2",
                Arguments{{"@season_no", 1}, {"@function_id", "LIFT"}}},
    GuardedSave{"VYM_SP_ITEM_UpdateFunction", "function", "vym_function", "function_id = 'LIFT'",
                "description", "@description", "Lifts 1", "Lifts 2",
                Arguments{{"@function_id", "LIFT"}}, "VYM_SP_ITEM_DeleteFunction"},
    GuardedSave{"VYM_SP_ITEM_UpdateCatagory", "catagory", "vym_catagory",
                "function_id = 'LIFT' AND catagory_id = 'ADULT'", "description", "@description",
                "Adults 1", "Adults 2",
                Arguments{{"@function_id", "LIFT"}, {"@catagory_id", "ADULT"}},
                "VYM_SP_ITEM_DeleteCatagory"},
    GuardedSave{"VYM_SP_ITEM_UpdateUnit", "unit", "vym_unit",
                "function_id = 'LIFT' AND unit_id = 'DAY'", "description", "@description", "Day 1",
                "Day 2", Arguments{{"@function_id", "LIFT"}, {"@unit_id", "DAY"}},
                "VYM_SP_ITEM_DeleteUnit"},
    GuardedSave{"VYM_SP_ITEM_PROFILE_Update", "profile", "vym_profile", "profile_id = 'AGE'",
                "description", "@description", "Age 1", "Age 2", Arguments{{"@profile_id", "AGE"}},
                "VYM_SP_ITEM_PROFILE_Delete",
                Arguments{{"@validate", false}, {"@profile_id", "AGE"}}},
    GuardedSave{"VYM_SP_ITEM_UpdateProfilePrompt", "prompt", "vym_profile_prompt",
                "profile_id = 'LIFTID' AND module_id = 'TICKET' AND seq_no = 1", "validation_codes",
                "@validation_codes", "REQUIRED", "DLFORMAT",
                Arguments{{"@profile_id", "LIFTID"},
                          {"@module_id", "TICKET"},
                          {"@seq_no", 1},
                          {"@prompt_id", "PHOTOID"}}},
    GuardedSave{"VYM_SP_ITEM_UpdateVendor", "vendor", "vym_vendor", "vendor_id = 'ALPINEGEAR'",
                "vendor_name", "@vendor_name", "Alpine 1", "Alpine 2",
                Arguments{{"@vendor_id", "ALPINEGEAR"}}, "VYM_SP_ITEM_VENDOR_delete"},
    GuardedSave{"VYM_SP_ITEM_UpdateItemStockSale", "sale", "vym_sale", "sale_no = 1", "description",
                "@description", "Sale 1", "Sale 2",
                Arguments{{"@sale_no", 1},
                          {"@sale_type", "StockNo"},
                          {"@sale_start_date", Date::FromParts(2026, 12, 1)},
                          {"@sale_end_date", Date::FromParts(2026, 12, 31)}}},
    GuardedSave{"VYM_SP_ITEM_RENTAL_UPGRADE_PRICE_update", "upgrade price",
                "vym_rental_upgrade_price",
                "pay_first_package_item_no = 702 AND rental_package_item_no = 703", "upgrade_price",
                "@upgrade_price", 5.0, 10.0,
                Arguments{{"@pay_first_package_item_no", 702}, {"@rental_package_item_no", 703}},
                "VYM_SP_ITEM_RENTAL_UPGRADE_PRICE_delete"},
    GuardedSave{"VYM_SP_ITEM_SPECIAL_OFFER_update", "special offer", "vym_special_offer",
                "special_offer_no = 1", "description", "@description", "Warm-Up 1", "Warm-Up 2",
                Arguments{{"@special_offer_no", 1},
                          {"@special_offer_code", "WINTER10"},
                          {"@is_active", std::int16_t{1}}},
                "VYM_SP_ITEM_SPECIAL_OFFER_delete", Arguments{{"@special_offer_no", 1}}},
    GuardedSave{"VYM_SP_ITEM_SPECIAL_OFFER_DETAIL_update", "special offer line",
                "vym_special_offer_detail", "special_offer_no = 1 AND seq_no = 1",
                "percentage_discount", "@percentage_discount", 0.1, 0.2,
                Arguments{{"@special_offer_no", 1}, {"@seq_no", 1}, {"@item_type", "STOCK"}},
                "VYM_SP_ITEM_SPECIAL_OFFER_DETAIL_delete",
                Arguments{{"@special_offer_no", 1}, {"@seq_no", 1}}},
    GuardedSave{"VYM_SP_SERIAL_UpdateItemStockSerial", "serial", "vym_item_stock_serial",
                "item_no = 600 AND serial_id = 'RSB00001'", "comment_note", "@comment_note",
                "Tuned 1", "Tuned 2",
                Arguments{{"@item_no", 600},
                          {"@serial_id", "RSB00001"},
                          {"@status_id", "AVAIL"},
                          {"@location_id", "BASE"},
                          {"@insert", std::int16_t{0}}}},
    GuardedSave{"VYM_SP_ITEM_UpdateItemStockSaleDept", "sale line", "vym_sale_dept",
                "sale_no = 3 AND seq_no = 1", "sale_fixed_percent", "@sale_fixed_percent", 0.1, 0.2,
                Arguments{{"@sale_no", 3},
                          {"@seq_no", std::int16_t{1}},
                          {"@department_id", "RETAIL"},
                          {"@sale_start_date", Date::FromParts(2026, 12, 1)},
                          {"@sale_end_date", Date::FromParts(2026, 12, 31)}},
                "VYM_SP_ITEM_DeleteItemStockSaleDept",
                Arguments{{"@sale_no", 3}, {"@seq_no", std::int16_t{1}}}},
    GuardedSave{"VYM_SP_ITEM_STOCK_SALE_update", "sale price", "vym_price",
                "sale_no = 1 AND item_no = 500", "unit_price", "@unit_price", 10.0, 20.0,
                Arguments{{"@sale_no", 1}, {"@item_no", 500}}, "VYM_SP_ITEM_STOCK_SALE_delete"},
    GuardedSave{"VYM_SP_ITEM_UpdateItemStockSalePrice", "sale price", "vym_price",
                "sale_no = 1 AND item_no = 501", "unit_price", "@sale_fixed_percent", 0.1, 0.2,
                Arguments{{"@sale_no", 1}, {"@item_no", 501}}}};

// A test's name: its procedure's, without the prefix and the area (ITEM_, SERIAL_) and
// without the underscores.
std::string NameOf(const std::string& procedure) {
    std::string name;
    for (const char c : procedure.substr(procedure.find('_', 7) + 1)) {
        if (c != '_') {
            name += c;
        }
    }
    return name;
}

INSTANTIATE_TEST_SUITE_P(EveryGuardedSave, RowVersions, ::testing::ValuesIn(kGuardedSaves),
                         [](const ::testing::TestParamInfo<GuardedSave>& info) {
                             return NameOf(info.param.procedure);
                         });

// A delete of a row another station saved since it was read is refused the
// same way, and the row stays.
class RowVersionsOfDeletes : public RowVersions {};

TEST_P(RowVersionsOfDeletes, DeleteOfARowSavedSinceItWasReadIsRefusedAndTheRowStays) {
    const GuardedSave& save = GetParam();
    const std::int32_t read = Version(save);
    ASSERT_EQ(Save(*other_->DBConnection(), save.procedure, save.args(1), read).message, "");

    ExpectChangedByJSmith(Save(office_.Db(), save.remove,
                               save.removeArgs.empty() ? save.fixed : save.removeArgs, read),
                          save.what);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM " + save.table + " WHERE " + save.key), 1);
}

std::vector<GuardedSave> GuardedDeletes() {
    std::vector<GuardedSave> deletes;
    std::copy_if(std::begin(kGuardedSaves), std::end(kGuardedSaves), std::back_inserter(deletes),
                 [](const GuardedSave& save) { return !save.remove.empty(); });
    return deletes;
}

INSTANTIATE_TEST_SUITE_P(EveryGuardedDelete, RowVersionsOfDeletes,
                         ::testing::ValuesIn(GuardedDeletes()),
                         [](const ::testing::TestParamInfo<GuardedSave>& info) {
                             return NameOf(info.param.remove);
                         });

const GuardedSave& SaveOf(std::string_view procedure) {
    return *std::find_if(std::begin(kGuardedSaves), std::end(kGuardedSaves),
                         [&](const GuardedSave& save) { return save.procedure == procedure; });
}

// A row deleted after it was read is a conflict too: neither a save nor a
// second delete goes through as if the row were still there.
TEST_F(Stations, SaveOrDeleteOfARowDeletedSinceItWasReadIsRefused) {
    const std::int32_t read =
        office_.Scalar("SELECT row_version FROM vym_price WHERE price_no = 2");
    ASSERT_EQ(
        Save(*other_->DBConnection(), "VYM_SP_ITEM_DeletePrice", {{"@price_no", 2}}, read).message,
        "");
    const std::pair<const char*, Arguments> lateCalls[] = {
        {"VYM_SP_ITEM_UpdatePrice", {{"@price_no", 2}, {"@price", vym::Value(5.0)}}},
        {"VYM_SP_ITEM_DeletePrice", {{"@price_no", 2}}}};
    for (const auto& [procedure, args] : lateCalls) {
        const Saved late = Save(office_.Db(), procedure, args, read);
        EXPECT_EQ(late.returned, kRowChanged) << procedure;
        EXPECT_EQ(late.message,
                  "This price was deleted by another user after you opened it. Your changes were "
                  "not saved.")
            << procedure;
    }
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_price WHERE price_no = 2"), 0);
}

// Writes of a guarded row that do not go through a guarded save move its
// version on all the same: the sale list's rename through an updatable
// recordset and the serial console's prices, so that a screen that read the
// row before them is refused with who changed it.
TEST_F(Stations, UnguardedWritesMoveTheVersionOnForTheScreensThatReadTheRowBefore) {
    Connection& theirs = *other_->DBConnection();
    const GuardedSave& sale = SaveOf("VYM_SP_ITEM_UpdateItemStockSale");
    const GuardedSave& unit = SaveOf("VYM_SP_SERIAL_UpdateItemStockSerial");
    const std::int32_t saleRead = Version(sale);
    const std::int32_t unitRead = Version(unit);

    auto rows = theirs.OpenUpdatableRecordset("SELECT * FROM vym_sale WHERE sale_no = 1");
    rows->Fields("Description").SetValue("Renamed in the List");
    rows->Update();
    rows->Fields("Description").SetValue("Renamed Twice");
    rows->Update();
    EXPECT_EQ(Version(sale), saleRead + 2) << "each write of the recordset counts";
    test::CallProcedure(
        theirs, "VYM_SP_SERIAL_OPTIONALPRICE_update",
        Arguments{
            {"@item_no", 600}, {"@serial_id", "RSB00001"}, {"@retail_price", vym::Value(99.0)}});
    EXPECT_EQ(Version(unit), unitRead + 1);

    ExpectChangedByJSmith(Save(office_.Db(), sale.procedure, sale.args(2), saleRead), "sale");
    ExpectChangedByJSmith(Save(office_.Db(), unit.procedure, unit.args(2), unitRead), "serial");
    EXPECT_EQ(Column(sale), "Renamed Twice");

    // A recordset holding a version another station moved on writes nothing.
    auto stale = office_.Db().OpenUpdatableRecordset("SELECT * FROM vym_sale WHERE sale_no = 1");
    ASSERT_EQ(Save(theirs, sale.procedure, sale.args(1), Version(sale)).message, "");
    stale->Fields("Description").SetValue("Stale");
    EXPECT_THROW(stale->Update(), Error);
    EXPECT_EQ(Column(sale), "Sale 1");
}

}  // namespace
}  // namespace vym
