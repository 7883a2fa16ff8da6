#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "server/local_app_server.h"
#include "support/server/delegating_app_server.h"
#include "support/server/fault_injecting_connection.h"
#include "support/server/postgres_database.h"
#include "support/server/temp_database.h"

namespace vym::test {

// A back office on a database of its own in a temporary folder, removed
// afterwards: the demo rows unless asked otherwise, signed in as ADMIN. When
// the tests run on PostgreSQL (VYM_TEST_POSTGRESQL), the database is one of
// its own on that server instead, dropped afterwards.
//
// Server() is what screens and records are handed. It gives the real
// connection until a test puts a fault injector in its place, and a host
// system connection once a test provides one.
class BackOffice {
  public:
    struct Options {
        bool demoData = true;
        std::string user = "ADMIN";
    };

    BackOffice() : BackOffice(Options{}) {}
    explicit BackOffice(Options options);
    ~BackOffice();
    BackOffice(const BackOffice&) = delete;
    BackOffice& operator=(const BackOffice&) = delete;

    AppServer& Server();
    server::LocalAppServer& Local() { return *local_; }
    // The real connection, past any fault injector.
    Connection& Db() { return *local_->DBConnection(); }
    // The database file, or the PostgreSQL database's URI.
    std::string Path() const;
    const std::filesystem::path& Dir() const { return dir_.path; }

    // The fault injector over the real connection; from the first call on,
    // Server() hands it out instead.
    FaultInjectingConnection& Faults();
    void SetHostConnection(std::shared_ptr<Connection> host);
    // Another server on the same file, as a second station would open it.
    std::unique_ptr<server::LocalAppServer> OpenAgain(
        const std::string& user = "ADMIN",
        const std::string& station = server::DefaultStation()) const;

    // Fails the running test for each error the server was told of.
    void ExpectNoErrorReports() const;

    void Sql(const std::string& sql);
    std::int32_t Scalar(const std::string& sql);
    // The first column of the first row as text, "<none>" when there is no row.
    std::string Text(const std::string& sql);

    // The question a screen asks when its save of the row `what` ("price")
    // found by `where` ("vym_price WHERE price_no = 2") was refused because
    // `user` saved the row after the screen read it.
    std::string ChangedBy(const std::string& user, const std::string& what,
                          const std::string& where);

  private:
    class SwitchableServer;

    TempDir dir_;  // first, so that it goes last
    std::unique_ptr<PostgresDatabase> postgres_;
    std::unique_ptr<server::LocalAppServer> local_;
    std::unique_ptr<SwitchableServer> server_;
};

}  // namespace vym::test
