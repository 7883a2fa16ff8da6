#pragma once

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// Purchase orders as receiving and the stock screens pick them, and the
// inventory views: stock history, stock by location, the monthly summary.
void RegisterInvProcedures(ProcedureCatalog& catalog);

// The stock history, stock by location and monthly summary procedures
// (inv_views_procedures.cpp); called by RegisterInvProcedures.
void RegisterInvViewProcedures(ProcedureCatalog& catalog);

// A few months of receipts, sales, transfers and counts for the demo's stock
// articles, ending at the quantities their locations hold.
void AddInvDemoRows(SqlSession& session);

}  // namespace vym::server
