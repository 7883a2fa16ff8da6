// Loading a large search into the item console, as a clerk who answers "OK"
// to "Results Over Limit" waits for it: the time until the first rows are on
// screen, the whole load, and the memory the program holds at its peak.
// The baseline runs the same procedure through the gateway and reads the
// same fields of every row, without a screen. Then the loaded grid is exported
// to CSV, against a baseline that writes the same shown texts joined by commas
// with no quoting, escaping or safe replace.
//
//   console_load_bench    VYM_BENCH_ITEMS (default 1000000)
//                         VYM_BENCH_DB (default /tmp/vym_bench_<items>.db)
//                         VYM_BENCH_TEXT (the description searched, default "PREMIUM")

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>
#include <fstream>
#include <string>

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

// A line of /proc/self/status in megabytes ("VmHWM", "VmRSS").
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
    auto server = vym::server::LocalAppServer::Open(catalogue.path);
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
    const double before = StatusMb("VmRSS");
    std::ofstream("/proc/self/clear_refs") << "5";  // restart the peak from here
    clock.restart();
    console.findChild<QPushButton*>("cmdFind")->click();
    const double wholeMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;

    std::printf("%d items, description \"%s\": %d rows\n", catalogue.items, text.c_str(), rows);
    std::printf("%-34s %10s %10s %8s\n", "", "ms", "target", "");
    std::printf("%-34s %10.1f %10s %8s\n", "first rows on screen", firstMs, "100",
                firstMs >= 0 && firstMs <= 100 ? "met" : "MISSED");
    std::printf("%-34s %10.1f\n", "whole load into the console", wholeMs);
    std::printf("%-34s %10.1f\n", "same rows through the gateway", gatewayMs);
    std::printf("%-34s %10.2f\n", "ratio console / gateway", wholeMs / gatewayMs);
    std::printf("%-34s %10d\n", "rows in the grid", grid.Rows() - 1);
    std::printf("%-34s %10.0f %10s %8s\n", "peak RSS during the load (MB)", StatusMb("VmHWM"),
                "300", StatusMb("VmHWM") <= 300 ? "met" : "MISSED");
    std::printf("%-34s %10.0f\n", "RSS before the load (MB)", before);

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
