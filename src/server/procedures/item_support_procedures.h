#pragma once

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// The support tables behind the service object: functions, categories,
// units, seasons, stock history book dates and the system parameters.
void RegisterItemSupportProcedures(ProcedureCatalog& catalog);

// The ski resort's support tables: functions with their categories and
// units, units of measure, seasons, locations with their addresses and the
// users who work at them, stores with product groups, vendors with their
// products, purchase orders and stock history. Needs the demo users.
void AddItemSupportDemoRows(SqlSession& session);

}  // namespace vym::server
