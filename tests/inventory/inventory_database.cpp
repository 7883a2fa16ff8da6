#include "inventory/inventory_database.h"

#include "gateway/recordset.h"
#include "support/server/temp_database.h"

namespace vym::test {

InventoryDatabase::InventoryDatabase(bool demoData) : dir_(MakeTempDir()) {
    server::OpenOptions options;
    options.demoData = demoData;
    server_ = server::LocalAppServer::Open((dir_ / "backoffice.db").string(), options);
    maint_.SetAppServer(server_.get());
}

InventoryDatabase::~InventoryDatabase() {
    maint_.SetAppServer(nullptr);
    server_.reset();
    std::filesystem::remove_all(dir_);
}

std::string InventoryDatabase::Text(const std::string& sql) {
    auto rows = server_->DBConnection()->OpenRecordset(sql);
    return rows->Eof() ? "<none>" : NullToEmpty(rows->Fields(0).Value());
}

std::int32_t InventoryDatabase::Count(const std::string& sql) {
    auto rows = server_->DBConnection()->OpenRecordset(sql);
    return rows->Eof() ? 0 : NullToZero(rows->Fields(0).Value()).ToLong();
}

}  // namespace vym::test
