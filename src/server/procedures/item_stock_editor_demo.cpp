#include "server/procedures/item_stock_editor_procedures.h"

namespace vym::server {

void AddItemStockEditorDemoRows(SqlSession& session) {
    session.Run(
        "INSERT INTO vym_item_stock_type_department (stock_type_id, department_id) VALUES "
        "('APPAREL', 'RETAIL'), ('ACCESSORY', 'RETAIL'), ('RENTSKI', 'RENTAL'), "
        "('RENTBOOT', 'RENTAL')");
}

}  // namespace vym::server
