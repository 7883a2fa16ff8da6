#include "inventory/inventory_database.h"

#include "gateway/recordset.h"

namespace vym::test {

InventoryDatabase::InventoryDatabase(bool demoData) : office_({.demoData = demoData}) {
    maint_.SetAppServer(&office_.Server());
}

InventoryDatabase::~InventoryDatabase() {
    maint_.SetAppServer(nullptr);
}

std::string InventoryDatabase::Text(const std::string& sql) {
    auto rows = office_.Db().OpenRecordset(sql);
    return rows->Eof() ? "<none>" : NullToEmpty(rows->Fields(0).Value());
}

std::int32_t InventoryDatabase::Count(const std::string& sql) {
    auto rows = office_.Db().OpenRecordset(sql);
    return rows->Eof() ? 0 : NullToZero(rows->Fields(0).Value()).ToLong();
}

}  // namespace vym::test
