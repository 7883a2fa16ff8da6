#pragma once

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// Pricing of packages line by line (the lines of a package with the prices
// they have under one package price) and the upgrade prices between rental
// packages.
void RegisterPackagePricingProcedures(ProcedureCatalog& catalog);

// Prices by season of the lesson package, line totals that agree with their
// package prices, a third rental package and upgrade prices between the
// rental packages. Needs the catalogue's, the console's and the price demo
// rows.
void AddPackagePricingDemoRows(SqlSession& session);

}  // namespace vym::server
