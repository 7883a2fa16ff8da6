#pragma once

#include "server/procedure_catalog.h"

namespace vym::server {

// Print-format templates: the template manager's tree, reading, saving and
// deleting one template.
void RegisterItemTemplateProcedures(ProcedureCatalog& catalog);

}  // namespace vym::server
