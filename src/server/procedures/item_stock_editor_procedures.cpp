#include "server/procedures/item_stock_editor_procedures.h"

#include <string>

namespace vym::server {
namespace {

// The departments stock of the stock type is sold in; for rental items (no
// stock type) those of the rental stock types. Where no department is linked,
// every item department may be used.
void GetItemStockDept(ProcedureContext& call) {
    const vym::Value itemType = TextOrNull(call, "@item_type");
    const vym::Value stockType = TextOrNull(call, "@stock_type_id");
    constexpr const char* kLinked =
        "SELECT DISTINCT l.department_id FROM vym_item_stock_type_department l "
        "JOIN vym_item_stock_type st ON st.stock_type_id = l.stock_type_id "
        "WHERE (?1 IS NOT NULL AND l.stock_type_id = ?1) "
        "OR (?1 IS NULL AND ?2 = 'RENTAL' AND st.rental_type = 'RENTAL')";
    const bool linked =
        call.Session()
            .QueryValue(std::string("SELECT EXISTS (") + kLinked + ")", {stockType, itemType})
            .ToLong() != 0;
    if (linked) {
        call.EmitResultSet(std::string("SELECT d.department_id, d.description AS "
                                       "Description FROM vym_department d WHERE "
                                       "d.department_id IN (") +
                               kLinked + ") ORDER BY d.description",
                           {stockType, itemType});
    } else {
        call.EmitResultSet(
            "SELECT department_id, description AS Description FROM vym_department "
            "WHERE department_type_id = 'ITEM' ORDER BY description");
    }
}

}  // namespace

void RegisterItemStockEditorProcedures(ProcedureCatalog& catalog) {
    catalog.Add(
        "VYM_SP_ITEM_GetItemStockDept",
        {In("@item_type", DataType::VarChar, 10), In("@stock_type_id", DataType::VarChar, 10)},
        GetItemStockDept);

    catalog.Add("VYM_SP_ITEM_GetItemStockRptDept", {In("@department_id", DataType::VarChar, 10)},
                [](ProcedureContext& call) {
                    call.EmitResultSet(
                        "SELECT r.report_department_id, r.description AS Description "
                        "FROM vym_report_department r JOIN vym_department_report dr "
                        "ON dr.report_department_id = r.report_department_id "
                        "WHERE dr.department_id = ? ORDER BY r.description",
                        {TextOrNull(call, "@department_id")});
                });

    catalog.Add("VYM_SP_ITEM_GetItemStockSubRptDept",
                {In("@report_department_id", DataType::VarChar, 10)}, [](ProcedureContext& call) {
                    call.EmitResultSet(
                        "SELECT report_sub_department_id, description AS Description "
                        "FROM vym_report_sub_department WHERE report_department_id = ? "
                        "ORDER BY description",
                        {TextOrNull(call, "@report_department_id")});
                });
}

}  // namespace vym::server
