// The price overview ("Edit Prices") over a large catalogue's prices, on the
// offscreen platform: the time until the first rows are on screen, until the
// whole grid is loaded, and until Stop ends a load, with the memory the
// loaded grid holds; against raw sqlite3 stepping the same statements (the
// count, then every row with every column read as text) in the same run.
//
//   price_overview_bench        VYM_BENCH_PRICE_ITEMS (default 100000 items:
//                               200,000 prices)
//                               VYM_BENCH_PRICE_DB (default
//                               /tmp/vym_bench_prices_<items>.db)
// The catalogue is generated once when the file does not exist.

#include <sqlite3.h>

#include <QApplication>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "base/prompter.h"
#include "bench_support.h"
#include "pricing/frm_edit_prices.h"
#include "server/large_catalogue.h"
#include "server/local_app_server.h"
#include "service/citem_maint.h"
#include "ui/flex_grid.h"
#include "ui/qt_prompter.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFirstRows = 40;

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

std::string Env(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : fallback;
}

// The process's resident memory now ("VmRSS:") or at its peak ("VmHWM:").
double ResidentMb(const std::string& which) {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == which) {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
    }
    return 0;
}

// The user at the screen: lets Qt paint and take input whenever the load
// yields, notes when the first rows were on screen, and presses Stop after
// `stopAfterMs` when asked to.
class User : public vym::ui::QtPrompter {
  public:
    User(QWidget& window, std::optional<double> stopAfterMs)
        : window_(window), stopAfterMs_(stopAfterMs) {
        previous_ = vym::SetPrompter(this);
    }
    ~User() override { vym::SetPrompter(previous_); }

    void ProcessPendingInput() override {
        QtPrompter::ProcessPendingInput();
        const auto now = Clock::now();
        if (!firstRows &&
            window_.findChild<vym::ui::FlexGrid*>("fgPrices")->model()->rowCount() >= kFirstRows) {
            firstRows = now;
        }
        if (stopAfterMs_ && !stopPressed && Ms(start, now) >= *stopAfterMs_) {
            stopPressed = now;
            window_.findChild<QPushButton*>("cmdStop")->click();
        }
    }

    Clock::time_point start = Clock::now();
    std::optional<Clock::time_point> firstRows;
    std::optional<Clock::time_point> stopPressed;

  private:
    QWidget& window_;
    std::optional<double> stopAfterMs_;
    vym::Prompter* previous_ = nullptr;
};

struct Load {
    double firstMs = 0;
    double allMs = 0;
    double stopMs = 0;    // from Stop to the load's return
    double memoryMb = 0;  // held by the loaded grid
    int rows = 0;
};

Load Ours(vym::CItemMaint& maint, std::optional<double> stopAfterMs) {
    const double before = ResidentMb("VmRSS:");
    Load load;
    {
        vym::frmEditPrices window;
        User user(window, stopAfterMs);
        window.Setup(&maint);
        window.resize(1000, 520);
        window.show();
        user.start = Clock::now();
        window.LoadPrices();
        const auto end = Clock::now();
        load.firstMs = user.firstRows ? Ms(user.start, *user.firstRows) : Ms(user.start, end);
        load.allMs = Ms(user.start, end);
        load.stopMs = user.stopPressed ? Ms(*user.stopPressed, end) : 0;
        load.rows = window.findChild<vym::ui::FlexGrid*>("fgPrices")->Rows() - 1;
        load.memoryMb = ResidentMb("VmRSS:") - before;
    }
    return load;
}

// The statements of VYM_SP_ITEM_GetPrices without parameters.
Load Raw(sqlite3* db) {
    Load load;
    const auto start = Clock::now();
    sqlite3_stmt* count = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT count(*) FROM vym_price WHERE item_no IS NOT NULL AND "
                       "package_no IS NULL",
                       -1, &count, nullptr);
    sqlite3_step(count);
    sqlite3_finalize(count);
    sqlite3_stmt* rows = nullptr;
    sqlite3_prepare_v2(
        db,
        "SELECT i.item_type, p.item_no, i.long_description AS item_description, p.price_no, "
        "p.location_id, p.season_id AS season_no, s.description AS season_desc, p.discount_id, "
        "d.description AS discount_desc, p.uom_id, p.unit_qty, p.unit_price, p.total_price AS "
        "Price, p.seller_pricing, p.line_discount AS allow_line_discount FROM vym_price p JOIN "
        "vym_item i ON i.item_no = p.item_no LEFT JOIN vym_season s ON s.season_no = "
        "p.season_id LEFT JOIN vym_discount d ON d.discount_id = p.discount_id WHERE p.item_no "
        "IS NOT NULL AND p.package_no IS NULL ORDER BY p.item_no, p.price_no",
        -1, &rows, nullptr);
    std::size_t bytes = 0;
    while (sqlite3_step(rows) == SQLITE_ROW) {
        for (int col = 0; col < sqlite3_column_count(rows); ++col) {
            const unsigned char* text = sqlite3_column_text(rows, col);
            bytes += text != nullptr ? std::string(reinterpret_cast<const char*>(text)).size() : 0;
        }
        if (++load.rows == kFirstRows) {
            load.firstMs = Ms(start, Clock::now());
        }
    }
    sqlite3_finalize(rows);
    load.allMs = Ms(start, Clock::now());
    load.memoryMb = static_cast<double>(bytes) / (1024 * 1024);
    return load;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const std::int32_t items = std::atoi(Env("VYM_BENCH_PRICE_ITEMS", "100000").c_str());
    const std::string path =
        Env("VYM_BENCH_PRICE_DB", "/tmp/vym_bench_prices_" + std::to_string(items) + ".db");
    if (!std::filesystem::exists(path)) {
        std::fprintf(stderr, "Generating %d items into %s\n", items, path.c_str());
        vym::server::LargeCatalogue::Generate(path, items);
    }
    vym::bench::BenchDatabase database(path);
    auto server = vym::server::LocalAppServer::Open(path);
    vym::CItemMaint maint;
    maint.SetAppServer(server.get());

    // Paired: each round runs ours, then raw, on a warm cache. The first
    // round's grid is the first the process holds, so its memory is the one
    // reported.
    Raw(database.Raw());
    constexpr int kRounds = 3;
    Load ours{};
    Load raw{};
    double gridMb = 0;
    for (int round = 0; round < kRounds; ++round) {
        const Load o = Ours(maint, std::nullopt);
        const Load r = Raw(database.Raw());
        gridMb = round == 0 ? o.memoryMb : gridMb;
        ours = round == 0 || o.allMs < ours.allMs ? o : ours;
        raw = round == 0 || r.allMs < raw.allMs ? r : raw;
    }
    const Load stopped = Ours(maint, 300.0);

    std::printf("\nprice overview, %d prices (best of %d paired rounds, wall time)\n", ours.rows,
                kRounds);
    std::printf("%-26s %10s %12s %8s %10s\n", "", "ours ms", "sqlite3 ms", "ratio", "target");
    std::printf("%-26s %10.1f %12.1f %8.1f %10s\n", "first 40 rows on screen", ours.firstMs,
                raw.firstMs, ours.firstMs / raw.firstMs, "<= 500");
    std::printf("%-26s %10.1f %12.1f %8.1f %10s\n", "whole grid", ours.allMs, raw.allMs,
                ours.allMs / raw.allMs, "<= 3000");
    std::printf("%-26s %10.1f %12s %8s %10s\n", "Stop (pressed at 300 ms)", stopped.stopMs, "-",
                "-", "-");
    std::printf("%-26s %10.1f %12.1f %8s %10s\n", "memory MB (grid; text)", gridMb, raw.memoryMb,
                "-", "-");
    std::printf("%-26s %10.1f %12s %8s %10s\n", "process peak memory MB", ResidentMb("VmHWM:"), "-",
                "-", "<= 300");
    std::printf("rows after Stop: %d of %d\n", stopped.rows, ours.rows);
    maint.SetAppServer(nullptr);
    return 0;
}
