#include "server/procedures/item_season_procedures.h"

#include <optional>

#include "base/date.h"

namespace vym::server {

namespace {

// Every filter is optional. A season of no function is offered for every
// function, and a season without an end never runs out.
void GetSeason(ProcedureContext& call) {
    // Whole days: a season that ends today still counts at noon.
    const std::optional<vym::Date> minDate = call.GetDate("@min_date");
    const std::optional<bool> active = call.GetBool("@is_active");
    const auto function = call.GetString("@function_id");
    call.EmitResultSet(
        "SELECT season_no, is_active, season_type_id, function_id, season_group_id, "
        "description AS Description, start_date, end_date, store_start_date, "
        "store_end_date, season_id, row_version FROM vym_season "
        "WHERE (?1 IS NULL OR CASE WHEN is_active <> 0 THEN 1 ELSE 0 END = ?1) "
        "AND (end_date >= ?2 OR ?2 IS NULL OR end_date IS NULL) "
        "AND (?3 IS NULL OR function_id IS NULL OR function_id = ?3) "
        "ORDER BY function_id NULLS FIRST, start_date, season_no",
        {active ? vym::Value(*active ? 1 : 0) : vym::Value::Null(),
         minDate ? vym::Value(minDate->DateOnly()) : vym::Value::Null(),
         function && !function->empty() ? vym::Value(*function) : vym::Value::Null()});
}

}  // namespace

void RegisterItemSeasonProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VYM_SP_ITEM_GetSeason",
                {In("@is_active", DataType::Boolean), In("@min_date", DataType::DBTimeStamp),
                 In("@function_id", DataType::VarChar, 10)},
                GetSeason);
    catalog.Add("VYM_SP_ITEM_GetSeasonType", {}, [](ProcedureContext& call) {
        call.EmitResultSet(
            "SELECT season_type_id, description FROM vym_season_type ORDER BY description");
    });
}

}  // namespace vym::server
