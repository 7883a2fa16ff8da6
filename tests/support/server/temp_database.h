#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "server/local_app_server.h"
#include "server/procedure_catalog.h"
#include "support/server/postgres_database.h"

namespace vym::test {

// The procedures the server tests call, over the table test_item that
// TempDatabase creates:
//   VYM_SP_TEST_AddItem    @item_no InOut (Null = next number), @description,
//                          @unit_price, @created, @is_active, @notes, @message Out;
//                          refuses an empty description with @message and -1.
//   VYM_SP_TEST_GetItems   @is_active (Null = all): the items, then their count.
//   VYM_SP_TEST_AddThenFail  @description: writes a row, then raises.
std::shared_ptr<const server::ProcedureCatalog> TestCatalog();

// A unique empty directory under the system's temporary directory.
std::filesystem::path MakeTempDir();

// Such a directory, removed with everything in it when it goes; declare it
// before whatever keeps files open in it.
struct TempDir {
    std::filesystem::path path = MakeTempDir();
    TempDir() = default;
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ec;  // a directory left behind is no reason to stop the tests
        std::filesystem::remove_all(path, ec);
    }
};

// A fresh database in a temporary directory of its own, removed afterwards,
// opened by a LocalAppServer with the test catalog and the test_item table;
// on PostgreSQL (VYM_TEST_POSTGRESQL) a database of its own on that server.
class TempDatabase {
  public:
    explicit TempDatabase(bool demoData = true);
    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;

    const std::filesystem::path& Dir() const { return dir_.path; }
    // The database file, or the PostgreSQL database's URI.
    std::string Path() const;
    server::LocalAppServer& Server() { return *server_; }
    vym::Connection& Db() { return *connection_; }
    std::shared_ptr<vym::Connection> SharedDb() { return connection_; }

    // Another server on the same file, as a second program would open it.
    std::unique_ptr<server::LocalAppServer> OpenAgain(const std::string& user = "ADMIN") const;
    // Rows of test_item.
    std::int32_t ItemCount();

  private:
    TempDir dir_;  // first, so that it goes last
    std::unique_ptr<PostgresDatabase> postgres_;
    std::unique_ptr<server::LocalAppServer> server_;
    std::shared_ptr<vym::Connection> connection_;
};

}  // namespace vym::test
