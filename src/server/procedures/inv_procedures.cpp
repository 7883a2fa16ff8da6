#include "server/procedures/inv_procedures.h"

namespace vym::server {
namespace {

// One row per purchase order, newest first; the amount (the sixth column) is
// what the order's lines cost as ordered.
void GetPurchaseOrders(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT po.po_no, po.vendor_id, v.vendor_name AS vendor, po.status_id, "
        "po.order_date, (SELECT COALESCE(SUM(l.qty_ord * l.unit_cost), 0) FROM "
        "vym_po_line l WHERE l.po_no = po.po_no) AS po_amount, po.location_id, "
        "po.notes FROM vym_po po JOIN vym_vendor v ON v.vendor_id = po.vendor_id "
        "WHERE ?1 IS NULL OR po.status_id = ?1 ORDER BY po.po_no DESC",
        {call.Get("@status_id")});
}

}  // namespace

void RegisterInvProcedures(ProcedureCatalog& catalog) {
    catalog.Add("VyM_SP_INV_PO_GetPO", {In("@status_id", DataType::VarChar, 10)},
                GetPurchaseOrders);
    RegisterInvViewProcedures(catalog);
}

}  // namespace vym::server
