#include "server/sqlite_session.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "server/column_readers.h"
#include "server/sql_engine.h"
#include "server/sql_error.h"
#include "server/statement_pool.h"

namespace vym::server {
namespace {

// The engine keeps counts of the memory it holds under a lock of the whole
// process, taken at every allocation and release; nothing here reads them,
// and the lock costs a large write a tenth of its time. Turned off as the
// program loads, before the engine starts (later, the call is refused and
// the counts stay on).
[[maybe_unused]] const bool kMemoryCountsOff =
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;

using Database = std::shared_ptr<sqlite3>;

class SqliteStatement final : public SqlStatement {
  public:
    SqliteStatement(Database db, sqlite3_stmt* statement, std::string sql)
        : db_(std::move(db)), statement_(statement), sql_(std::move(sql)) {}
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;
    ~SqliteStatement() override { sqlite3_finalize(statement_); }

    PoolHome<SqliteStatement> home;

    const std::string& Sql() const override { return sql_; }
    std::uint64_t ColumnsVersion() const override {
        return static_cast<std::uint64_t>(
            sqlite3_stmt_status(statement_, SQLITE_STMTSTATUS_REPREPARE, 0));
    }
    sqlite3_stmt* Handle() const { return statement_; }

    int ParameterCount() const override { return sqlite3_bind_parameter_count(statement_); }
    void BindNull(int index) override { Check(sqlite3_bind_null(statement_, index)); }
    void BindInt64(int index, std::int64_t value) override {
        Check(sqlite3_bind_int64(statement_, index, value));
    }
    void BindDouble(int index, double value) override {
        Check(sqlite3_bind_double(statement_, index, value));
    }
    void BindText(int index, std::string_view value) override {
        // Kept by the statement in a buffer of the parameter's, whose room
        // lasts from one call to the next: the engine neither allocates nor
        // copies, and the text lives until the statement is rewound.
        if (index < 1 || index > sqlite3_bind_parameter_count(statement_)) {
            Check(sqlite3_bind_text64(statement_, index, value.data(), value.size(),
                                      SQLITE_TRANSIENT, SQLITE_UTF8));
            return;
        }
        if (texts_.size() < static_cast<std::size_t>(index)) {
            texts_.resize(static_cast<std::size_t>(sqlite3_bind_parameter_count(statement_)));
        }
        std::string& kept = texts_[static_cast<std::size_t>(index) - 1];
        kept.assign(value);
        Check(sqlite3_bind_text64(statement_, index, kept.data(), kept.size(), SQLITE_STATIC,
                                  SQLITE_UTF8));
    }
    void BindBlob(int index, std::span<const std::uint8_t> value) override {
        // A zero-length blob is still a blob, not NULL.
        static const std::uint8_t kNothing = 0;
        Check(sqlite3_bind_blob64(statement_, index, value.empty() ? &kNothing : value.data(),
                                  value.size(), SQLITE_TRANSIENT));
    }

    bool Step() override {
        const int rc = sqlite3_step(statement_);
        if (rc == SQLITE_ROW) {
            return true;
        }
        if (rc == SQLITE_DONE) {
            return false;
        }
        std::string message = sqlite3_errmsg(db_.get());
        sqlite3_reset(statement_);
        throw SqlError(rc, message, sql_);
    }
    void Reset() override { sqlite3_reset(statement_); }
    void Rewind() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }

    int ColumnCount() const override { return sqlite3_column_count(statement_); }
    std::string_view ColumnName(int column) const override {
        return sqlite3_column_name(statement_, column);
    }
    std::string_view ColumnDeclaredType(int column) const override {
        const char* type = sqlite3_column_decltype(statement_, column);
        return type ? std::string_view(type) : std::string_view();
    }
    StorageClass ColumnStorage(int column) const override {
        switch (sqlite3_column_type(statement_, column)) {
            case SQLITE_INTEGER:
                return StorageClass::Integer;
            case SQLITE_FLOAT:
                return StorageClass::Real;
            case SQLITE_TEXT:
                return StorageClass::Text;
            case SQLITE_BLOB:
                return StorageClass::Blob;
            default:
                return StorageClass::Null;
        }
    }
    StoredCell Cell(int column) const override { return CellOf(*this, column); }
    ColumnReader Reader(const ColumnType& type) const override {
        return column_readers::For<CellOf>(type);
    }
    // Cell, without a virtual call, for the readers of this engine's columns.
    static StoredCell CellOf(const SqlStatement& of, int column) {
        const auto& self = static_cast<const SqliteStatement&>(of);
        // One call into the engine per cell: the value's own accessors take
        // no lock, and a statement is used by one thread at a time.
        sqlite3_value* value = sqlite3_column_value(self.statement_, column);
        StoredCell cell;
        switch (sqlite3_value_type(value)) {
            case SQLITE_INTEGER:
                cell.storage = StorageClass::Integer;
                cell.integer = sqlite3_value_int64(value);
                break;
            case SQLITE_FLOAT:
                cell.storage = StorageClass::Real;
                cell.real = sqlite3_value_double(value);
                break;
            case SQLITE_TEXT:
                cell.storage = StorageClass::Text;
                if (const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value))) {
                    cell.text = {text, static_cast<std::size_t>(sqlite3_value_bytes(value))};
                }
                break;
            case SQLITE_BLOB:
                cell.storage = StorageClass::Blob;
                if (const auto* data =
                        static_cast<const std::uint8_t*>(sqlite3_value_blob(value))) {
                    cell.blob = {data, static_cast<std::size_t>(sqlite3_value_bytes(value))};
                }
                break;
            default:
                break;
        }
        return cell;
    }
    std::int64_t ColumnInt64(int column) const override {
        return sqlite3_column_int64(statement_, column);
    }
    double ColumnDouble(int column) const override {
        return sqlite3_column_double(statement_, column);
    }
    std::string_view ColumnText(int column) const override {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        if (!text) {
            return {};
        }
        return {text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
    }
    std::span<const std::uint8_t> ColumnBlob(int column) const override {
        const auto* data =
            static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
        if (!data) {
            return {};
        }
        return {data, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
    }

  private:
    void Released() override {
        PoolHome<SqliteStatement>::Return(std::unique_ptr<SqliteStatement>(this));
    }
    void Check(int rc) {
        if (rc != SQLITE_OK) {
            throw SqlError(rc, sqlite3_errmsg(db_.get()), sql_);
        }
    }

    Database db_;  // kept open while any statement lives
    sqlite3_stmt* statement_;
    std::string sql_;
    std::vector<std::string> texts_;  // the text bound to each parameter
};

using Pool = StatementPool<SqliteStatement>;

vym::Error OpenError(const std::string& description) {
    return vym::Error(errc::kDatabase, std::string(kConnectionSource), description);
}

vym::Error NewerError(const std::string& path, int found, int known) {
    return OpenError("The database \"" + path +
                     "\" was written by a newer version of this program (schema version " +
                     std::to_string(found) + "; this program knows up to version " +
                     std::to_string(known) + "). It has not been opened or changed.");
}

vym::Error NotADatabaseError(const std::string& path) {
    return OpenError("The file \"" + path + "\" is not a database or is damaged.");
}

// Why the file could not be opened or read, by the engine's code: only a
// file the engine finds malformed is called damaged, so that nobody restores
// a backup over a healthy database that was merely busy or on a full disk.
vym::Error OpenFailure(const std::string& path, int code, std::string_view engineMessage) {
    const std::string database = "The database \"" + path + "\"";
    switch (code & 0xff) {
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
            return NotADatabaseError(path);
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return OpenError(database +
                             " is locked by another program. Try again when it has finished.");
        case SQLITE_FULL:
            return OpenError("The disk holding the database \"" + path + "\" is full.");
        case SQLITE_IOERR:
            return OpenError(database +
                             " could not be read: the disk reported an input/output error.");
        case SQLITE_CANTOPEN:
            return OpenError(database +
                             " cannot be opened: the file or its folder is missing or "
                             "cannot be reached.");
        case SQLITE_PERM:
            return OpenError("Access to the database \"" + path + "\" is not permitted.");
        case SQLITE_READONLY:
            return OpenError(database + " is read-only; this program needs to write to it.");
        default:
            return OpenError("Unable to open the database \"" + path +
                             "\": " + std::string(engineMessage) + ".");
    }
}

// One statement of the opening, run on the bare handle so that a failure
// keeps the engine's code. Returns the first column of the first row.
std::int64_t OpenStep(sqlite3* db, const std::string& path, const char* sql) {
    sqlite3_stmt* raw = nullptr;
    // Preparing reads the schema: the first read of the file may fail here.
    int rc = sqlite3_prepare_v2(db, sql, -1, &raw, nullptr);
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> statement(raw,
                                                                               sqlite3_finalize);
    std::int64_t value = 0;
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(raw);
        if (rc == SQLITE_ROW) {
            value = sqlite3_column_int64(raw, 0);
            rc = SQLITE_DONE;
        }
    }
    if (rc != SQLITE_DONE) {
        throw OpenFailure(path, rc, sqlite3_errmsg(db));
    }
    return value;
}

// Reads the file header before SQLite opens the file, so that a file this
// program must refuse is never written to (not even to switch its journal).
void CheckExistingFile(const std::string& path, const SqliteSession::Options& options) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        if (!options.createIfMissing) {
            throw OpenError("The database \"" + path + "\" does not exist.");
        }
        return;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw OpenError("Unable to open the database \"" + path + "\": the file cannot be read.");
    }
    std::array<unsigned char, 100> header{};
    file.read(reinterpret_cast<char*>(header.data()), header.size());
    const std::streamsize got = file.gcount();
    if (got == 0) {
        return;  // an empty file is an empty database
    }
    static constexpr std::string_view kMagic("SQLite format 3\0", 16);
    if (got < static_cast<std::streamsize>(header.size()) ||
        std::string_view(reinterpret_cast<const char*>(header.data()), kMagic.size()) != kMagic) {
        throw NotADatabaseError(path);
    }
    const int version =
        static_cast<int>((header[60] << 24) | (header[61] << 16) | (header[62] << 8) | header[63]);
    if (version > options.newestSchemaVersion) {
        throw NewerError(path, version, options.newestSchemaVersion);
    }
}

// vym_actor('user') or vym_actor('station'): the actor's, Null when empty.
void ActorFunction(sqlite3_context* context, int /*argc*/, sqlite3_value** argv) {
    const auto& actor = *static_cast<const Actor*>(sqlite3_user_data(context));
    const auto* what = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const std::string_view asked = what != nullptr ? what : "";
    const std::string& value = asked == "user" ? actor.user : actor.station;
    if (value.empty() || (asked != "user" && asked != "station")) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3_result_text64(context, value.data(), value.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

}  // namespace

Actor& DefineActorFunction(sqlite3* db) {
    auto actor = std::make_unique<Actor>();
    Actor& defined = *actor;
    // The schema's triggers may call it: it only reads what this program set.
    const int rc = sqlite3_create_function_v2(
        db, "vym_actor", 1, SQLITE_UTF8 | SQLITE_INNOCUOUS, actor.release(), ActorFunction, nullptr,
        nullptr,
        [](void* owned) { const std::unique_ptr<Actor> release(static_cast<Actor*>(owned)); });
    if (rc != SQLITE_OK) {
        throw SqlError(rc, sqlite3_errmsg(db), "vym_actor");
    }
    return defined;
}

struct SqliteSession::Impl {
    std::string path;
    Database db;
    Actor* actor = nullptr;  // owned by the handle
    std::shared_ptr<Pool> pool = std::make_shared<Pool>();
    // Every procedure call begins and ends a transaction: these are prepared
    // once, not looked up by their text call after call.
    std::unique_ptr<SqliteStatement> beginWrite, beginRead, commit;
    int depth = 0;          // open transactions, the outermost included
    bool readOnly = false;  // the outermost transaction is a read-only one

    void RunKept(std::unique_ptr<SqliteStatement>& kept, const char* sql) {
        if (!kept) {
            sqlite3_stmt* raw = nullptr;
            const int rc =
                sqlite3_prepare_v3(db.get(), sql, -1, SQLITE_PREPARE_PERSISTENT, &raw, nullptr);
            if (rc != SQLITE_OK) {
                throw SqlError(rc, sqlite3_errmsg(db.get()), sql);
            }
            kept = std::make_unique<SqliteStatement>(db, raw, sql);
        }
        kept->Step();
        kept->Reset();
    }
};

SqliteSession::SqliteSession(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
SqliteSession::~SqliteSession() = default;

std::shared_ptr<SqliteSession> SqliteSession::Open(const std::string& path,
                                                   const Options& options) {
    CheckExistingFile(path, options);

    sqlite3* raw = nullptr;
    // A session belongs to one thread at a time, so the handle needs no lock of its own.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX |
                      (options.createIfMissing ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    Database db(raw, sqlite3_close_v2);
    if (rc != SQLITE_OK) {
        throw OpenFailure(path, rc, raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
    }
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, options.busyTimeoutMs);

    // Read before any write: a damaged file fails here, a newer one is refused
    // here if it changed since the header was read.
    OpenStep(raw, path, "SELECT count(*) FROM sqlite_master");
    const auto version = OpenStep(raw, path, "PRAGMA user_version");
    if (version > options.newestSchemaVersion) {
        throw NewerError(path, static_cast<int>(version), options.newestSchemaVersion);
    }
    OpenStep(raw, path, "PRAGMA journal_mode = WAL");
    OpenStep(raw, path, "PRAGMA foreign_keys = ON");
    OpenStep(raw, path, "PRAGMA synchronous = NORMAL");
    // Each procedure called inside a longer transaction (an import's
    // thousands of rows) runs in a savepoint of its own: its journal is kept
    // in memory, not written to a temporary file row after row.
    OpenStep(raw, path, "PRAGMA temp_store = MEMORY");
    OpenStep(raw, path, kCacheSize);
    OpenStep(raw, path, kMmapSize);

    auto impl = std::make_unique<Impl>();
    impl->path = path;
    impl->actor = &DefineActorFunction(raw);
    impl->db = std::move(db);
    return std::shared_ptr<SqliteSession>(new SqliteSession(std::move(impl)));
}

StatementRef SqliteSession::Prepare(std::string_view sql, std::size_t hash,
                                    const std::shared_ptr<const std::string>* shared) {
    if (auto statement = impl_->pool->Take(sql, hash)) {
        sqlite3_stmt* handle = statement->Handle();
        StatementRef lent = Lend(std::move(statement));
        RefuseWriteWhenReadOnly(handle, sql);
        return lent;
    }
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v3(impl_->db.get(), sql.data(), static_cast<int>(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &raw, &tail);
    if (rc != SQLITE_OK) {
        throw SqlError(rc, sqlite3_errmsg(impl_->db.get()), sql);
    }
    auto statement = std::make_unique<SqliteStatement>(impl_->db, raw, std::string(sql));
    if (!raw) {
        throw SqlError(SQLITE_MISUSE, "no statement", sql);
    }
    RefuseWriteWhenReadOnly(raw, sql);
    for (const char* p = tail; p && p < sql.data() + sql.size(); ++p) {
        if (*p != ';' && !std::isspace(static_cast<unsigned char>(*p))) {
            throw SqlError(SQLITE_MISUSE, "only one statement may be run at a time", sql);
        }
    }
    statement->home = {impl_->pool, &impl_->pool->Lend(sql, hash, shared)};
    return Lend(std::move(statement));
}

void SqliteSession::ExecuteScript(std::string_view sql) {
    const std::string script(sql);
    char* error = nullptr;
    const int rc = sqlite3_exec(impl_->db.get(), script.c_str(), nullptr, nullptr, &error);
    if (rc != SQLITE_OK) {
        std::string message = error ? error : sqlite3_errstr(rc);
        sqlite3_free(error);
        throw SqlError(rc, message, script.substr(0, 200));
    }
}

void SqliteSession::RunScriptAsking(std::string_view sql, const std::function<bool()>& keepGoing) {
    // Every this many steps of the engine: a few milliseconds.
    constexpr int kStepsBetweenAsks = 100000;
    sqlite3* db = impl_->db.get();
    sqlite3_progress_handler(
        db, kStepsBetweenAsks,
        [](void* ask) { return (*static_cast<const std::function<bool()>*>(ask))() ? 0 : 1; },
        const_cast<std::function<bool()>*>(&keepGoing));
    struct HandlerOff {
        sqlite3* db;
        ~HandlerOff() { sqlite3_progress_handler(db, 0, nullptr, nullptr); }
    } off{db};
    ExecuteScript(sql);
}

namespace {
std::string SavepointName(int depth) {
    return "vym_nested_" + std::to_string(depth);
}
}  // namespace

void SqliteSession::BeginImmediate() {
    const int depth = impl_->depth;
    if (depth == 0) {
        impl_->RunKept(impl_->beginWrite, "BEGIN IMMEDIATE");
    } else {
        Run("SAVEPOINT " + SavepointName(depth));
    }
    impl_->depth = depth + 1;
}

void SqliteSession::BeginRead() {
    const int depth = impl_->depth;
    if (depth == 0) {
        impl_->RunKept(impl_->beginRead, "BEGIN");
    } else {
        Run("SAVEPOINT " + SavepointName(depth));
    }
    impl_->readOnly = impl_->readOnly || depth == 0;
    impl_->depth = depth + 1;
}

void SqliteSession::RefuseWriteWhenReadOnly(sqlite3_stmt* statement, std::string_view sql) const {
    if (impl_->readOnly && sqlite3_stmt_readonly(statement) == 0) {
        throw SqlError(SQLITE_READONLY, "a read-only transaction cannot write", sql);
    }
}

void SqliteSession::Commit() {
    const int depth = impl_->depth - 1;
    if (depth <= 0) {
        impl_->RunKept(impl_->commit, "COMMIT");
    } else {
        Run("RELEASE " + SavepointName(depth));
    }
    impl_->depth = std::max(depth, 0);
    impl_->readOnly = impl_->readOnly && impl_->depth > 0;
}

void SqliteSession::Rollback() {
    if (impl_->depth == 0) {
        return;
    }
    const int depth = --impl_->depth;
    impl_->readOnly = impl_->readOnly && depth > 0;
    // A failed statement may already have ended the whole transaction.
    if (!InTransaction()) {
        impl_->depth = 0;
        impl_->readOnly = false;
        return;
    }
    const std::string sql =
        depth == 0 ? std::string("ROLLBACK")
                   : "ROLLBACK TO " + SavepointName(depth) + "; RELEASE " + SavepointName(depth);
    sqlite3_exec(impl_->db.get(), sql.c_str(), nullptr, nullptr, nullptr);
}

bool SqliteSession::InTransaction() const {
    return sqlite3_get_autocommit(impl_->db.get()) == 0;
}
std::int64_t SqliteSession::Changes() const {
    return sqlite3_changes64(impl_->db.get());
}
std::int64_t SqliteSession::LastInsertId() const {
    return sqlite3_last_insert_rowid(impl_->db.get());
}

const SqlEngine& SqliteSession::Engine() const {
    return SqlEngine::Sqlite();
}

void SqliteSession::SetActor(const Actor& actor) {
    *impl_->actor = actor;
}

int SqliteSession::SchemaVersion() {
    return QueryValue("PRAGMA user_version").ToLong();
}
void SqliteSession::SetSchemaVersion(int version) {
    Run("PRAGMA user_version = " + std::to_string(version));
}

}  // namespace vym::server
