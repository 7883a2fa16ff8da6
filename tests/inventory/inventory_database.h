#pragma once

#include <memory>
#include <string>

#include "server/local_app_server.h"
#include "service/citem_maint.h"
#include "support/server/back_office.h"

namespace vym::test {

// The demo back office in a directory of its own, with a service object bound
// to it: its stock articles (500-503, 510, 511 in the shops BASE and VILLAGE;
// the rental articles 600, 601 and 610) have a season of stock history.
class InventoryDatabase {
  public:
    explicit InventoryDatabase(bool demoData = true);
    ~InventoryDatabase();
    InventoryDatabase(const InventoryDatabase&) = delete;
    InventoryDatabase& operator=(const InventoryDatabase&) = delete;

    CItemMaint& Maint() { return maint_; }
    server::LocalAppServer& Server() { return office_.Local(); }
    // The first column of the first row as text; "<none>" without a row.
    std::string Text(const std::string& sql);
    std::int32_t Count(const std::string& sql);

  private:
    BackOffice office_;
    CItemMaint maint_;
};

}  // namespace vym::test
