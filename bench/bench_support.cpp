#include "bench_support.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <random>
#include <system_error>

#include <sys/wait.h>
#include <unistd.h>

#include "gateway/command.h"
#include "server/large_catalogue.h"
#include "server/procedure_catalog.h"
#include "server/sqlite_session.h"

namespace vym::bench {

namespace {

std::optional<double> Find(const std::map<std::string, double>& values, const std::string& name) {
    const auto found = values.find(name);
    return found == values.end() ? std::nullopt : std::optional<double>(found->second);
}

}  // namespace

server::OpenOptions KeyedCallOptions() {
    auto catalog = std::make_shared<server::ProcedureCatalog>();
    catalog->Add("VYM_SP_BENCH_GetItem", {server::In("@item_no", DataType::Integer)},
                 [](server::ProcedureContext& call) {
                     call.EmitResultSet(kKeyedSelect, {call.Get("@item_no")});
                 });
    server::OpenOptions options;
    options.catalog = catalog;
    return options;
}

void CallForEachKey(Connection& db, const std::vector<std::int32_t>& keys) {
    auto cmd = db.NewCommand();
    cmd->CommandText = "VYM_SP_BENCH_GetItem";
    cmd->Parameters.Refresh();
    for (std::int32_t key : keys) {
        cmd->Parameters["@item_no"].Value = key;
        auto rs = db.ExecuteRecordset(*cmd);
        BenchRow row{rs->Fields(0).Value().ToLong(), rs->Fields(1).Value().ToString(),
                     rs->Fields(2).Value().ToDouble(), rs->Fields(3).Value().ToDate(),
                     rs->Fields(4).Value().ToBool()};
        benchmark::DoNotOptimize(row);
    }
}

std::vector<std::int32_t> RandomKeys(int count, std::int32_t highest) {
    std::mt19937 random(42);
    std::uniform_int_distribution<std::int32_t> pick(1, highest);
    std::vector<std::int32_t> keys;
    for (int i = 0; i < count; ++i) {
        keys.push_back(pick(random));
    }
    return keys;
}

std::string Env(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

Catalogue LargeCatalogueFile(const std::string& stem) {
    Catalogue catalogue;
    catalogue.items = std::atoi(Env("VYM_BENCH_ITEMS", "1000000").c_str());
    catalogue.path =
        Env("VYM_BENCH_DB", "/tmp/" + stem + "_" + std::to_string(catalogue.items) + ".db");
    if (std::filesystem::exists(catalogue.path)) {
        return catalogue;
    }
    // In a process of its own: the memory the generator held (its page
    // cache, its sorts) is not left in the heap of the program measured.
    std::cerr << "Generating " << catalogue.items << " items into " << catalogue.path << '\n';
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        try {
            server::LargeCatalogue::Generate(
                catalogue.path, catalogue.items,
                [](std::int32_t written) { std::cerr << written << " items\r"; });
        } catch (const std::exception& e) {
            std::cerr << "\nThe catalogue could not be generated: " << e.what() << '\n';
            _exit(1);
        }
        _exit(0);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::cerr << "\nGenerating the catalogue failed\n";
        std::exit(1);
    }
    std::cerr << "\nGenerated in "
              << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
              << " s\n";
    return catalogue;
}

namespace {

bool capturing = false;
std::vector<StatementTrace::Statement> captured;

int Trace(unsigned, void*, void* statement, void* text) {
    // A trigger's program reports itself as "-- TRIGGER name": it is part of
    // the statement already captured.
    if (capturing && !std::string_view(static_cast<const char*>(text)).starts_with("--")) {
        auto* stmt = static_cast<sqlite3_stmt*>(statement);
        captured.emplace_back(sqlite3_sql(stmt), Expanded(stmt));
    }
    return 0;
}

int InstallTrace(sqlite3* db, const char**, const sqlite3_api_routines*) {
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, Trace, nullptr);
    return SQLITE_OK;
}

}  // namespace

void StatementTrace::Install() {
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(InstallTrace));
}

std::vector<StatementTrace::Statement> StatementTrace::Capture(const std::function<void()>& run) {
    captured.clear();
    capturing = true;
    run();
    capturing = false;
    return std::move(captured);
}

std::string Expanded(sqlite3_stmt* statement) {
    char* text = sqlite3_expanded_sql(statement);
    std::string out = text != nullptr ? text : "";
    sqlite3_free(text);
    return out;
}

namespace {

// The end of the quoted text, name or comment starting at `at`.
std::size_t QuotedEnd(const std::string& sql, std::size_t at) {
    if (sql.compare(at, 2, "--") == 0) {
        const std::size_t end = sql.find('\n', at);
        return end == std::string::npos ? sql.size() : end;
    }
    const char close = sql[at] == '[' ? ']' : sql[at];
    std::size_t end = at + 1;
    while (end < sql.size()) {
        if (sql[end++] == close) {
            if (end < sql.size() && sql[end] == close && close != ']') {
                ++end;  // a doubled quote stands for one
                continue;
            }
            break;
        }
    }
    return end;
}

bool StartsQuote(const std::string& sql, std::size_t at) {
    const char c = sql[at];
    return c == '\'' || c == '"' || c == '`' || c == '[' || sql.compare(at, 2, "--") == 0;
}

}  // namespace

RawReplay::RawReplay(sqlite3* db, const std::vector<StatementTrace::Statement>& trace) {
    for (const auto& [sql, expanded] : trace) {
        sqlite3_stmt*& statement = prepared_[sql];
        if (statement == nullptr &&
            sqlite3_prepare_v3(db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &statement,
                               nullptr) != SQLITE_OK) {
            complete_ = false;
        }
        Step step{statement, {}};
        complete_ = ReadValues(sql, expanded, step.values) && complete_;
        steps_.push_back(std::move(step));
    }
}

RawReplay::~RawReplay() {
    for (const auto& [sql, statement] : prepared_) {
        sqlite3_finalize(statement);
    }
}

// Walks the text and its expanded form side by side; where the text has a
// parameter the expanded one has the literal sqlite3_expanded_sql wrote:
// NULL, a number (a real always with "." or an exponent), 'text' or x'hex'.
bool RawReplay::ReadValues(const std::string& sql, const std::string& expanded,
                           std::vector<Literal>& values) {
    std::size_t i = 0, j = 0;
    int highest = 0;
    while (i < sql.size()) {
        if (StartsQuote(sql, i)) {
            const std::size_t end = QuotedEnd(sql, i);
            if (expanded.compare(j, end - i, sql, i, end - i) != 0) {
                return false;
            }
            j += end - i;
            i = end;
            continue;
        }
        if (sql[i] != '?') {
            if (j >= expanded.size() || expanded[j] != sql[i]) {
                return false;
            }
            ++i, ++j;
            continue;
        }
        Literal value;
        ++i;
        while (i < sql.size() && std::isdigit(static_cast<unsigned char>(sql[i]))) {
            value.index = value.index * 10 + (sql[i++] - '0');
        }
        value.index = value.index == 0 ? highest + 1 : value.index;
        highest = std::max(highest, value.index);
        if (expanded.compare(j, 4, "NULL") == 0) {
            value.type = SQLITE_NULL;
            j += 4;
        } else if (expanded[j] == '\'' || expanded.compare(j, 2, "x'") == 0) {
            const bool blob = expanded[j] == 'x';
            j += blob ? 1 : 0;
            const std::size_t end = QuotedEnd(expanded, j);
            std::string quoted = expanded.substr(j + 1, end - j - 2);
            for (std::size_t q = quoted.find("''"); q != std::string::npos;
                 q = quoted.find("''", q + 1)) {
                quoted.erase(q, 1);
            }
            value.type = blob ? SQLITE_BLOB : SQLITE_TEXT;
            for (std::size_t h = 0; blob && h + 1 < quoted.size(); h += 2) {
                value.bytes += static_cast<char>(std::stoi(quoted.substr(h, 2), nullptr, 16));
            }
            value.bytes = blob ? value.bytes : quoted;
            j = end;
        } else {
            const char* start = expanded.c_str() + j;
            char* end = nullptr;
            const std::size_t length = std::strspn(start, "+-0123456789.eE");
            if (std::string_view(start, length).find_first_of(".eE") != std::string_view::npos) {
                value.type = SQLITE_FLOAT;
                value.real = std::strtod(start, &end);
            } else {
                value.type = SQLITE_INTEGER;
                value.integer = std::strtoll(start, &end, 10);
            }
            if (end == start) {
                return false;
            }
            j += static_cast<std::size_t>(end - start);
        }
        values.push_back(std::move(value));
    }
    return j == expanded.size();
}

std::int64_t RawReplay::Run() {
    std::int64_t cells = 0;
    for (const Step& step : steps_) {
        sqlite3_stmt* s = step.statement;
        for (const Literal& v : step.values) {
            switch (v.type) {
                case SQLITE_INTEGER:
                    sqlite3_bind_int64(s, v.index, v.integer);
                    break;
                case SQLITE_FLOAT:
                    sqlite3_bind_double(s, v.index, v.real);
                    break;
                case SQLITE_TEXT:
                    sqlite3_bind_text(s, v.index, v.bytes.data(), static_cast<int>(v.bytes.size()),
                                      SQLITE_STATIC);
                    break;
                case SQLITE_BLOB:
                    sqlite3_bind_blob(s, v.index, v.bytes.data(), static_cast<int>(v.bytes.size()),
                                      SQLITE_STATIC);
                    break;
                default:
                    sqlite3_bind_null(s, v.index);
            }
        }
        while (sqlite3_step(s) == SQLITE_ROW) {
            for (int c = 0, n = sqlite3_column_count(s); c < n; ++c, ++cells) {
                switch (sqlite3_column_type(s, c)) {
                    case SQLITE_INTEGER:
                        benchmark::DoNotOptimize(sqlite3_column_int64(s, c));
                        break;
                    case SQLITE_FLOAT:
                        benchmark::DoNotOptimize(sqlite3_column_double(s, c));
                        break;
                    case SQLITE_NULL:
                        break;
                    default: {
                        const auto* data = static_cast<const char*>(sqlite3_column_blob(s, c));
                        std::string copy(data != nullptr ? data : "",
                                         static_cast<std::size_t>(sqlite3_column_bytes(s, c)));
                        benchmark::DoNotOptimize(copy);
                    }
                }
            }
        }
        sqlite3_reset(s);
    }
    return cells;
}

std::string CompareTraces(const std::vector<StatementTrace::Statement>& ours,
                          const std::vector<StatementTrace::Statement>& raw) {
    for (std::size_t i = 0; i < std::min(ours.size(), raw.size()); ++i) {
        if (ours[i].second != raw[i].second) {
            return "statement " + std::to_string(i + 1) + " differs: ours \"" + ours[i].second +
                   "\", raw \"" + raw[i].second + "\"";
        }
    }
    if (ours.size() != raw.size()) {
        return "ours ran " + std::to_string(ours.size()) + " statements, raw " +
               std::to_string(raw.size());
    }
    return "same";
}

void PrintPlan(sqlite3* db, sqlite3_stmt* statement) {
    const std::string sql = "EXPLAIN QUERY PLAN " + Expanded(statement);
    sqlite3_stmt* plan = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &plan, nullptr);
    while (sqlite3_step(plan) == SQLITE_ROW) {
        std::printf("  %s\n", reinterpret_cast<const char*>(sqlite3_column_text(plan, 3)));
    }
    sqlite3_finalize(plan);
}

PairedMs TimePaired(int runs, const std::function<void()>& ours, const std::function<void()>& raw,
                    const std::function<void()>& before) {
    const auto timed = [](const std::function<void()>& run) {
        const auto start = std::chrono::steady_clock::now();
        run();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    std::vector<double> oursMs;
    std::vector<double> rawMs;
    for (int run = 0; run < runs; ++run) {
        for (auto [side, ms] : {std::pair{&ours, &oursMs}, std::pair{&raw, &rawMs}}) {
            if (before) {
                before();
            }
            ms->push_back(timed(*side));
        }
    }
    const auto median = [](std::vector<double>& ms) {
        std::sort(ms.begin(), ms.end());
        return ms[ms.size() / 2];
    };
    return {median(oursMs), median(rawMs)};
}

BenchDatabase::BenchDatabase(const std::string& tag, const server::OpenOptions& options) {
    tempDir_ = std::filesystem::temp_directory_path() /
               ("vym-" + tag + "-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(tempDir_);
    const std::string path = (tempDir_ / "bench.db").string();
    server_ = server::LocalAppServer::Open(path, options);
    db_ = server_->DBConnection();
    sqlite3_open_v2(path.c_str(), &raw_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    // Its price writes are recorded in the price history as the server's are.
    server::DefineActorFunction(raw_) = {options.userId, options.station};
    sqlite3_busy_timeout(raw_, 10000);
    // The settings of the server's own handle, whatever they are now.
    for (const char* pragma :
         {"synchronous", "foreign_keys", "temp_store", "cache_size", "mmap_size"}) {
        const auto value = db_->OpenRecordset(std::string("PRAGMA ") + pragma);
        const std::string set =
            std::string("PRAGMA ") + pragma + " = " +
            std::to_string(static_cast<std::int64_t>(value->Fields(0).Value().ToDouble()));
        sqlite3_exec(raw_, set.c_str(), nullptr, nullptr, nullptr);
    }
}

BenchDatabase::BenchDatabase(const std::string& path)
    : server_(server::LocalAppServer::Open(path)), db_(server_->DBConnection()) {
    sqlite3_open_v2(path.c_str(), &raw_, SQLITE_OPEN_READONLY, nullptr);
    // The page cache and memory-mapping of the server's own sessions.
    for (const char* pragma :
         {server::SqliteSession::kCacheSize, server::SqliteSession::kMmapSize}) {
        sqlite3_exec(raw_, pragma, nullptr, nullptr, nullptr);
    }
}

BenchDatabase::~BenchDatabase() {
    sqlite3_close(raw_);
    db_.reset();
    server_.reset();
    if (!tempDir_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(tempDir_, ec);
    }
}

void RatioReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.run_type != Run::RT_Iteration) {
            continue;
        }
        times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        if (run.counters.contains("items_per_second")) {
            rates_[run.benchmark_name()] = run.counters.at("items_per_second");
        }
    }
}

std::optional<double> RatioReporter::Time(const std::string& name) const {
    return Find(times_, name);
}

std::optional<double> RatioReporter::ItemsPerSecond(const std::string& name) const {
    return Find(rates_, name);
}

void PrintTimeRatio(const RatioReporter& reporter, const char* what, const std::string& ours,
                    const std::string& raw, double target) {
    const std::optional<double> a = reporter.Time(ours);
    const std::optional<double> b = reporter.Time(raw);
    if (a && b) {
        std::printf("%-38s ours %9.2f ms  raw %9.2f ms  ratio %.2f (target %.1f)\n", what, *a, *b,
                    *a / *b, target);
    }
}

void PrintRateRatio(const RatioReporter& reporter, const char* what, const std::string& ours,
                    const std::string& raw) {
    const std::optional<double> a = reporter.ItemsPerSecond(ours);
    const std::optional<double> b = reporter.ItemsPerSecond(raw);
    if (a && b) {
        std::printf("%-28s ours %10.0f items/s  raw %10.0f items/s  time ratio %.2f\n", what, *a,
                    *b, *b / *a);
    }
}

}  // namespace vym::bench
