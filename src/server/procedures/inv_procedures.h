#pragma once

#include "server/procedure_catalog.h"

namespace vym::server {

// Purchase orders as receiving and the stock screens pick them.
void RegisterInvProcedures(ProcedureCatalog& catalog);

}  // namespace vym::server
