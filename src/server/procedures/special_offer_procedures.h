#pragma once

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// Special offers: the offers, their detail lines with the package
// breakdowns, and the lists of the detail screen (item types, stores with
// their product groups, products and product items).
void RegisterSpecialOfferProcedures(ProcedureCatalog& catalog);

// The detail screen's store lists and item types.
void RegisterSpecialOfferLookups(ProcedureCatalog& catalog);

// Product items for the demo stores, a running offer with percentage, fixed,
// minimum-amount, exclusion, product-item and package-split lines, and an
// expired one. Needs the stores, the stock items, the packages and prices.
void AddSpecialOfferDemoRows(SqlSession& session);

}  // namespace vym::server
