// How many stations can save items at once before a save gets slow: for 1, 2,
// 4, ... 32 processes, each opens the demo back office on its own connection
// and reads, changes and saves an item of its own (the items are shared out
// in turn) 40 times. Prints, per engine and count, the median and slowest
// save and the share refused as conflicts, and the most stations whose
// slowest save stayed within 200 ms.
//
// SQLite runs on a file in a temporary folder. PostgreSQL runs on
// VYM_BENCH_POSTGRESQL (a URI of a database the bench may create one from, as
// a superuser) or else on a throwaway cluster that scripts/pg-test-cluster
// starts on VYM_BENCH_PG_PORT (default 54338); VYM_BENCH_ENGINES=sqlite skips it.

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "bench_support.h"
#include "gateway/recordset.h"
#include "model/citem.h"
#include "postgres_bench_support.h"
#include "server/local_app_server.h"

namespace {

constexpr int kSaves = 40;
constexpr double kSlowMs = 200;
constexpr int kMostStations = 32;  // the throwaway cluster takes 60 connections

// What one station writes back to the bench: each save's time in ms, a
// negative time for a save refused as a conflict, NaN for a failure.
void RunStation(const std::string& database, std::int32_t itemNo, int out) {
    vym::server::OpenOptions options;
    options.createIfMissing = false;
    auto server = vym::server::LocalAppServer::Open(database, options);
    vym::Connection* db = server->DBConnection().get();
    vym::ErrorObject* errors = &server->ErrorObject();
    std::vector<double> times;
    for (int i = 0; i < kSaves; ++i) {
        vym::CItem item;
        if (!item.OpenItem(db, errors, itemNo)) {
            times.push_back(std::numeric_limits<double>::quiet_NaN());
            continue;
        }
        item.CommentNote = "station save " + std::to_string(i);
        const auto start = std::chrono::steady_clock::now();
        const bool saved = item.Update(db, errors);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        times.push_back(saved                         ? ms
                        : !item.RowConflict().empty() ? -ms
                                                      : std::numeric_limits<double>::quiet_NaN());
    }
    const auto bytes = static_cast<ssize_t>(times.size() * sizeof(double));
    const bool written = write(out, times.data(), static_cast<std::size_t>(bytes)) == bytes;
    close(out);
    std::_Exit(written ? 0 : 1);
}

struct Round {
    double median = 0;
    double slowest = 0;
    int conflicts = 0;
    int failures = 0;
};

// `stations` processes at once, started together; their save times.
Round RunRound(const std::string& database, const std::vector<std::int32_t>& items, int stations) {
    std::vector<int> pipes;
    std::vector<pid_t> children;
    for (int s = 0; s < stations; ++s) {
        int fds[2];
        if (pipe(fds) != 0) {
            std::perror("pipe");
            std::exit(1);
        }
        const pid_t child = fork();
        if (child == 0) {
            close(fds[0]);
            RunStation(database, items[static_cast<std::size_t>(s) % items.size()], fds[1]);
        }
        close(fds[1]);
        pipes.push_back(fds[0]);
        children.push_back(child);
    }
    std::vector<double> saves;
    Round round;
    for (int fd : pipes) {
        double times[kSaves];
        const ssize_t got = read(fd, times, sizeof times);
        close(fd);
        for (int i = 0; i < static_cast<int>(got / static_cast<ssize_t>(sizeof(double))); ++i) {
            if (std::isnan(times[i])) {
                ++round.failures;
            } else {
                round.conflicts += times[i] < 0 ? 1 : 0;
                saves.push_back(std::abs(times[i]));
            }
        }
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        round.failures += WIFEXITED(status) && WEXITSTATUS(status) == 0 ? 0 : 1;
    }
    std::sort(saves.begin(), saves.end());
    if (!saves.empty()) {
        round.median = saves[saves.size() / 2];
        round.slowest = saves.back();
    }
    return round;
}

// The demo items the stations share out.
std::vector<std::int32_t> Items(const std::string& database) {
    auto server = vym::server::LocalAppServer::Open(database);
    auto rows = server->DBConnection()->OpenRecordset(
        "SELECT item_no FROM vym_item WHERE item_type IN ('TICKET', 'STOCK') ORDER BY item_no");
    std::vector<std::int32_t> items;
    for (; !rows->Eof(); rows->MoveNext()) {
        items.push_back(rows->Fields(0).Value().ToLong());
    }
    return items;
}

void Measure(const char* engine, const std::string& database) {
    const std::vector<std::int32_t> items = Items(database);
    int sustained = 0;
    for (int stations = 1; stations <= kMostStations; stations *= 2) {
        const Round round = RunRound(database, items, stations);
        std::printf(
            "%-10s %3d stations: median save %7.1f ms, slowest %7.1f ms, %d conflicts, "
            "%d failures\n",
            engine, stations, round.median, round.slowest, round.conflicts, round.failures);
        std::fflush(stdout);
        if (round.slowest > kSlowMs || round.failures > 0) {
            break;
        }
        sustained = stations;
    }
    std::printf("%-10s sustains %d concurrent saving stations with every save within %.0f ms\n\n",
                engine, sustained, kSlowMs);
}

vym::server::OpenOptions DemoOptions() {
    vym::server::OpenOptions options;
    options.createIfMissing = true;
    options.demoData = true;
    return options;
}

}  // namespace

int main() {
    const std::string engines = vym::bench::Env("VYM_BENCH_ENGINES", "sqlite,postgresql");
    if (engines.find("sqlite") != std::string::npos) {
        const auto dir = std::filesystem::temp_directory_path() /
                         ("vym-stations-bench-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir);
        const std::string path = (dir / "stations.db").string();
        vym::server::LocalAppServer::Open(path, DemoOptions());
        Measure("SQLite", path);
        std::filesystem::remove_all(dir);
    }
    if (engines.find("postgresql") == std::string::npos) {
        return 0;
    }
    try {
        const vym::bench::PostgresServer server("54338");
        const std::string uri = server.CreateDatabase("vym_bench_stations");
        vym::server::LocalAppServer::Open(uri, DemoOptions());
        Measure("PostgreSQL", uri);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
