#pragma once

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// Prices of items and packages by extension item, season, discount and unit
// (the item price list), every price write and delete, the history of an
// item's or a package's prices, and the discount list.
void RegisterItemPriceProcedures(ProcedureCatalog& catalog);

// The bulk price change: the prices of many items read for a preview, and
// the new prices written all at once.
void RegisterItemBulkPriceProcedures(ProcedureCatalog& catalog);

// Season and discount prices of the demo lift tickets and lessons, and the
// prices of the family week package with its lines. Needs the catalogue's,
// the support tables' and the console's demo rows.
void AddItemPriceDemoRows(SqlSession& session);

}  // namespace vym::server
