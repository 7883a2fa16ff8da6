#include "server/postgres_session.h"

#include <libpq-fe.h>
#include <poll.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/error.h"
#include "server/sql_dialect.h"
#include "server/sql_engine.h"
#include "server/sql_error.h"
#include "server/statement_pool.h"

namespace vym::server {
namespace {

// Built-in type numbers (pg_type.oid), fixed since forever.
constexpr Oid kUnknown = 0, kBool = 16, kBytea = 17, kInt8 = 20, kInt2 = 21, kInt4 = 23, kText = 25,
              kOid = 26, kFloat4 = 700, kFloat8 = 701, kNumeric = 1700;
// Writers take this transaction lock first, as BEGIN IMMEDIATE takes the
// embedded store's write lock.
constexpr const char* kBegin = "BEGIN; SELECT pg_advisory_xact_lock(74797335)";

using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

Result Wrap(PGresult* result) {
    return Result(result, PQclear);
}

// A script of comments alone (a migration of the other engine's) runs
// nothing, and nothing went wrong.
bool Succeeded(const PGresult* result) {
    const ExecStatusType status = PQresultStatus(result);
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY;
}

std::string Field(const PGresult* result, int field) {
    const char* value = PQresultErrorField(result, field);
    return value ? value : "";
}

// The columns named in "Key (a, b)=(1, 2) already exists.", as "t.a, t.b".
std::string KeyColumns(const std::string& table, const std::string& detail) {
    const auto open = detail.find('(');
    const auto close = detail.find(")=");
    if (open == std::string::npos || close == std::string::npos || close < open) {
        return table;
    }
    std::string out;
    std::string_view columns(detail.data() + open + 1, close - open - 1);
    while (!columns.empty()) {
        const auto comma = columns.find(", ");
        out += (out.empty() ? "" : ", ") + table + "." + std::string(columns.substr(0, comma));
        columns = comma == std::string_view::npos ? std::string_view() : columns.substr(comma + 2);
    }
    return out;
}

// The server's failure in the words the embedded store uses for the same
// fault, so that a message reads the same on either engine.
std::string Message(const PGresult* result, const std::string& state) {
    const std::string table = Field(result, PG_DIAG_TABLE_NAME);
    if (state == "23505") {
        return "UNIQUE constraint failed: " +
               KeyColumns(table, Field(result, PG_DIAG_MESSAGE_DETAIL));
    }
    if (state == "23503") {
        return "FOREIGN KEY constraint failed";
    }
    if (state == "23502") {
        return "NOT NULL constraint failed: " + table + "." + Field(result, PG_DIAG_COLUMN_NAME);
    }
    if (state == "23514") {
        return "CHECK constraint failed: " + Field(result, PG_DIAG_CONSTRAINT_NAME);
    }
    if (state == "42P01") {
        // relation "vym_nowhere" does not exist
        const std::string primary = Field(result, PG_DIAG_MESSAGE_PRIMARY);
        const auto open = primary.find('"');
        const auto close = primary.find('"', open + 1);
        if (open != std::string::npos && close != std::string::npos) {
            return "no such table: " + primary.substr(open + 1, close - open - 1);
        }
    }
    if (state == "40P01" || state == "55P03") {
        return "database is locked";
    }
    return Field(result, PG_DIAG_MESSAGE_PRIMARY);
}

vym::Error LostConnection(std::string_view context) {
    return SqlError(
        SqlEngine::Postgres(), "08006",
        "The connection to the database server was lost; nothing of this action was saved. "
        "The next action connects again",
        context);
}

// A statement whose rows come through a cursor, a batch at a time.
class Cursor {
  public:
    virtual ~Cursor() = default;
    // Fetches every row left and closes the cursor, before its transaction ends.
    virtual void FetchRest() = 0;
    // Forgets the cursor, gone with its transaction: no more rows.
    virtual void Drop() = 0;
};

// The connection and what the statements of a session share.
struct Link {
    PGconn* conn = nullptr;
    std::string uri;
    std::int64_t changes = 0;
    int depth = 0;  // open transactions, the outermost included
    // Bumped on every reconnect: statements prepared before are gone.
    std::uint64_t generation = 0;
    std::uint64_t nextName = 0;
    bool lost = false;
    // The open transaction is a read; a read that ended while cursors were
    // open in it commits once they close, or before anything else is sent.
    bool readOnly = false;
    bool commitDeferred = false;
    std::vector<Cursor*> cursors;
    // Declared types of table columns and base types of domains, by number.
    std::map<std::pair<Oid, int>, std::string> declared;
    std::map<Oid, Oid> baseTypes;

    Link() = default;
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;
    ~Link() { PQfinish(conn); }

    bool Bad() const { return lost || PQstatus(conn) != CONNECTION_OK; }

    // Runs SQL without parameters; throws on failure.
    Result Exec(std::string_view sql, std::string_view context) {
        Settle();
        return Run(sql, context);
    }
    // Runs a script as Exec does, asking `keepGoing` every few milliseconds
    // while the server works on it; a false answer cancels the statement
    // running, which fails the script.
    void ExecAsking(std::string_view sql, std::string_view context,
                    const std::function<bool()>& keepGoing) {
        constexpr int kAskMs = 50;
        Settle();
        if (PQsendQuery(conn, std::string(sql).c_str()) == 0) {
            Check(Wrap(PQmakeEmptyPGresult(conn, PGRES_FATAL_ERROR)).get(), context);
        }
        bool cancelled = false;
        while (PQisBusy(conn) != 0) {
            pollfd socket{PQsocket(conn), POLLIN, 0};
            poll(&socket, 1, kAskMs);
            if (PQconsumeInput(conn) == 0) {
                break;  // the connection failed: its result says so
            }
            if (!cancelled && !keepGoing()) {
                const std::unique_ptr<PGcancel, decltype(&PQfreeCancel)> cancel(PQgetCancel(conn),
                                                                                PQfreeCancel);
                std::array<char, 256> error{};
                cancelled = cancel && PQcancel(cancel.get(), error.data(), error.size()) != 0;
            }
        }
        // Every statement's result, up to the end of the script.
        Result failed(nullptr, PQclear);
        while (PGresult* next = PQgetResult(conn)) {
            Result result = Wrap(next);
            if (!failed && !Succeeded(next)) {
                failed = std::move(result);
            }
        }
        if (failed) {
            Check(failed.get(), context);
        }
        if (PQstatus(conn) != CONNECTION_OK) {
            lost = true;
            throw LostConnection(context);
        }
    }

    // The same within a read whose end waits for its cursors.
    Result Run(std::string_view sql, std::string_view context) {
        Result result = Wrap(PQexec(conn, std::string(sql).c_str()));
        Check(result.get(), context);
        return result;
    }

    // Ends a read whose cursors kept it open: fetches what they have left
    // first, so that their statements still step through every row.
    void Settle() {
        if (!commitDeferred) {
            return;
        }
        commitDeferred = false;
        for (Cursor* cursor : std::exchange(cursors, {})) {
            cursor->FetchRest();
        }
        Run("COMMIT", "COMMIT");
    }

    // A cursor closed by its statement; the read it kept open ends with the last.
    void Close(Cursor* cursor, const std::string& name) {
        std::erase(cursors, cursor);
        if (!Bad()) {
            const bool last = commitDeferred && cursors.empty();
            commitDeferred = commitDeferred && !last;
            Run("CLOSE " + name + (last ? "; COMMIT" : ""), "CLOSE");
        }
    }

    void Check(const PGresult* result, std::string_view context) {
        if (Succeeded(result)) {
            return;
        }
        if (PQstatus(conn) != CONNECTION_OK) {
            lost = true;
            throw LostConnection(context);
        }
        const std::string state = Field(result, PG_DIAG_SQLSTATE);
        throw SqlError(SqlEngine::Postgres(), state, Message(result, state), context);
    }

    // Connects again after a loss; only between transactions, so that no
    // half of a transaction is ever carried over to a new connection.
    void Reconnect() {
        if (!Bad() || depth > 0) {
            return;
        }
        PQreset(conn);
        if (PQstatus(conn) != CONNECTION_OK) {
            throw LostConnection("connect");
        }
        lost = false;
        ++generation;
        commitDeferred = false;
        for (Cursor* cursor : std::exchange(cursors, {})) {
            cursor->Drop();
        }
        Setup();
    }

    // The statements are short: compiling one (jit) takes longer than running
    // it. A result read through a cursor is one a screen shows the first rows
    // of while it reads on, so its plan is made for those first rows.
    void Setup() {
        Exec(
            "SET DateStyle = ISO; SET client_min_messages = warning; SET jit = off; "
            "SET cursor_tuple_fraction = 0.01",
            "connect");
        ApplyActor();
    }

    // The actor as settings of the connection, which vym_actor() reads; set
    // again on every connect.
    void ApplyActor() {
        Settle();
        const char* values[] = {actor.user.c_str(), actor.station.c_str()};
        Result result = Wrap(PQexecParams(conn,
                                          "SELECT set_config('vym.actor_user', $1, false), "
                                          "set_config('vym.actor_station', $2, false)",
                                          2, nullptr, values, nullptr, nullptr, 0));
        Check(result.get(), "actor");
    }
    Actor actor;

    std::string DeclaredType(Oid table, int column);
    Oid BaseType(Oid type);
    // citext, the type of NOCASE columns; plain text where it is missing.
    Oid CaseBlindText() {
        if (caseBlindText == kUnknown) {
            Result result = Exec("SELECT coalesce(to_regtype('citext')::oid, 25)", "citext");
            caseBlindText = static_cast<Oid>(std::atoll(PQgetvalue(result.get(), 0, 0)));
        }
        return caseBlindText;
    }
    Oid caseBlindText = kUnknown;
};

std::string_view Strip(std::string_view text, std::string_view prefix) {
    return text.starts_with(prefix) ? text.substr(prefix.size()) : text;
}

// A column's type as the embedded store declares it, from the name
// PostgreSQL gives it: the vym_ domains are the embedded store's type names.
std::string AsDeclared(std::string type) {
    if (type == "vym_nocase" || type == "citext") {
        return "varchar";
    }
    if (type.starts_with("vym_")) {
        type = type.substr(4);
        for (char& c : type) {
            c = c == '_' ? ' ' : c;
        }
        return type;
    }
    if (type.starts_with("character varying")) {
        return "varchar" + type.substr(17);
    }
    if (type.starts_with("timestamp")) {
        return "datetime";
    }
    if (type == "bytea") {
        return "blob";
    }
    return std::string(Strip(type, "pg_catalog."));
}

std::string Link::DeclaredType(Oid table, int column) {
    if (table == InvalidOid || column <= 0) {
        return {};
    }
    const auto key = std::make_pair(table, column);
    if (auto found = declared.find(key); found != declared.end()) {
        return found->second;
    }
    const std::string sql =
        "SELECT format_type(atttypid, atttypmod) FROM pg_attribute "
        "WHERE attrelid = " +
        std::to_string(table) + " AND attnum = " + std::to_string(column);
    Result result = Exec(sql, sql);
    std::string type = PQntuples(result.get()) ? AsDeclared(PQgetvalue(result.get(), 0, 0)) : "";
    return declared.emplace(key, std::move(type)).first->second;
}

Oid Link::BaseType(Oid type) {
    if (type < 10000) {
        return type;  // built in
    }
    if (auto found = baseTypes.find(type); found != baseTypes.end()) {
        return found->second;
    }
    const std::string sql = "SELECT typbasetype FROM pg_type WHERE oid = " + std::to_string(type);
    Result result = Exec(sql, sql);
    Oid base = type;
    if (PQntuples(result.get()) && std::atoll(PQgetvalue(result.get(), 0, 0)) != 0) {
        base = static_cast<Oid>(std::atoll(PQgetvalue(result.get(), 0, 0)));
    }
    return baseTypes.emplace(type, base).first->second;
}

StorageClass StorageOf(Oid type) {
    switch (type) {
        case kBool:
        case kInt2:
        case kInt4:
        case kInt8:
        case kOid:
            return StorageClass::Integer;
        case kFloat4:
        case kFloat8:
        case kNumeric:
            return StorageClass::Real;
        case kBytea:
            return StorageClass::Blob;
        default:
            return StorageClass::Text;
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : 0;
}

// The first batch of a result read through a cursor is what a screen shows
// first: the console's first 200 rows, and the one its recordset reads ahead
// of them, so that they come in one fetch. Later batches grow, up to the
// largest.
constexpr int kFirstBatch = 201;
constexpr int kLargestBatch = 20000;

class PostgresStatement final : public SqlStatement, private Cursor {
  public:
    PostgresStatement(std::shared_ptr<Link> link, std::string sql)
        : link_(std::move(link)), sql_(std::move(sql)) {
        text_ = TranslatePlaceholders(sql_, parameters_);
        Describe();
    }
    PostgresStatement(const PostgresStatement&) = delete;
    PostgresStatement& operator=(const PostgresStatement&) = delete;
    ~PostgresStatement() override {
        try {
            CloseCursor();
        } catch (const vym::Error&) {
            // The connection failed; the server closed the cursor with it.
        }
        if (generation_ == link_->generation && !link_->Bad()) {
            for (const auto& entry : prepared_) {
                Wrap(PQexec(link_->conn, ("DEALLOCATE " + entry.second).c_str()));
            }
        }
    }

    PoolHome<PostgresStatement> home;

    const std::string& Sql() const override { return sql_; }
    // Described again only on a new connection.
    std::uint64_t ColumnsVersion() const override { return generation_; }
    int ParameterCount() const override { return parameters_; }

    void BindNull(int index) override { Slot(index, kUnknown).reset(); }
    void BindInt64(int index, std::int64_t value) override {
        Slot(index, kInt8) = std::to_string(value);
    }
    void BindDouble(int index, double value) override {
        char text[32];
        const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
        Slot(index, kFloat8) = std::string(text, end);
    }
    void BindText(int index, std::string_view value) override {
        Slot(index, link_->CaseBlindText()) = std::string(value);
    }
    void BindBlob(int index, std::span<const std::uint8_t> value) override {
        static constexpr char kHex[] = "0123456789abcdef";
        std::string text = "\\x";
        text.reserve(2 + value.size() * 2);
        for (const std::uint8_t byte : value) {
            text += kHex[byte >> 4];
            text += kHex[byte & 15];
        }
        Slot(index, kBytea) = std::move(text);
    }

    bool Step() override {
        if (!result_) {
            Execute();
        }
        ++row_;
        blobs_.assign(columns_.size(), {});
        if (row_ >= PQntuples(result_.get()) && NextBatch()) {
            row_ = 0;
        }
        return row_ < PQntuples(result_.get());
    }
    void Reset() override {
        CloseCursor();
        rest_.clear();
        dropped_ = false;
        result_.reset();
        row_ = -1;
    }
    void FetchInBatches() override { batched_ = true; }
    void Rewind() {
        Reset();
        batched_ = false;
        values_.assign(values_.size(), std::nullopt);
        kinds_.assign(kinds_.size(), kUnknown);
    }

    int ColumnCount() const override { return static_cast<int>(columns_.size()); }
    std::string_view ColumnName(int column) const override { return columns_[column].name; }
    std::string_view ColumnDeclaredType(int column) const override {
        return columns_[column].declared;
    }
    StorageClass ColumnStorage(int column) const override {
        return IsNull(column) ? StorageClass::Null : columns_[column].storage;
    }
    StoredCell Cell(int column) const override {
        StoredCell cell;
        cell.storage = ColumnStorage(column);
        switch (cell.storage) {
            case StorageClass::Integer:
                cell.integer = ColumnInt64(column);
                break;
            case StorageClass::Real:
                cell.real = ColumnDouble(column);
                break;
            case StorageClass::Text:
                cell.text = ColumnText(column);
                break;
            case StorageClass::Blob:
                cell.blob = ColumnBlob(column);
                break;
            case StorageClass::Null:
                break;
        }
        return cell;
    }
    std::int64_t ColumnInt64(int column) const override {
        const std::string_view text = ColumnText(column);
        if (text == "t") {
            return 1;
        }
        std::int64_t value = 0;
        if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc()) {
            return static_cast<std::int64_t>(ColumnDouble(column));
        }
        return value;
    }
    double ColumnDouble(int column) const override {
        const std::string_view text = ColumnText(column);
        double value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        return value;
    }
    std::string_view ColumnText(int column) const override {
        if (IsNull(column)) {
            return {};
        }
        return {PQgetvalue(result_.get(), row_, column),
                static_cast<std::size_t>(PQgetlength(result_.get(), row_, column))};
    }
    std::span<const std::uint8_t> ColumnBlob(int column) const override {
        std::vector<std::uint8_t>& bytes = blobs_[column];
        const std::string_view text = ColumnText(column);
        if (bytes.empty() && text.size() > 2 && text.starts_with("\\x")) {
            bytes.reserve((text.size() - 2) / 2);
            for (std::size_t i = 2; i + 1 < text.size(); i += 2) {
                bytes.push_back(
                    static_cast<std::uint8_t>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1])));
            }
        } else if (bytes.empty() && !text.starts_with("\\x")) {
            bytes.assign(text.begin(), text.end());
        }
        return bytes;
    }

  private:
    void Released() override {
        PoolHome<PostgresStatement>::Return(std::unique_ptr<PostgresStatement>(this));
    }
    struct Column {
        std::string name;
        std::string declared;
        StorageClass storage;
    };

    std::optional<std::string>& Slot(int index, Oid kind) {
        if (index < 1 || index > parameters_) {
            throw SqlError(SqlEngine::Postgres(), "42P02", "column index out of range", sql_);
        }
        kinds_[index - 1] = kind;
        return values_[index - 1];
    }

    bool IsNull(int column) const {
        return !result_ || row_ < 0 || row_ >= PQntuples(result_.get()) ||
               PQgetisnull(result_.get(), row_, column);
    }

    // Prepares the statement on the server, letting it tell each parameter's
    // type from where it stands. A parameter whose first use tells nothing
    // ("?1 IS NULL OR x = ?1") stays open: the statement is prepared again
    // for the kinds of value bound to it (text as case-blind text, so that
    // a NOCASE column still compares as one), once per combination.
    void Describe() {
        link_->Settle();
        generation_ = link_->generation;
        prepared_.clear();
        name_ = "vym_" + std::to_string(++link_->nextName);
        // A failed attempt would end the caller's transaction: try under a savepoint.
        const bool inTransaction = PQtransactionStatus(link_->conn) == PQTRANS_INTRANS;
        if (inTransaction) {
            link_->Exec("SAVEPOINT vym_prepare", sql_);
        }
        probe_.assign(static_cast<std::size_t>(parameters_), kUnknown);
        kinds_.resize(probe_.size(), kUnknown);
        for (int attempt = 0;; ++attempt) {
            Result prepared = Wrap(
                PQprepare(link_->conn, name_.c_str(), text_.c_str(), parameters_, probe_.data()));
            const std::string state = Field(prepared.get(), PG_DIAG_SQLSTATE);
            const std::string message = Field(prepared.get(), PG_DIAG_MESSAGE_PRIMARY);
            const auto dollar = message.rfind('$');
            const int number =
                dollar == std::string::npos ? 0 : std::atoi(message.c_str() + dollar + 1);
            if ((state == "42P18" || state == "42P08") && number >= 1 && number <= parameters_ &&
                probe_[number - 1] == kUnknown) {
                probe_[number - 1] = kText;
                if (inTransaction) {
                    link_->Exec("ROLLBACK TO SAVEPOINT vym_prepare", sql_);
                }
                continue;
            }
            // An open parameter compared with a number: probe it as one.
            if (state == "42883" && attempt < 2 * parameters_ && SwitchProbe()) {
                if (inTransaction) {
                    link_->Exec("ROLLBACK TO SAVEPOINT vym_prepare", sql_);
                }
                continue;
            }
            if (inTransaction) {
                link_->Exec(state.empty() ? "RELEASE SAVEPOINT vym_prepare"
                                          : "ROLLBACK TO SAVEPOINT vym_prepare; "
                                            "RELEASE SAVEPOINT vym_prepare",
                            sql_);
            }
            link_->Check(prepared.get(), sql_);
            break;
        }
        prepared_[probe_] = name_;
        Result description = Wrap(PQdescribePrepared(link_->conn, name_.c_str()));
        link_->Check(description.get(), sql_);
        values_.resize(static_cast<std::size_t>(parameters_));
        columns_.clear();
        for (int i = 0; i < PQnfields(description.get()); ++i) {
            columns_.push_back({PQfname(description.get(), i),
                                link_->DeclaredType(PQftable(description.get(), i),
                                                    PQftablecol(description.get(), i)),
                                StorageOf(link_->BaseType(PQftype(description.get(), i)))});
        }
    }

    bool SwitchProbe() {
        for (Oid& type : probe_) {
            if (type == kText) {
                type = kInt8;
                return true;
            }
        }
        return false;
    }

    // The parameter types for the kinds of value bound to open parameters.
    std::vector<Oid> Types() const {
        std::vector<Oid> types = probe_;
        for (std::size_t i = 0; i < types.size(); ++i) {
            if (types[i] != kUnknown && kinds_[i] != kUnknown) {
                types[i] = kinds_[i];
            }
        }
        return types;
    }

    // The server's statement for the kinds of value bound to open parameters.
    const std::string& Prepared() {
        std::vector<Oid> types = Types();
        if (auto found = prepared_.find(types); found != prepared_.end()) {
            return found->second;
        }
        const std::string name = name_ + "_" + std::to_string(prepared_.size());
        Result prepared =
            Wrap(PQprepare(link_->conn, name.c_str(), text_.c_str(), parameters_, types.data()));
        link_->Check(prepared.get(), sql_);
        return prepared_.emplace(std::move(types), name).first->second;
    }

    void Execute() {
        link_->Settle();
        if (generation_ != link_->generation) {
            Describe();  // prepared on a connection since lost
        }
        std::vector<const char*> values(values_.size());
        for (std::size_t i = 0; i < values_.size(); ++i) {
            values[i] = values_[i] ? values_[i]->c_str() : nullptr;
        }
        // A cursor lives as long as its transaction.
        if (batched_ && link_->depth > 0 && !columns_.empty()) {
            OpenCursor(values);
            return;
        }
        // A pattern's best plan depends on the pattern (the trigram index for
        // a long one, a scan for one or two characters): a statement matching
        // one is planned for each value, never by a plan cached for any value.
        const bool perValue = text_.find("LIKE ") != std::string::npos;
        const std::vector<Oid> types = perValue ? Types() : std::vector<Oid>();
        Result result = perValue
                            ? Wrap(PQexecParams(link_->conn, text_.c_str(), parameters_,
                                                types.data(), values.data(), nullptr, nullptr, 0))
                            : Wrap(PQexecPrepared(link_->conn, Prepared().c_str(), parameters_,
                                                  values.data(), nullptr, nullptr, 0));
        link_->Check(result.get(), sql_);
        const std::string_view command = PQcmdStatus(result.get());
        if (command.starts_with("INSERT") || command.starts_with("UPDATE") ||
            command.starts_with("DELETE")) {
            link_->changes = std::atoll(PQcmdTuples(result.get()));
        }
        result_ = std::move(result);
        row_ = -1;
    }

    void OpenCursor(const std::vector<const char*>& values) {
        const std::string name = "vym_cursor_" + std::to_string(++link_->nextName);
        const std::vector<Oid> types = Types();
        Result declared = Wrap(PQexecParams(
            link_->conn, ("DECLARE " + name + " NO SCROLL CURSOR FOR " + text_).c_str(),
            parameters_, types.data(), values.data(), nullptr, nullptr, 0));
        link_->Check(declared.get(), sql_);
        cursor_ = name;
        link_->cursors.push_back(this);
        batch_ = kFirstBatch;
        result_ = Fetch(batch_);
        row_ = -1;
    }

    Result Fetch(int rows) {
        Result result = link_->Run("FETCH " + std::to_string(rows) + " FROM " + cursor_, sql_);
        if (PQntuples(result.get()) < rows) {
            CloseCursor();
        }
        return result;
    }

    // The next batch of rows into the result; false after the last.
    bool NextBatch() {
        while (!rest_.empty()) {
            result_ = std::move(rest_.front());
            rest_.pop_front();
            if (PQntuples(result_.get()) > 0) {
                return true;
            }
        }
        if (dropped_) {
            dropped_ = false;
            throw LostConnection(sql_);
        }
        if (cursor_.empty()) {
            return false;
        }
        batch_ = std::min(batch_ * 4, kLargestBatch);
        result_ = Fetch(batch_);
        return PQntuples(result_.get()) > 0;
    }

    void CloseCursor() {
        if (!cursor_.empty()) {
            link_->Close(this, std::exchange(cursor_, {}));
        }
    }

    void FetchRest() override {
        rest_.push_back(link_->Run("FETCH ALL FROM " + cursor_, sql_));
        link_->Run("CLOSE " + std::exchange(cursor_, {}), sql_);
    }

    void Drop() override {
        cursor_.clear();
        dropped_ = true;
    }

    std::shared_ptr<Link> link_;
    std::string sql_;
    std::string text_;
    std::string name_;
    std::uint64_t generation_ = 0;
    int parameters_ = 0;
    std::vector<std::optional<std::string>> values_;
    std::vector<Oid> kinds_;  // of the values bound, kUnknown for Null
    std::vector<Oid> probe_;  // kUnknown where the server tells the type
    std::map<std::vector<Oid>, std::string> prepared_;
    std::vector<Column> columns_;
    Result result_{nullptr, PQclear};
    int row_ = -1;
    bool batched_ = false;
    std::string cursor_;  // while rows are left to fetch through it
    int batch_ = 0;
    std::deque<Result> rest_;  // fetched before the read ended, not yet stepped to
    bool dropped_ = false;     // the cursor went with a lost connection
    mutable std::vector<std::vector<std::uint8_t>> blobs_;
};

using Pool = StatementPool<PostgresStatement>;

std::string SavepointName(int depth) {
    return "vym_nested_" + std::to_string(depth);
}

}  // namespace

bool IsPostgresUri(std::string_view database) {
    return database.starts_with("postgresql://") || database.starts_with("postgres://");
}

std::string WithoutPassword(std::string_view uri) {
    std::string out(uri);
    const auto scheme = out.find("://");
    if (scheme == std::string::npos) {
        return out;
    }
    const auto at = out.find('@', scheme + 3);
    const auto colon = out.find(':', scheme + 3);
    if (at != std::string::npos && colon != std::string::npos && colon < at) {
        out.erase(colon, at - colon);
    }
    for (const std::string key : {"password="}) {
        for (auto found = out.find(key); found != std::string::npos; found = out.find(key)) {
            const auto end = out.find('&', found);
            out.erase(found, end == std::string::npos ? std::string::npos : end - found + 1);
        }
    }
    while (!out.empty() && (out.back() == '&' || out.back() == '?')) {
        out.pop_back();
    }
    return out;
}

struct PostgresSession::Impl {
    std::shared_ptr<Link> link = std::make_shared<Link>();
    std::shared_ptr<Pool> pool = std::make_shared<Pool>();
    std::uint64_t poolGeneration = 0;

    // Before a statement outside a transaction: reconnects after a loss, and
    // forgets statements prepared on the lost connection.
    void Ready() {
        link->Reconnect();
        if (poolGeneration != link->generation) {
            pool->Clear();
            poolGeneration = link->generation;
        }
    }
};

PostgresSession::PostgresSession(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
PostgresSession::~PostgresSession() = default;

std::shared_ptr<PostgresSession> PostgresSession::Open(const std::string& uri,
                                                       const Options& /*options*/) {
    auto impl = std::make_unique<Impl>();
    impl->link->uri = uri;
    impl->link->conn = PQconnectdb(uri.c_str());
    if (PQstatus(impl->link->conn) != CONNECTION_OK) {
        std::string why = PQerrorMessage(impl->link->conn);
        while (!why.empty() && (why.back() == '\n' || why.back() == ' ')) {
            why.pop_back();
        }
        throw vym::Error(
            errc::kDatabase, std::string(kConnectionSource),
            "Unable to connect to the database \"" + WithoutPassword(uri) + "\": " + why + ".");
    }
    impl->link->Setup();
    return std::shared_ptr<PostgresSession>(new PostgresSession(std::move(impl)));
}

StatementRef PostgresSession::Prepare(std::string_view sql, std::size_t hash,
                                      const std::shared_ptr<const std::string>* shared) {
    if (impl_->link->depth == 0) {
        impl_->Ready();
    }
    if (auto statement = impl_->pool->Take(sql, hash)) {
        return Lend(std::move(statement));
    }
    auto statement = std::make_unique<PostgresStatement>(impl_->link, std::string(sql));
    statement->home = {impl_->pool, &impl_->pool->Lend(sql, hash, shared)};
    return Lend(std::move(statement));
}

void PostgresSession::ExecuteScript(std::string_view sql) {
    impl_->link->Exec(sql, sql.substr(0, 200));
}

void PostgresSession::RunScriptAsking(std::string_view sql,
                                      const std::function<bool()>& keepGoing) {
    impl_->link->ExecAsking(sql, sql.substr(0, 200), keepGoing);
}

void PostgresSession::BeginImmediate() {
    Link& link = *impl_->link;
    if (link.depth == 0) {
        impl_->Ready();
        link.Exec(kBegin, "BEGIN");
        link.readOnly = false;
    } else {
        link.Exec("SAVEPOINT " + SavepointName(link.depth), "SAVEPOINT");
    }
    ++link.depth;
}

void PostgresSession::BeginRead() {
    Link& link = *impl_->link;
    if (link.depth == 0) {
        impl_->Ready();
        link.Exec("BEGIN READ ONLY", "BEGIN");
        link.readOnly = true;
    } else {
        link.Exec("SAVEPOINT " + SavepointName(link.depth), "SAVEPOINT");
    }
    ++link.depth;
}

void PostgresSession::Commit() {
    Link& link = *impl_->link;
    const int depth = link.depth - 1;
    link.depth = std::max(depth, 0);
    if (depth <= 0 && !link.cursors.empty()) {
        // A read stays open for its cursors; those of a write, which would
        // close with it, fetch their rows left first.
        link.commitDeferred = true;
        if (!link.readOnly) {
            link.Settle();
        }
        return;
    }
    link.Exec(depth <= 0 ? std::string("COMMIT") : "RELEASE SAVEPOINT " + SavepointName(depth),
              "COMMIT");
}

void PostgresSession::Rollback() {
    Link& link = *impl_->link;
    if (link.depth == 0) {
        return;
    }
    const int depth = --link.depth;
    if (depth == 0) {
        for (Cursor* cursor : std::exchange(link.cursors, {})) {
            cursor->Drop();
        }
    }
    if (link.Bad()) {
        return;  // the server rolled the whole transaction back when it went
    }
    const std::string sql = depth == 0 ? std::string("ROLLBACK")
                                       : "ROLLBACK TO SAVEPOINT " + SavepointName(depth) +
                                             "; RELEASE SAVEPOINT " + SavepointName(depth);
    Wrap(PQexec(link.conn, sql.c_str()));
}

bool PostgresSession::InTransaction() const {
    const Link& link = *impl_->link;
    return link.depth > 0 ||
           (!link.commitDeferred && PQtransactionStatus(link.conn) != PQTRANS_IDLE);
}

std::int64_t PostgresSession::Changes() const {
    return impl_->link->changes;
}

std::int64_t PostgresSession::LastInsertId() const {
    Result result =
        impl_->link->Exec("SELECT current_setting('vym.last_insert_id', true)", "LastInsertId");
    return PQgetisnull(result.get(), 0, 0) ? 0 : std::atoll(PQgetvalue(result.get(), 0, 0));
}

const SqlEngine& PostgresSession::Engine() const {
    return SqlEngine::Postgres();
}

void PostgresSession::SetActor(const Actor& actor) {
    impl_->link->actor = actor;
    if (impl_->link->depth == 0) {
        impl_->Ready();
    }
    impl_->link->ApplyActor();
}

int PostgresSession::SchemaVersion() {
    if (QueryValue("SELECT to_regclass('vym_schema_version') IS NOT NULL").ToLong() == 0) {
        return 0;
    }
    return QueryValue("SELECT max(version) FROM vym_schema_version").ToLong();
}

void PostgresSession::SetSchemaVersion(int version) {
    Run("UPDATE vym_schema_version SET version = ?", {version});
}

int PostgresSession::BackendPid() const {
    return PQbackendPID(impl_->link->conn);
}

}  // namespace vym::server
