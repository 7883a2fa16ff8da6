// The price history the store keeps by itself, on the demo back office: the
// ski gloves (510) get a price at the summit shop from two stations, through
// the price procedures and through ad-hoc SQL, and lose it again.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/format.h"
#include "base/value.h"
#include "gateway/command.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"

namespace vym {
namespace {

using Args = test::ProcedureArgs;

class PriceHistory : public ::testing::Test {
  protected:
    // "change|user|station|uom/qty@location|old total/unit > new total/unit"
    // for each change the procedure lists, newest first.
    std::vector<std::string> History(const Args& args) {
        auto cmd = test::Prepared(office_.Db(), "VYM_SP_ITEM_PRICE_HISTORY_get", args);
        auto rows = office_.Db().ExecuteRecordset(*cmd);
        std::vector<std::string> texts;
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const auto text = [&](const char* field) {
                const Value value = rows->Fields(field).Value();
                return value.IsNull() ? std::string("-") : value.ToString();
            };
            const auto amounts = [&](const char* total, const char* unit) {
                return Format(rows->Fields(total).Value(), "0.00") + "/" +
                       Format(rows->Fields(unit).Value(), "0.00");
            };
            EXPECT_FALSE(rows->Fields("changed_at").Value().IsNull());
            texts.push_back(text("change_type") + "|" + text("vym_user") + "|" + text("station") +
                            "|" + text("uom_id") + "/" + text("unit_qty") + "@" +
                            text("location_id") + "|" +
                            amounts("old_total_price", "old_unit_price") + " > " +
                            amounts("new_total_price", "new_unit_price"));
        }
        return texts;
    }

    test::BackOffice office_;
    const std::string here_ = server::DefaultStation();
};

TEST_F(PriceHistory, RecordsWhoChangedWhatFromWhereAndOutlivesThePrice) {
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
    const std::string byDesk = "|JSMITH|FRONT-DESK|PR/2@SUMMIT|";
    const std::string byAdmin = "|ADMIN|" + here_ + "|PR/2@SUMMIT|";
    const Step steps[] = {
        {"a new price",
         [&] { save(admin, gloves(Currency::FromRaw(100000))); },
         {"Insert" + byAdmin + "/ > 20.00/10.00"}},
        {"another station's change",
         [&] { save(desk, gloves(Currency::FromRaw(112500))); },
         {"Update" + byDesk + "20.00/10.00 > 22.50/11.25"}},
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
         {"Update" + byDesk + "22.50/11.25 > 24.00/12.00"}},
        {"the delete", [&] { remove(admin); }, {"Delete" + byAdmin + "24.00/12.00 > /"}},
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
        EXPECT_TRUE(change.starts_with("Insert|ADMIN|" + here_ + "|-/1@-|")) << change;
    }
    EXPECT_EQ(History({{"@package_no", 1}}).size(), 2u);
}

// A save the caller rolls back, here because its second call failed, takes
// the history of its first call with it.
TEST_F(PriceHistory, RolledBackSaveLeavesNoHistory) {
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
