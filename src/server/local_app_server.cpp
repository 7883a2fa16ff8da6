#include "server/local_app_server.h"

#include <unistd.h>

#include <array>
#include <cctype>
#include <filesystem>

#include "base/error.h"
#include "server/error_log.h"
#include "server/migration.h"
#include "server/postgres_session.h"
#include "server/schema_migrator.h"
#include "server/sql_error.h"
#include "server/sqlite_connection.h"
#include "server/sqlite_session.h"
#include "server/write_transaction.h"

namespace vym::server {

struct LocalAppServer::Impl {
    std::string path;
    std::string userId;
    std::shared_ptr<SqlSession> session;
    std::shared_ptr<ErrorLog> errors;
    std::shared_ptr<SqliteConnection> connection;
    ServiceObject* serviceObject = nullptr;
    std::string statusText;
    std::vector<std::function<void(const std::string&)>> statusListeners;
};

namespace {

// A shared database has no folder of its own: each station keeps the log of
// what it was told in its log folder (the temporary folder when it has none),
// named after the database.
std::string PostgresLogPath(const std::string& shownUri, const std::string& logDirectory) {
    std::string name = "vym-";
    for (const char c : shownUri.substr(shownUri.find("://") + 3)) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    }
    const std::filesystem::path folder = logDirectory.empty()
                                             ? std::filesystem::temp_directory_path()
                                             : std::filesystem::path(logDirectory);
    return (folder / (name + ".log")).string();
}

}  // namespace

std::string DefaultStation() {
    std::array<char, 256> name{};
    if (gethostname(name.data(), name.size() - 1) != 0) {
        return {};
    }
    return name.data();
}

LocalAppServer::LocalAppServer(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
LocalAppServer::~LocalAppServer() = default;

std::unique_ptr<LocalAppServer> LocalAppServer::Open(const std::string& path,
                                                     const OpenOptions& options) {
    const auto& migrations = CompiledMigrations();
    SqliteSession::Options sessionOptions;
    sessionOptions.createIfMissing = options.createIfMissing;
    sessionOptions.newestSchemaVersion = NewestSchemaVersion(migrations);

    auto impl = std::make_unique<Impl>();
    impl->path = path;
    impl->userId = options.userId;
    const bool postgres = IsPostgresUri(path);
    if (postgres) {
        impl->session = PostgresSession::Open(path, {sessionOptions.newestSchemaVersion});
    } else {
        impl->session = SqliteSession::Open(path, sessionOptions);
    }
    const std::string shown = postgres ? WithoutPassword(path) : path;
    // A server's database exists before the program comes; an empty one is
    // only filled when asked to create the back office.
    if (postgres && !options.createIfMissing && impl->session->SchemaVersion() == 0) {
        throw vym::Error(errc::kDatabase, std::string(kConnectionSource),
                         "The database \"" + shown + "\" holds no back office.");
    }
    // Before the migrations: the demo rows of a new database are this user's.
    impl->session->SetActor({options.userId, options.station});
    MigrateSchema(*impl->session, migrations, options.demoData, shown, options.updateProgress);
    impl->errors = std::make_shared<ErrorLog>(
        postgres ? PostgresLogPath(shown, options.logDirectory) : path + ".log");
    impl->connection = std::make_shared<SqliteConnection>(
        impl->session, options.catalog ? options.catalog : ProcedureCatalog::Standard(),
        impl->errors, options.userId);
    return std::unique_ptr<LocalAppServer>(new LocalAppServer(std::move(impl)));
}

const std::string& LocalAppServer::DatabasePath() const {
    return impl_->path;
}
const std::vector<ErrorReport>& LocalAppServer::Reports() const {
    return impl_->errors->Reports();
}
std::string LocalAppServer::ErrorLogPath() const {
    return impl_->errors->LogPath();
}

vym::ErrorObject& LocalAppServer::ErrorObject() {
    return *impl_->errors;
}
std::shared_ptr<Connection> LocalAppServer::DBConnection() {
    return impl_->connection;
}
ServiceObject* LocalAppServer::SharedServiceObject() {
    return impl_->serviceObject;
}
void LocalAppServer::SetSharedServiceObject(ServiceObject* object) {
    impl_->serviceObject = object;
}

bool LocalAppServer::CheckPermission(std::string_view /*reserved*/, std::string_view application,
                                     std::string_view code) {
    return impl_->session
               ->QueryValue(
                   "SELECT count(*) FROM vym_security_permission p"
                   " JOIN vym_security_user u ON u.vym_user = p.vym_user AND u.is_active <> 0"
                   " WHERE p.vym_user = ? AND p.application = ? AND p.code = ?",
                   {impl_->userId, application, code})
               .ToLong() > 0;
}

bool LocalAppServer::ValidateUser() {
    return impl_->session
               ->QueryValue(
                   "SELECT count(*) FROM vym_security_user WHERE vym_user = ? AND is_active <> 0",
                   {impl_->userId})
               .ToLong() > 0;
}

std::string LocalAppServer::GetSetting(std::string_view path, std::string_view section,
                                       std::string_view key, std::string_view defaultValue) {
    const vym::Value value = impl_->session->QueryValue(
        "SELECT value FROM vym_setting WHERE vym_user = ? AND path = ? AND section = ? AND key = ?",
        {impl_->userId, path, section, key});
    return value.IsNull() ? std::string(defaultValue) : value.ToString();
}

void LocalAppServer::SaveSetting(std::string_view path, std::string_view section,
                                 std::string_view key, std::string_view value) {
    WriteTransaction transaction(*impl_->session);
    impl_->session->Run(
        "INSERT INTO vym_setting (vym_user, path, section, key, value) VALUES (?, ?, ?, ?, ?)"
        " ON CONFLICT (vym_user, path, section, key) DO UPDATE SET value = excluded.value",
        {impl_->userId, path, section, key, value});
    transaction.Commit();
}

void LocalAppServer::SetStatusText(std::string_view text) {
    impl_->statusText = text;
    for (const auto& listener : impl_->statusListeners) {
        listener(impl_->statusText);
    }
}

std::string LocalAppServer::StatusText() const {
    return impl_->statusText;
}

void LocalAppServer::OnStatusText(std::function<void(const std::string&)> listener) {
    impl_->statusListeners.push_back(std::move(listener));
}

std::shared_ptr<Connection> LocalAppServer::HostConnection() {
    return nullptr;  // no host system stands behind the embedded server
}

std::int32_t LocalAppServer::NextSequenceValue(std::string_view sequence) {
    if (sequence.empty()) {
        throw vym::Error(errc::kInvalidProcedureCall, "VYMAppServer.AppServer",
                         "A sequence needs a name.");
    }
    WriteTransaction transaction(*impl_->session);
    // A sequence starts at 1 the first time it is asked for.
    impl_->session->Run(
        "INSERT INTO vym_sequence (sequence_name, last_value) VALUES (?, 0)"
        " ON CONFLICT (sequence_name) DO NOTHING",
        {sequence});
    const vym::Value next = impl_->session->QueryValue(
        "UPDATE vym_sequence SET last_value = last_value + 1 WHERE sequence_name = ?"
        " RETURNING last_value",
        {sequence});
    transaction.Commit();
    return next.ToLong();
}

}  // namespace vym::server
