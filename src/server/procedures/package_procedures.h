#pragma once

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// Packages: saving a package's header, its lines with their print formats
// and redemption mapping, and the register groups it is sold in. The read of
// a package and the package search belong to the item console.
void RegisterPackageProcedures(ProcedureCatalog& catalog);

// The ski resort's packages made to look lived in: instructions, tree
// symbols, more register groups and a web package redeemed as the family
// week at the ticket window. Needs the console's demo packages.
void AddPackageDemoRows(SqlSession& session);

}  // namespace vym::server
