#pragma once

#include "server/sql_session.h"

namespace vym::server {

// Fills a new database with the demo back office of a ski resort: every
// area's rows, in an order that satisfies their references. Runs inside the
// transaction that creates the database. How an area adds its rows is told
// at the top of procedure_catalog.h.
void AddDemoData(SqlSession& session);

}  // namespace vym::server
