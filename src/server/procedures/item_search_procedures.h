#pragma once

#include <string>
#include <string_view>

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// What the item console needs of the database: the item searches of every
// tab (which are also the reads of one item by number), the search lists,
// item and package deletes, and vendor maintenance with its addresses.
void RegisterItemConsoleProcedures(ProcedureCatalog& catalog);

// The parts, registered by RegisterItemConsoleProcedures.
void RegisterItemSearchProcedures(ProcedureCatalog& catalog);
void RegisterItemDeleteProcedures(ProcedureCatalog& catalog);
void RegisterVendorProcedures(ProcedureCatalog& catalog);

// Demo rows of the console: resource types, labor codes, photo sizes, vendor
// addresses and packages of the ski resort. Needs the item catalogue's rows.
void AddItemConsoleDemoRows(SqlSession& session);

// True when the text is long enough for the trigram index (three characters);
// shorter texts are matched by reading the descriptions.
bool UsesDescriptionIndex(std::string_view text);

// "ABC" -> "ABC%" for LIKE with "\" as escape: the text's own "%" and "_"
// match themselves.
std::string StartsWithPattern(std::string_view text);

}  // namespace vym::server
