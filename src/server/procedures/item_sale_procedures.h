#pragma once

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// Stock sales: the sale header, its department lines and its item prices
// (vym_price rows carrying the sale number), and the lookups of the sale
// pricing screens (stock by map id, departments, locations).
void RegisterItemSaleProcedures(ProcedureCatalog& catalog);

// The sale list's operations: copy to another location, delete, and the
// two kinds of qualification (items, customer groups).
void RegisterItemSaleListProcedures(ProcedureCatalog& catalog);

// A running and a future sale of each type at the demo shops, with item and
// customer-group qualifications. Needs the catalogue's stock items, prices,
// departments, vendors and locations.
void AddItemSaleDemoRows(SqlSession& session);

}  // namespace vym::server
