#pragma once

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// What the stock label screen lists: one label row for a stock item or one
// of its serialized units, and the printers and page sizes to print on.
void RegisterStockLabelProcedures(ProcedureCatalog& catalog);

// The label row of VYM_SP_ITEM_GetStockLabels: ?1 the item, ?2 the serial
// id or Null. A unit's own price and label format win over its item's;
// without a serial id the row is the item's, without unit columns, and with
// one that the item does not have there is no row.
extern const char* const kStockLabelSelect;

// Two receivings of retail stock; the items received print with the shelf
// label. Needs the catalogue's stock and the print templates.
void AddReceivingDemoRows(SqlSession& session);

}  // namespace vym::server
