#pragma once

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// The reads behind season maintenance and the season lists of the pricing
// screens: the seasons, optionally only the active ones still running on a
// day for one function, and the season types. The season writes belong to
// the support tables.
void RegisterItemSeasonProcedures(ProcedureCatalog& catalog);

// Moves the demo seasons to the winter the demo database is created in, so
// that the price lists always have seasons still to come, and gives the lift
// seasons the dates the online store sells them. Needs the support tables'
// demo seasons.
void AddItemSeasonDemoRows(SqlSession& session);

}  // namespace vym::server
