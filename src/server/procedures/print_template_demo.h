#pragma once

#include "server/sql_session.h"

namespace vym::server {

// Printer types with their page sizes, customer levels, and the demo
// templates of the stock label, ticket and club card formats. Needs the
// catalogue's print formats.
void AddPrintTemplateDemoRows(SqlSession& session);

}  // namespace vym::server
