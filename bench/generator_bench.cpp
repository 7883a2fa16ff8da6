// The large catalogue generator (vym-sql --generate): the wall time to add
// VYM_BENCH_ITEMS items to a new database against its target, where that time
// goes (each statement the generator ran, its blocks summed), and raw sqlite3
// running the very statements the generator ran (caught as it ran them, with
// their values) on a second new database, paired in one run. Both databases
// must come out alike: their rows are counted.
//
//   generator_bench    VYM_BENCH_ITEMS (default 1000000; 10000000 takes about
//                      thirteen times the processor time, the indexes' sorts
//                      growing faster than the rows, and 9.5 GB of disk for
//                      each database)
//                      VYM_BENCH_DIR (default the temporary folder): the two
//                      databases are made there and removed after
// The target is for a million items; a larger catalogue is held to the same
// time per item.

#include <sqlite3.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bench_support.h"
#include "server/large_catalogue.h"
#include "server/local_app_server.h"
#include "server/sqlite_session.h"

namespace {

constexpr double kTargetSeconds = 25.0;
constexpr double kTargetItems = 1'000'000.0;

// The statements the generator runs itself, not those run for them (the
// full-text index's own, a trigger's): their texts with values, and the time
// each text took in all.
struct Profile {
    bool on = false;
    std::set<sqlite3_stmt*> running;
    std::vector<std::string> statements;
    std::map<std::string, double> seconds;
};
Profile profile;

int Trace(unsigned event, void*, void* statement, void* ns) {
    auto* stmt = static_cast<sqlite3_stmt*>(statement);
    if (!profile.on) {
        return 0;
    }
    // A statement run while another runs, and a trigger, is announced as a comment.
    if (event == SQLITE_TRACE_STMT &&
        !std::string_view(static_cast<const char*>(ns)).starts_with("--")) {
        profile.running.insert(stmt);
        profile.statements.push_back(vym::bench::Expanded(stmt));
    } else if (event == SQLITE_TRACE_PROFILE && profile.running.erase(stmt) > 0) {
        profile.seconds[sqlite3_sql(stmt)] += *static_cast<sqlite3_int64*>(ns) / 1e9;
    }
    return 0;
}

int InstallTrace(sqlite3* db, const char**, const sqlite3_api_routines*) {
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT | SQLITE_TRACE_PROFILE, Trace, nullptr);
    return SQLITE_OK;
}

// The processor time of this program, its threads' included, in seconds.
double ProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Wall and processor seconds: on a machine shared with other work the wall
// time waits for the processor, the processor time does not.
struct Took {
    double wall = 0;
    double processor = 0;
};
Took Time(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    const double processor = ProcessorSeconds();
    run();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            ProcessorSeconds() - processor};
}

// What a statement does, for the table of where the time goes.
std::string Label(const std::string& sql) {
    for (const char* verb : {"INSERT INTO ", "CREATE INDEX ", "CREATE TRIGGER ", "DROP "}) {
        if (const auto at = sql.find(verb); at != std::string::npos) {
            const auto name = sql.find_first_of(" (\n", at + std::string_view(verb).size() + 1);
            return sql.substr(at, name - at);
        }
    }
    return sql.substr(0, 40);
}

std::int64_t Count(sqlite3* db, const std::string& query) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, ("SELECT count(*) FROM (" + query + ")").c_str(), -1, &statement,
                       nullptr);
    sqlite3_step(statement);
    const std::int64_t count = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return count;
}

// The same rows in both (but the units' times of creation), as many of them,
// and the same items found through the full-text index.
bool SameRows(const std::string& ours, const std::string& raw) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(ours.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_exec(db, ("ATTACH '" + raw + "' AS raw").c_str(), nullptr, nullptr, nullptr);
    bool same = true;
    for (const char* rows :
         {"SELECT * FROM %.vym_item", "SELECT * FROM %.vym_item_ship",
          "SELECT * FROM %.vym_item_rental", "SELECT * FROM %.vym_item_stock",
          "SELECT * FROM %.vym_item_stock_map", "SELECT * FROM %.vym_item_stock_location",
          "SELECT * FROM %.vym_price",
          "SELECT item_no, serial_id, mfg_serial, status_id, location_id, is_active, "
          "original_cost, retail_price FROM %.vym_item_stock_serial",
          "SELECT rowid FROM %.vym_item_fts WHERE vym_item_fts MATCH 'JACKET'"}) {
        const auto in = [rows](const char* schema) {
            std::string sql = rows;
            return sql.replace(sql.find('%'), 1, schema);
        };
        same = same && Count(db, in("main")) == Count(db, in("raw")) &&
               Count(db, in("main") + " EXCEPT " + in("raw")) == 0;
    }
    sqlite3_close(db);
    return same;
}

double LoadAverage() {
    std::ifstream file("/proc/loadavg");
    double load = 0;
    file >> load;
    return load;
}

}  // namespace

int main() {
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(InstallTrace));
    const std::int32_t items = std::stoi(vym::bench::Env("VYM_BENCH_ITEMS", "1000000"));
    const std::filesystem::path dir =
        std::filesystem::path(
            vym::bench::Env("VYM_BENCH_DIR", std::filesystem::temp_directory_path())) /
        ("vym-generator-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    const std::string ours = (dir / "ours.db").string();
    const std::string raw = (dir / "raw.db").string();
    // Both start from the same empty, migrated database.
    vym::server::LocalAppServer::Open(ours);
    std::filesystem::copy_file(ours, raw);

    std::printf("Generating %d items (load average %.1f)\n", items, LoadAverage());
    profile.on = true;
    const Took oursTook = Time([&] { vym::server::LargeCatalogue::Generate(ours, items); });
    profile.on = false;

    // Raw sqlite3 on the second database: the same statements, one by one.
    const Took rawTook = Time([&] {
        sqlite3* db = nullptr;
        sqlite3_open_v2(raw.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        vym::server::DefineActorFunction(db);
        for (const std::string& statement : profile.statements) {
            if (sqlite3_exec(db, statement.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
                std::printf("raw failed: %s\n  %.200s\n", sqlite3_errmsg(db), statement.c_str());
            }
        }
        sqlite3_close(db);
    });

    std::vector<std::pair<double, std::string>> phases;
    std::map<std::string, double> byLabel;
    for (const auto& [sql, seconds] : profile.seconds) {
        byLabel[Label(sql)] += seconds;
    }
    for (const auto& [label, seconds] : byLabel) {
        phases.emplace_back(seconds, label);
    }
    std::sort(phases.rbegin(), phases.rend());
    std::printf("\n%-52s %9s\n", "where the time goes (statements, blocks summed)", "s");
    for (const auto& [seconds, label] : phases) {
        if (seconds >= 0.05) {
            std::printf("%-52s %9.2f\n", label.c_str(), seconds);
        }
    }
    const double target = kTargetSeconds * items / kTargetItems;
    std::printf("\n%-18s %9s %9s %7s %9s\n", "generate", "ours s", "raw s", "ratio", "target s");
    std::printf("%-18s %9.1f %9.1f %7.2f %9.1f %s%s\n", (std::to_string(items) + " wall").c_str(),
                oursTook.wall, rawTook.wall, oursTook.wall / rawTook.wall, target,
                oursTook.wall <= target ? "met" : "MISSED",
                SameRows(ours, raw) ? "" : "  (raw rows differ!)");
    std::printf("%-18s %9.1f %9.1f %7.2f %9.1f %s\n", "processor", oursTook.processor,
                rawTook.processor, oursTook.processor / rawTook.processor, target,
                oursTook.processor <= target ? "met" : "MISSED");
    const double gigabytes = static_cast<double>(std::filesystem::file_size(ours)) / 1e9;
    std::printf("database %.2f GB; load average %.1f\n", gigabytes, LoadAverage());
    if (items < 10'000'000) {
        // Not by default: ten million items take two databases of this size
        // times the items, and as much longer to generate (the indexes' sorts
        // a little more).
        const double scale = 10'000'000.0 / items;
        std::printf(
            "ten million items (VYM_BENCH_ITEMS=10000000): about %.0f GB of disk for the two "
            "databases and %.0f s of processor time\n",
            2 * gigabytes * scale, (oursTook.processor + rawTook.processor) * scale);
    }
    std::filesystem::remove_all(dir);
    return 0;
}
