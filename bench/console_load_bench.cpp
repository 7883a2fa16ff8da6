// Loading a large search into the item console, as a clerk who answers "OK"
// to "Results Over Limit" waits for it: the time until the first rows are on
// screen, the whole load, and the memory the program holds at its peak (its
// own, and with the database file's mapped pages). It works on a copy of the
// catalogue (<catalogue>.console.db), which it writes its clerk into.
// The baseline runs the same procedure through the gateway and reads the
// same fields of every row, without a screen. Then the loaded grid is exported
// to CSV, against a baseline that writes the same shown texts joined by commas
// with no quoting, escaping or safe replace.
//
//   console_load_bench    VYM_BENCH_ITEMS (default 1000000)
//                         VYM_BENCH_DB (default /tmp/vym_bench_<items>.db)
//                         VYM_BENCH_TEXT (the description searched, default "PREMIUM")

#include <sqlite3.h>
#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "bench_support.h"
#include "console/item.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "server/local_app_server.h"
#include "ui/flex_grid.h"
#include "ui/qt_prompter.h"

namespace {

// The production prompter, with the clerk's "OK" to every question.
class OkPrompter : public vym::ui::QtPrompter {
  public:
    vym::MsgResult Message(std::string_view, vym::MsgStyle, std::string_view) override {
        return vym::MsgResult::OK;
    }
};

// A line of /proc/self/status in megabytes ("VmHWM", "VmRSS", "RssAnon").
double StatusMb(const std::string& key) {
    std::ifstream status("/proc/self/status");
    std::string name;
    double kb = 0;
    while (status >> name) {
        if (name == key + ":") {
            status >> kb;
            return kb / 1024.0;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

// The highest memory of the program's own (anonymous pages: the heap, the
// page cache) while it lives, and the file pages mapped at that moment: the
// database file read through SQLite's memory map counts in the resident set
// but is the file's, shared with the operating system's cache.
class MemoryPeak {
  public:
    MemoryPeak()
        : sampler_([this] {
              while (!done_) {
                  const double anon = StatusMb("RssAnon");
                  if (anon > anonMb_) {
                      anonMb_ = anon;
                      fileMb_ = StatusMb("RssFile");
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(5));
              }
          }) {}
    ~MemoryPeak() { Stop(); }
    MemoryPeak(const MemoryPeak&) = delete;
    MemoryPeak& operator=(const MemoryPeak&) = delete;

    void Stop() {
        done_ = true;
        if (sampler_.joinable()) {
            sampler_.join();
        }
    }
    double AnonMb() const { return anonMb_; }
    double FileMb() const { return fileMb_; }

  private:
    std::atomic<bool> done_ = false;
    std::atomic<double> anonMb_ = 0;
    std::atomic<double> fileMb_ = 0;
    std::thread sampler_;
};

// The bench adds its clerk to the catalogue, which other benches share: it
// works on a copy of its own, made when missing or older than the catalogue.
std::string OwnCopy(const std::string& path) {
    const std::string copy = path + ".console.db";
    namespace fs = std::filesystem;
    if (fs::exists(copy) && fs::last_write_time(copy) > fs::last_write_time(path)) {
        return copy;
    }
    fs::remove(copy);
    sqlite3* from = nullptr;
    sqlite3* to = nullptr;
    sqlite3_open_v2(path.c_str(), &from, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_open(copy.c_str(), &to);
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    sqlite3_close(to);
    sqlite3_close(from);
    return copy;
}

// Reading every row the way the console does, without the screen.
std::int32_t GatewayLoad(vym::Connection& db, const std::string& text) {
    auto command = vym::NewProcedure(db, "VYM_SP_ITEM_GetItem", {{"@description", text}});
    const auto rows = db.ExecuteRecordset(*command);
    std::int32_t count = 0;
    std::size_t bytes = 0;
    for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext(), ++count) {
        for (const char* field :
             {"function_id", "catagory_id", "item_type", "Tree_ICON", "fun_tree_icon", "item_no",
              "long_description", "status_id", "item_color"}) {
            const vym::Value value = rows->Fields(field).Value();
            bytes += value.IsNull() ? 0 : value.ToString().size();
        }
    }
    return bytes > 0 ? count : 0;
}

// The search alone, as the console runs it before its first row: the count
// and the first row, in milliseconds.
double SearchMs(vym::Connection& db, const std::string& text) {
    QElapsedTimer clock;
    clock.start();
    auto command = vym::NewProcedure(db, "VYM_SP_ITEM_GetItem", {{"@description", text}});
    const auto rows = db.ExecuteRecordset(*command);
    return rows->IsOpen() && !rows->Eof() ? static_cast<double>(clock.nsecsElapsed()) / 1e6 : -1;
}

// The same cells the export writes, joined by commas and written as they are.
void NaiveExport(const vym::ui::FlexGrid& grid, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    std::string line;
    for (int row = 0; row < grid.Rows(); ++row) {
        line.clear();
        for (int col = 0; col < grid.Cols(); ++col) {
            if (!grid.IsColumnHidden(col)) {
                line += grid.DisplayText(row, col).toStdString();
                line += ',';
            }
        }
        line += "\r\n";
        out << line;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const vym::bench::Catalogue catalogue = vym::bench::LargeCatalogueFile();
    const std::string text = vym::bench::Env("VYM_BENCH_TEXT", "PREMIUM");
    QApplication app(argc, argv);
    OkPrompter prompter;
    vym::SetPrompter(&prompter);
    auto server = vym::server::LocalAppServer::Open(OwnCopy(catalogue.path));
    // A generated catalogue has no users: the clerk of the bench may open the console.
    server->DBConnection()->ExecuteSQL(
        "INSERT INTO vym_security_user (vym_user, name) VALUES ('ADMIN', 'Bench clerk') "
        "ON CONFLICT DO NOTHING");
    server->DBConnection()->ExecuteSQL(
        "INSERT INTO vym_security_permission VALUES ('ADMIN', 'Item Maintenance', 'ITEM') "
        "ON CONFLICT DO NOTHING");

    QElapsedTimer clock;
    clock.start();
    const std::int32_t rows = GatewayLoad(*server->DBConnection(), text);
    const double gatewayMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;

    vym::Item console;
    console.implements_SetAppServer(server.get());
    console.implements_Setup();
    console.resize(1200, 800);
    console.show();
    auto& grid = *console.findChild<vym::ui::FlexGrid*>("fgItems");
    console.findChild<QLineEdit*>("txtDescription")->setText(QString::fromStdString(text));
    double firstMs = -1;
    QObject::connect(grid.model(), &QAbstractItemModel::rowsInserted, &grid, [&] {
        if (firstMs < 0) {
            firstMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        }
    });
    const double searchMs = SearchMs(*server->DBConnection(), text);
    const double before = StatusMb("VmRSS");
    const double beforeAnon = StatusMb("RssAnon");
    std::ofstream("/proc/self/clear_refs") << "5";  // restart the peak from here
    MemoryPeak peak;
    clock.restart();
    console.findChild<QPushButton*>("cmdFind")->click();
    const double wholeMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    peak.Stop();

    std::printf("%d items, description \"%s\": %d rows\n", catalogue.items, text.c_str(), rows);
    std::printf("%-34s %10s %10s %8s\n", "", "ms", "target", "");
    std::printf("%-34s %10.1f %10s %8s\n", "first rows on screen", firstMs, "100",
                firstMs >= 0 && firstMs <= 100 ? "met" : "MISSED");
    std::printf("%-34s %10.1f\n", "  of which the search (count, row 1)", searchMs);
    std::printf("%-34s %10.1f\n", "whole load into the console", wholeMs);
    std::printf("%-34s %10.1f\n", "same rows through the gateway", gatewayMs);
    std::printf("%-34s %10.2f\n", "ratio console / gateway", wholeMs / gatewayMs);
    std::printf("%-34s %10d\n", "rows in the grid", grid.Rows() - 1);
    std::printf("%-34s %10.0f %10s %8s\n", "peak memory of its own (MB)", peak.AnonMb(), "300",
                peak.AnonMb() <= 300 ? "met" : "MISSED");
    std::printf("%-34s %10.0f\n", "  before the load (MB)", beforeAnon);
    std::printf("%-34s %10.0f\n", "  after the load (MB)", StatusMb("RssAnon"));
    std::printf("%-34s %10.0f\n", "  database file mapped then (MB)", peak.FileMb());
    std::printf("%-34s %10.0f\n", "peak RSS, mapped file too (MB)", StatusMb("VmHWM"));
    std::printf("%-34s %10.0f\n", "  before the load (MB)", before);
    std::printf(
        "(The resident set counts the pages of the database file that SQLite reads through its\n"
        " memory map; they are the file's, shared with the system's cache, so the target is\n"
        " measured on the program's own memory: RssAnon in /proc/self/status.)\n");

    const std::string csv = catalogue.path + ".export.csv";
    clock.restart();
    const auto failure = grid.ExportCsv(QString::fromStdString(csv));
    const double exportMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    clock.restart();
    NaiveExport(grid, csv + ".naive");
    const double naiveMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    std::remove(csv.c_str());
    std::remove((csv + ".naive").c_str());
    std::printf("%-34s %10.1f %10s %8s\n", "export of the grid to CSV", exportMs, "5000",
                !failure && exportMs <= 5000 ? "met" : "MISSED");
    std::printf("%-34s %10.1f\n", "same texts written naively", naiveMs);
    std::printf("%-34s %10.2f\n", "ratio export / naive", exportMs / naiveMs);
    vym::SetPrompter(nullptr);
    return 0;
}
