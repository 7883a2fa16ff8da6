#pragma once

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// The lists of the item editor and the package editor: photo sizes, photo
// labs, access rules and print formats by type.
void RegisterItemEditorProcedures(ProcedureCatalog& catalog);

// Demo rows of the editor's lists (transaction types, ski school events and
// lesson codes, photo labs) and the ticket and lesson details that use them.
// Needs the item catalogue's and the console's rows.
void AddItemEditorDemoRows(SqlSession& session);

}  // namespace vym::server
