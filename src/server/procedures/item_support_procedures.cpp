#include "server/procedures/item_support_procedures.h"

#include <string>

#include "base/error.h"
#include "server/procedures/item_support_references.h"
#include "server/row_version.h"

namespace vym::server {
namespace {

using item_support::Count;
using item_support::Reference;
using item_support::UsedBy;

// A failure the caller sees as a failed execution (nothing is written).
constexpr std::int32_t kRefused = 50000;

[[noreturn]] void Fail(std::string_view procedure, const std::string& message) {
    throw vym::Error(kRefused, std::string(procedure), message);
}

// The id the row is keyed by; an empty one is refused.
std::string RequiredId(const ProcedureContext& call, std::string_view procedure,
                       std::string_view parameter, std::string_view what) {
    auto id = call.GetString(parameter);
    if (!id || id->empty()) {
        Fail(procedure, std::string(what) + " is required.");
    }
    return *id;
}

void RequireFunction(SqlSession& db, std::string_view procedure, const std::string& functionId) {
    if (Count(db, "SELECT count(*) FROM vym_function WHERE function_id = ?", {functionId}) == 0) {
        Fail(procedure, "Function " + functionId + " does not exist.");
    }
}

void UpdateFunction(ProcedureContext& call) {
    static constexpr std::string_view kName = "VYM_SP_ITEM_UpdateFunction";
    const std::string id = RequiredId(call, kName, "@function_id", "Function id");
    const GuardedRow row{"vym_function", "function_id = ?", {id}, "function"};
    if (!RefuseIfRowChanged(call, row, kMessage)) {
        return;
    }
    WriteClaimed(call, row, kMessage, [&] {
        call.Session().Run(
            "INSERT INTO vym_function (function_id, description, tree_icon, is_active) "
            "VALUES (?1, ?2, ?3, COALESCE(?4, 1)) ON CONFLICT (function_id) DO UPDATE "
            "SET description = ?2, tree_icon = ?3, is_active = COALESCE(?4, 1)",
            {id, call.Get("@description"), TextOrNull(call, "@tree_icon"), call.Get("@is_active")});
    });
}

void DeleteFunction(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const std::string id = call.GetString("@function_id").value_or("");
    if (Count(db, "SELECT count(*) FROM vym_function WHERE function_id = ?", {id}) == 0) {
        Refuse(call, "Function " + id + " does not exist.");
        return;
    }
    if (!RefuseIfRowChanged(call, {"vym_function", "function_id = ?", {id}, "function"},
                            kMessage)) {
        return;
    }
    std::vector<Reference> refs;
    if (db.TableExists("vym_item")) {
        refs.push_back({Count(db, "SELECT count(*) FROM vym_item WHERE function_id = ?", {id}),
                        "item", "items"});
    }
    refs.push_back({Count(db, "SELECT count(*) FROM vym_catagory WHERE function_id = ?", {id}),
                    "catagory", "catagories"});
    refs.push_back(
        {Count(db, "SELECT count(*) FROM vym_unit WHERE function_id = ?", {id}), "unit", "units"});
    refs.push_back({Count(db, "SELECT count(*) FROM vym_season WHERE function_id = ?", {id}),
                    "season", "seasons"});
    if (auto used = UsedBy("Function " + id, refs)) {
        Refuse(call, *used);
        return;
    }
    db.Run("DELETE FROM vym_function WHERE function_id = ?", {id});
    call.SetOutput("@message", "");
}

void RegisterFunctionProcedures(ProcedureCatalog& catalog) {
    catalog.Add(
        "VYM_SP_ITEM_UpdateFunction",
        {In("@function_id", DataType::VarChar, 10), In("@description", DataType::VarChar, 60),
         In("@tree_icon", DataType::VarChar, 10), In("@is_active", DataType::Boolean),
         Out(kMessage, DataType::VarChar, 255), RowVersionParameter()},
        UpdateFunction);

    catalog.Add("VYM_SP_ITEM_DeleteFunction",
                {In("@function_id", DataType::VarChar, 10), Out("@message", DataType::VarChar, 255),
                 RowVersionParameter()},
                DeleteFunction);
}

void UpdateCatagory(ProcedureContext& call) {
    static constexpr std::string_view kName = "VYM_SP_ITEM_UpdateCatagory";
    const std::string function = RequiredId(call, kName, "@function_id", "Function id");
    const std::string id = RequiredId(call, kName, "@catagory_id", "Catagory id");
    const GuardedRow row{
        "vym_catagory", "function_id = ? AND catagory_id = ?", {function, id}, "catagory"};
    if (!RefuseIfRowChanged(call, row, kMessage)) {
        return;
    }
    RequireFunction(call.Session(), kName, function);
    WriteClaimed(call, row, kMessage, [&] {
        call.Session().Run(
            "INSERT INTO vym_catagory (function_id, catagory_id, description, is_active, "
            "require_access_rule) VALUES (?1, ?2, ?3, COALESCE(?4, 1), COALESCE(?5, 0)) "
            "ON CONFLICT (function_id, catagory_id) DO UPDATE SET description = ?3, "
            "is_active = COALESCE(?4, 1), require_access_rule = COALESCE(?5, 0)",
            {function, id, call.Get("@description"), call.Get("@is_active"),
             call.Get("@require_access_rule")});
    });
}

void DeleteCatagory(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const std::string function = call.GetString("@function_id").value_or("");
    const std::string id = call.GetString("@catagory_id").value_or("");
    const std::string subject = "Catagory " + id + " of function " + function;
    if (Count(db,
              "SELECT count(*) FROM vym_catagory WHERE function_id = ? AND "
              "catagory_id = ?",
              {function, id}) == 0) {
        Refuse(call, subject + " does not exist.");
        return;
    }
    if (!RefuseIfRowChanged(
            call,
            {"vym_catagory", "function_id = ? AND catagory_id = ?", {function, id}, "catagory"},
            kMessage)) {
        return;
    }
    if (db.TableExists("vym_item")) {
        const auto items = Count(db,
                                 "SELECT count(*) FROM vym_item WHERE function_id "
                                 "= ? AND catagory_id = ?",
                                 {function, id});
        if (auto used = UsedBy(subject, {{items, "item", "items"}})) {
            Refuse(call, *used);
            return;
        }
    }
    db.Run("DELETE FROM vym_catagory WHERE function_id = ? AND catagory_id = ?", {function, id});
    call.SetOutput("@message", "");
}

void RegisterCatagoryProcedures(ProcedureCatalog& catalog) {
    catalog.Add(
        "VYM_SP_ITEM_UpdateCatagory",
        {In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         In("@description", DataType::VarChar, 60), In("@is_active", DataType::Boolean),
         In("@require_access_rule", DataType::Boolean), Out(kMessage, DataType::VarChar, 255),
         RowVersionParameter()},
        UpdateCatagory);

    catalog.Add(
        "VYM_SP_ITEM_DeleteCatagory",
        {In("@function_id", DataType::VarChar, 10), In("@catagory_id", DataType::VarChar, 10),
         Out("@message", DataType::VarChar, 255), RowVersionParameter()},
        DeleteCatagory);
}

void UpdateUnit(ProcedureContext& call) {
    static constexpr std::string_view kName = "VYM_SP_ITEM_UpdateUnit";
    SqlSession& db = call.Session();
    const std::string function = RequiredId(call, kName, "@function_id", "Function id");
    const std::string id = RequiredId(call, kName, "@unit_id", "Unit id");
    const GuardedRow row{"vym_unit", "function_id = ? AND unit_id = ?", {function, id}, "unit"};
    if (!RefuseIfRowChanged(call, row, kMessage)) {
        return;
    }
    RequireFunction(db, kName, function);
    const vym::Value uom = TextOrNull(call, "@uom_id");
    if (!uom.IsNull() && Count(db, "SELECT count(*) FROM vym_uom WHERE uom_id = ?", {uom}) == 0) {
        Fail(kName, "Unit of measure " + uom.ToString() + " does not exist.");
    }
    WriteClaimed(call, row, kMessage, [&] {
        db.Run(
            "INSERT INTO vym_unit (function_id, unit_id, description, uom_id, qty, "
            "acct_units, print_qty) VALUES (?1, ?2, ?3, ?4, COALESCE(?5, 1), "
            "COALESCE(?6, 1), COALESCE(?7, 1)) ON CONFLICT (function_id, unit_id) DO "
            "UPDATE SET description = ?3, uom_id = ?4, qty = COALESCE(?5, 1), "
            "acct_units = COALESCE(?6, 1), print_qty = COALESCE(?7, 1)",
            {function, id, call.Get("@description"), uom, call.Get("@qty"), call.Get("@acct_units"),
             call.Get("@print_qty")});
    });
}

void DeleteUnit(ProcedureContext& call) {
    SqlSession& db = call.Session();
    const std::string function = call.GetString("@function_id").value_or("");
    const std::string id = call.GetString("@unit_id").value_or("");
    const std::string subject = "Unit " + id + " of function " + function;
    if (Count(db, "SELECT count(*) FROM vym_unit WHERE function_id = ? AND unit_id = ?",
              {function, id}) == 0) {
        Refuse(call, subject + " does not exist.");
        return;
    }
    if (!RefuseIfRowChanged(call,
                            {"vym_unit", "function_id = ? AND unit_id = ?", {function, id}, "unit"},
                            kMessage)) {
        return;
    }
    // A price names its unit by id only; the item it prices gives the function.
    if (db.TableExists("vym_price") && db.TableExists("vym_item")) {
        const auto prices =
            Count(db,
                  "SELECT count(*) FROM vym_price p JOIN vym_item i ON i.item_no = p.item_no "
                  "WHERE i.function_id = ?1 AND (p.unit_id = ?2 OR p.parent_unit_id = ?2)",
                  {function, id});
        if (auto used = UsedBy(subject, {{prices, "price", "prices"}})) {
            Refuse(call, *used);
            return;
        }
    }
    db.Run("DELETE FROM vym_unit WHERE function_id = ? AND unit_id = ?", {function, id});
    call.SetOutput("@message", "");
}

void RegisterUnitProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_UpdateUnit",
                {In("@function_id", DataType::VarChar, 10), In("@unit_id", DataType::VarChar, 10),
                 In("@description", DataType::VarChar, 60), In("@uom_id", DataType::VarChar, 10),
                 In("@qty", DataType::SmallInt), In("@acct_units", DataType::SmallInt),
                 In("@print_qty", DataType::SmallInt), Out(kMessage, DataType::VarChar, 255),
                 RowVersionParameter()},
                UpdateUnit);

    catalog.Add("VYM_SP_ITEM_DeleteUnit",
                {In("@function_id", DataType::VarChar, 10), In("@unit_id", DataType::VarChar, 10),
                 Out("@message", DataType::VarChar, 255), RowVersionParameter()},
                DeleteUnit);
}

// A season is found by its number, or by its function and code.
vym::Value FindSeason(ProcedureContext& call) {
    if (auto no = call.GetLong("@season_no"); no && *no != 0) {
        return call.Session().QueryValue("SELECT season_no FROM vym_season WHERE season_no = ?",
                                         {*no});
    }
    const vym::Value code = TextOrNull(call, "@season_id");
    if (code.IsNull()) {
        return vym::Value::Null();
    }
    return call.Session().QueryValue(
        "SELECT season_no FROM vym_season WHERE function_id IS NOT DISTINCT FROM ? AND season_id = "
        "?",
        {TextOrNull(call, "@function_id"), code});
}

GuardedRow SeasonRow(const vym::Value& seasonNo) {
    return {"vym_season", "season_no = ?", {seasonNo}, "season"};
}

// A saved season: the season screen (by number) sends every column; the
// service object (by code) only those it changes.
void WriteSeason(ProcedureContext& call, const vym::Value& seasonNo, const vym::Value& type,
                 bool byNumber) {
    if (byNumber) {
        call.Session().Run(
            "UPDATE vym_season SET function_id = ?, season_type_id = ?, "
            "season_group_id = ?, description = ?, is_active = COALESCE(?, 1), "
            "start_date = ?, end_date = ?, store_start_date = ?, store_end_date = ? "
            "WHERE season_no = ?",
            {TextOrNull(call, "@function_id"), type, call.Get("@season_group_id"),
             call.Get("@description"), call.Get("@is_active"), call.Get("@start_date"),
             call.Get("@end_date"), call.Get("@store_start_date"), call.Get("@store_end_date"),
             seasonNo});
        return;
    }
    call.Session().Run(
        "UPDATE vym_season SET description = COALESCE(?, description), "
        "start_date = COALESCE(?, start_date), end_date = COALESCE(?, end_date), "
        "season_type_id = COALESCE(?, season_type_id), "
        "season_group_id = COALESCE(?, season_group_id), "
        "is_active = COALESCE(?, is_active), "
        "store_start_date = COALESCE(?, store_start_date), "
        "store_end_date = COALESCE(?, store_end_date) WHERE season_no = ?",
        {call.Get("@description"), call.Get("@start_date"), call.Get("@end_date"), type,
         call.Get("@season_group_id"), call.Get("@is_active"), call.Get("@store_start_date"),
         call.Get("@store_end_date"), seasonNo});
}

// The season screen sends every column and a season number (Null for a new
// season); the service object sends a function, a season code, the
// description and the dates, and leaves the other columns as they are.
void UpdateSeason(ProcedureContext& call) {
    static constexpr std::string_view kName = "VYM_SP_ITEM_UpdateSeason";
    SqlSession& db = call.Session();
    const vym::Value function = TextOrNull(call, "@function_id");
    if (!function.IsNull()) {
        RequireFunction(db, kName, function.ToString());
    }
    const bool byNumber = call.GetLong("@season_no").value_or(0) != 0;
    if (byNumber && !RefuseIfRowChanged(call, SeasonRow(call.Get("@season_no")), kMessage)) {
        return;
    }
    vym::Value seasonNo = FindSeason(call);
    if (byNumber && seasonNo.IsNull()) {
        Fail(kName, "Season " + call.Get("@season_no").ToString() + " does not exist.");
    }
    const vym::Value type = TextOrNull(call, "@season_type_id");
    if (!type.IsNull() &&
        Count(db, "SELECT count(*) FROM vym_season_type WHERE season_type_id = ?", {type}) == 0) {
        Fail(kName, "Season type " + type.ToString() + " does not exist.");
    }
    if (seasonNo.IsNull()) {
        db.Run(
            "INSERT INTO vym_season (function_id, season_id, season_type_id, "
            "season_group_id, description, is_active, start_date, end_date, "
            "store_start_date, store_end_date) VALUES (?, ?, ?, ?, ?, COALESCE(?, 1), "
            "?, ?, ?, ?)",
            {function, TextOrNull(call, "@season_id"), type, call.Get("@season_group_id"),
             call.Get("@description"), call.Get("@is_active"), call.Get("@start_date"),
             call.Get("@end_date"), call.Get("@store_start_date"), call.Get("@store_end_date")});
        seasonNo = vym::Value::FromInt64(db.LastInsertId());
        ClaimRow(call, SeasonRow(seasonNo), kMessage);
    } else if (!WriteClaimed(call, SeasonRow(seasonNo), kMessage,
                             [&] { WriteSeason(call, seasonNo, type, byNumber); })) {
        return;
    }
    if (Count(db,
              "SELECT count(*) FROM vym_season WHERE season_no = ? AND "
              "(end_date < start_date OR store_end_date < store_start_date)",
              {seasonNo}) > 0) {
        Fail(kName, "A season cannot end before it starts.");
    }
    call.SetOutput("@season_no", seasonNo);
}

void DeleteSeason(ProcedureContext& call) {
    SqlSession& db = call.Session();
    if (call.GetLong("@season_no").value_or(0) != 0 &&
        !RefuseIfRowChanged(call, SeasonRow(call.Get("@season_no")), kMessage)) {
        return;
    }
    const vym::Value seasonNo = FindSeason(call);
    const std::string code = call.GetString("@season_id").value_or("");
    if (seasonNo.IsNull()) {
        Refuse(call, "Season " + (code.empty() ? call.Get("@season_no").ToString() : code) +
                         " does not exist.");
        return;
    }
    // Prices keep the season's number in their season_id.
    if (db.TableExists("vym_price")) {
        const auto prices =
            Count(db, "SELECT count(*) FROM vym_price WHERE season_id = ?", {seasonNo});
        const std::string subject = "Season " + (code.empty() ? seasonNo.ToString() : code);
        if (auto used = UsedBy(subject, {{prices, "price", "prices"}})) {
            Refuse(call, *used);
            return;
        }
    }
    if (!ClaimRow(call, SeasonRow(seasonNo), kMessage)) {
        return;
    }
    db.Run("DELETE FROM vym_season WHERE season_no = ?", {seasonNo});
    call.SetOutput("@message", "");
}

void RegisterSeasonProcedures(ProcedureCatalog& catalog) {
    catalog.Add(
        "VYM_SP_ITEM_UpdateSeason",
        {InOut("@season_no", DataType::Integer), In("@function_id", DataType::VarChar, 10),
         In("@season_id", DataType::VarChar, 10), In("@season_type_id", DataType::VarChar, 10),
         In("@season_group_id", DataType::Integer), In("@description", DataType::VarChar, 60),
         In("@is_active", DataType::Boolean), In("@start_date", DataType::DBTimeStamp),
         In("@end_date", DataType::DBTimeStamp), In("@store_start_date", DataType::DBTimeStamp),
         In("@store_end_date", DataType::DBTimeStamp), Out(kMessage, DataType::VarChar, 255),
         RowVersionParameter()},
        UpdateSeason);

    catalog.Add("VYM_SP_ITEM_DeleteSeason",
                {In("@season_no", DataType::Integer), In("@function_id", DataType::VarChar, 10),
                 In("@season_id", DataType::VarChar, 10), Out(kMessage, DataType::VarChar, 255),
                 RowVersionParameter()},
                DeleteSeason);
}

void UpdateItemStockHistory(ProcedureContext& call) {
    const vym::Value trans = call.Get("@trans_no");
    if (call.Session().Run("UPDATE vym_item_stock_history SET book_date = ? WHERE trans_no = ?",
                           {call.Get("@book_date"), trans}) == 0) {
        Fail("VYM_SP_ITEM_UpdateItemStockHistory",
             "Stock history transaction " + trans.ToString() + " does not exist.");
    }
}

void RegisterStockHistoryProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_UpdateItemStockHistory",
                {In("@trans_no", DataType::Integer), In("@book_date", DataType::DBTimeStamp)},
                UpdateItemStockHistory);
}

void GetSystemParm(ProcedureContext& call) {
    const vym::Value flag = call.Session().QueryValue(
        "SELECT req_rpt_dept FROM vym_system_parm WHERE system_parm_no = 1");
    call.SetOutput("@req_rpt_dept", flag.IsNull() ? flag : vym::Value(flag.ToDouble() != 0));
}

void RegisterSystemParmProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_SYSTEM_PARM_get", {Out("@req_rpt_dept", DataType::Boolean)},
                GetSystemParm);
}

}  // namespace

void RegisterItemSupportProcedures(ProcedureCatalog& catalog) {
    RegisterFunctionProcedures(catalog);
    RegisterCatagoryProcedures(catalog);
    RegisterUnitProcedures(catalog);
    RegisterSeasonProcedures(catalog);
    RegisterStockHistoryProcedures(catalog);
    RegisterSystemParmProcedures(catalog);
}

}  // namespace vym::server
