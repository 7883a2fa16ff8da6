#pragma once

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// The reads behind the support tables screen (functions, categories, units,
// units of measure) and the profiles with their prompts: profiles, the
// prompts of a profile by module and sequence, and the lists a prompt is
// built from (prompt definitions, reason types, authorizer groups, modules).
void RegisterItemReferenceProcedures(ProcedureCatalog& catalog);

// Prompt definitions, reason types, authorizer groups, the point-of-sale
// modules and the prompts of the demo profiles. Needs the demo profiles of
// the item catalogue.
void AddItemReferenceDemoRows(SqlSession& session);

}  // namespace vym::server
