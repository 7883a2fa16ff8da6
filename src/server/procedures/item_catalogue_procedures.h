#pragma once

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// The item catalogue: reads and saves of items with their type details and
// stock records, copies, extensions, add-ons, register groups, map ids and
// the rental items of rental articles and packages.
void RegisterItemCatalogueProcedures(ProcedureCatalog& catalog);

// The demo catalogue of the ski resort: lift tickets with their extensions
// and add-ons, ski school lessons, photo products, shipping charges, retail
// stock in sizes and colours, rental skis, boots and packages. Needs the
// functions, categories, locations and vendors of the support tables.
void AddItemCatalogueDemoRows(SqlSession& session);

}  // namespace vym::server
