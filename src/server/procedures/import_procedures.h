#pragma once

#include "server/procedure_catalog.h"

namespace vym::server {

// The reads an import of stock items or prices classifies its rows against
// (every stock item, every base price, the ids a row may refer to) and the
// saves of one imported row each, which the import calls inside one
// transaction of its own.
void RegisterImportProcedures(ProcedureCatalog& catalog);

}  // namespace vym::server
