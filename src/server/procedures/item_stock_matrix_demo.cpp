#include "base/date.h"
#include "server/procedures/item_stock_matrix_procedures.h"

namespace vym::server {

void AddItemStockMatrixDemoRows(SqlSession& session) {
    session.Run(
        "INSERT INTO vym_po (po_no, vendor_id, location_id, status_id, order_date, notes) "
        "VALUES (?, ?, ?, ?, ?, ?)",
        {1005, "ALPINEGEAR", "BASE", "OPEN", vym::Date::FromParts(2024, 12, 2),
         "Spring fleece by colour and size"});
}

}  // namespace vym::server
