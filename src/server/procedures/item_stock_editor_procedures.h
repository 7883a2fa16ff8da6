#pragma once

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// The department lists of the stock editor: the sales departments of a
// stock type (or of rental items), and the reporting departments and
// sub-departments below them.
void RegisterItemStockEditorProcedures(ProcedureCatalog& catalog);

// Links the demo stock types to the shop departments they are sold in.
// Needs the item catalogue's demo rows.
void AddItemStockEditorDemoRows(SqlSession& session);

}  // namespace vym::server
