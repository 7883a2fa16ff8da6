#pragma once

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// The stock matrix: one stock item per attribute and size of a matrix,
// created together, and put on order on a purchase order when one is given.
void RegisterItemStockMatrixProcedures(ProcedureCatalog& catalog);

// An open purchase order without lines for the matrix to fill. Needs the
// support tables' vendors, locations and purchase-order statuses.
void AddItemStockMatrixDemoRows(SqlSession& session);

}  // namespace vym::server
