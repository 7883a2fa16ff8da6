#pragma once

#include "server/procedure_catalog.h"
#include "server/sql_session.h"

namespace vym::server {

// The serialized units of stock items: their reads, search and lists, their
// saves with the uniqueness of serial and map ids, quantity checks, rental
// contract history, and the units made from a transfer batch.
void RegisterSerialProcedures(ProcedureCatalog& catalog);

// Rental skis, boots and boards with serial numbers, map ids, a contract
// history and a transfer batch still to generate units from. Needs the item
// catalogue's rental stock.
void AddSerialDemoRows(SqlSession& session);

namespace serial {
// Registered by RegisterSerialProcedures, kept apart by concern.
void RegisterSerialReads(ProcedureCatalog& catalog);
void RegisterSerialWrites(ProcedureCatalog& catalog);
void RegisterSerialBatch(ProcedureCatalog& catalog);
// A serial id for a new unit of the item at the location that no unit of the
// item has: the model's and the location's prefixes and the next number of
// their sequence. Empty when the item does not exist.
std::string NextUniqueSerial(SqlSession& session, std::int32_t itemNo,
                             const std::string& locationId);
// Scanning a unit's serial id or maker's serial finds it: both are maps, as
// is any map added later. Nothing for a Null map.
void AddMap(SqlSession& session, const vym::Value& itemNo, const vym::Value& serialId,
            const vym::Value& mapId, const std::string& user);
}  // namespace serial

}  // namespace vym::server
