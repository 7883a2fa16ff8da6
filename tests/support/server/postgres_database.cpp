#include "support/server/postgres_database.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "base/error.h"
#include "server/local_app_server.h"
#include "server/migration.h"
#include "server/postgres_session.h"

namespace vym::test {
namespace {

// The server's URI with another database name in it.
std::string WithDatabase(const std::string& uri, const std::string& name) {
    const auto host = uri.find("://");
    const auto slash = uri.find('/', host + 3);
    const auto query = uri.find('?', host + 3);
    std::string out = uri.substr(0, std::min(slash, query));
    out += "/" + name;
    if (query != std::string::npos) {
        out += uri.substr(query);
    }
    return out;
}

std::shared_ptr<server::PostgresSession> Maintenance() {
    static const std::shared_ptr<server::PostgresSession> session =
        server::PostgresSession::Open(PostgresServer(), {});
    return session;
}

// Names the template after what goes into it: the migrations and the test
// program (whose demo rows may have changed since another build made one).
std::string TemplateName(bool demoData) {
    std::size_t key = 0;
    for (const server::Migration& migration : server::CompiledMigrations()) {
        key = key * 31 + std::hash<std::string_view>{}(migration.sql);
    }
    std::error_code ec;
    const auto built = std::filesystem::last_write_time("/proc/self/exe", ec);
    key = key * 31 + static_cast<std::size_t>(built.time_since_epoch().count());
    return "vym_template_" + std::string(demoData ? "demo_" : "empty_") +
           std::to_string(key % 1000000007);
}

// Builds the template under a name of this process's and renames it when
// done, so that a test program running beside this one never copies half
// of one; the loser of a race drops its own.
std::string Template(bool demoData) {
    const std::string name = TemplateName(demoData);
    auto& db = *Maintenance();
    if (db.QueryValue("SELECT count(*) FROM pg_database WHERE datname = ?", {name}).ToLong() > 0) {
        return name;
    }
    const std::string building = name + "_" + std::to_string(getpid());
    db.ExecuteScript("CREATE DATABASE " + building);
    {
        server::OpenOptions options;
        options.demoData = demoData;
        server::LocalAppServer::Open(WithDatabase(PostgresServer(), building), options);
    }
    try {
        db.ExecuteScript("ALTER DATABASE " + building + " RENAME TO " + name);
    } catch (const vym::Error&) {
        db.ExecuteScript("DROP DATABASE " + building);
    }
    return name;
}

}  // namespace

std::string PostgresServer() {
    const char* uri = std::getenv("VYM_TEST_POSTGRESQL");
    return uri ? uri : "";
}

PostgresDatabase::PostgresDatabase(bool demoData) {
    static int counter = 0;
    name_ = "vym_test_" + std::to_string(getpid()) + "_" + std::to_string(++counter);
    const std::string source = Template(demoData);
    Maintenance()->ExecuteScript("CREATE DATABASE " + name_ + " TEMPLATE " + source);
    uri_ = WithDatabase(PostgresServer(), name_);
}

PostgresDatabase::~PostgresDatabase() {
    try {
        Maintenance()->ExecuteScript("DROP DATABASE IF EXISTS " + name_ + " WITH (FORCE)");
    } catch (const vym::Error&) {
        // The cluster goes at the end of the run anyway.
    }
}

}  // namespace vym::test
