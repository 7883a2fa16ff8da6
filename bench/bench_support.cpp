#include "bench_support.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <random>
#include <system_error>

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
    if (!std::filesystem::exists(catalogue.path)) {
        std::cerr << "Generating " << catalogue.items << " items into " << catalogue.path << '\n';
        const auto start = std::chrono::steady_clock::now();
        server::LargeCatalogue::Generate(catalogue.path, catalogue.items, [](std::int32_t written) {
            std::cerr << written << " items\r";
        });
        std::cerr << "\nGenerated in "
                  << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()
                  << " s\n";
    }
    return catalogue;
}

namespace {

bool capturing = false;
std::vector<StatementTrace::Statement> captured;

int Trace(unsigned, void*, void* statement, void*) {
    if (capturing) {
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

void PrintPlan(sqlite3* db, sqlite3_stmt* statement) {
    const std::string sql = "EXPLAIN QUERY PLAN " + Expanded(statement);
    sqlite3_stmt* plan = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &plan, nullptr);
    while (sqlite3_step(plan) == SQLITE_ROW) {
        std::printf("  %s\n", reinterpret_cast<const char*>(sqlite3_column_text(plan, 3)));
    }
    sqlite3_finalize(plan);
}

PairedMs TimePaired(int runs, const std::function<void()>& ours, const std::function<void()>& raw) {
    const auto timed = [](const std::function<void()>& run) {
        const auto start = std::chrono::steady_clock::now();
        run();
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    std::vector<double> oursMs;
    std::vector<double> rawMs;
    for (int run = 0; run < runs; ++run) {
        oursMs.push_back(timed(ours));
        rawMs.push_back(timed(raw));
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
    sqlite3_exec(raw_, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
    sqlite3_busy_timeout(raw_, 10000);
    sqlite3_exec(raw_, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
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
