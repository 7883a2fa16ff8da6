#pragma once

#include "server/procedure_catalog.h"

namespace vym::server {

// The product groups of the resort's stores.
void RegisterStoreProcedures(ProcedureCatalog& catalog);

}  // namespace vym::server
