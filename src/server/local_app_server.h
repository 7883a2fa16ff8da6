#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gateway/app_server.h"
#include "server/procedure_catalog.h"

namespace vym::server {

// The machine's host name: the station a program works at unless told otherwise.
std::string DefaultStation();

struct OpenOptions {
    std::string userId = "ADMIN";  // the signed-in user
    // Where the user works; the price history records it with every change.
    std::string station = DefaultStation();
    bool createIfMissing = true;  // a missing file becomes a new, migrated database
    bool demoData = false;        // fill a newly created database with the demo rows
    // Where a station keeps the error log of a shared (PostgreSQL) database;
    // empty for the temporary folder. A database file keeps its log beside it.
    std::string logDirectory;
    // The procedures the connection offers; nullptr for the standard catalog.
    std::shared_ptr<const ProcedureCatalog> catalog;
    // Told how an older database's update goes, and asked whether to go on
    // (a MigrationProgress); none runs the update to its end.
    std::function<bool(int step, int steps)> updateProgress;
};

// The embedded application server: one SQLite database file, its users,
// permissions, settings, sequences and error log, and the connection the
// library works through.
class LocalAppServer : public vym::AppServer {
  public:
    // Opens the database at `path`, creating and migrating it when needed.
    // Throws vym::Error with a message fit for the user when the file cannot be
    // opened or created, is not a database, or was written by a newer program
    // (such a file is never touched).
    static std::unique_ptr<LocalAppServer> Open(const std::string& path,
                                                const OpenOptions& options = {});
    ~LocalAppServer() override;

    const std::string& DatabasePath() const;
    // Every error reported since the server opened (also appended to the log
    // file beside the database).
    const std::vector<ErrorReport>& Reports() const;
    std::string ErrorLogPath() const;

    vym::ErrorObject& ErrorObject() override;
    std::shared_ptr<Connection> DBConnection() override;
    ServiceObject* SharedServiceObject() override;
    void SetSharedServiceObject(ServiceObject* object) override;
    bool CheckPermission(std::string_view reserved, std::string_view application,
                         std::string_view code) override;
    bool ValidateUser() override;
    std::string GetSetting(std::string_view path, std::string_view section, std::string_view key,
                           std::string_view defaultValue) override;
    void SaveSetting(std::string_view path, std::string_view section, std::string_view key,
                     std::string_view value) override;
    void SetStatusText(std::string_view text) override;
    std::string StatusText() const override;
    void OnStatusText(std::function<void(const std::string&)> listener) override;
    std::shared_ptr<Connection> HostConnection() override;
    std::int32_t NextSequenceValue(std::string_view sequence) override;

  private:
    struct Impl;
    explicit LocalAppServer(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace vym::server
