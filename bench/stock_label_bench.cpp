// Stock labels for a 500-line receiving.
//
//   stock_label_bench    the label rows of a receiving of 500 lines loaded
//                        through "Select by Receiving No" (target 0.5 s),
//                        against a raw sqlite3 handle running the same
//                        statements; and every row printed to PDF through the
//                        print component, neighbouring rows of one format,
//                        printer and page in one job (target 2 s).

#include <sqlite3.h>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <vector>

#include "labels/frm_stock_labels.h"
#include "preview/print_job.h"
#include "server/local_app_server.h"
#include "server/procedures/stock_label_procedures.h"
#include "service/citem_maint.h"
#include "ui/flex_grid.h"
#include "ui/modal_runner.h"

namespace {

constexpr int kReceivingNo = 3000;
constexpr int kLines = 500;

// Picks the first receiving of the list, the newest, as a user would.
class PickFirst : public vym::ui::ModalRunner {
  public:
    int Run(QDialog& dialog) override {
        auto* grid = dialog.findChild<vym::ui::FlexGrid*>(QStringLiteral("fgPickList"));
        grid->SetCurrentCell(1, 0);
        dialog.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
        return dialog.result();
    }
};

void AddReceiving(vym::Connection& db) {
    db.ExecuteSQL(
        "INSERT INTO vym_receiving (receiving_no, po_no, date_received, location_id, vendor_id, "
        "received_by) VALUES (" +
        std::to_string(kReceivingNo) +
        ", NULL, '2024-12-01 10:00:00', 'BASE', 'ALPINEGEAR', "
        "'ADMIN')");
    static constexpr int kItems[] = {503, 510, 511};
    std::string lines =
        "INSERT INTO vym_receiving_line (receiving_no, line_no, item_no, qty_received) VALUES ";
    for (int line = 1; line <= kLines; ++line) {
        lines += (line > 1 ? ", (" : "(") + std::to_string(kReceivingNo) + ", " +
                 std::to_string(line) + ", " + std::to_string(kItems[line % 3]) + ", 1)";
    }
    db.ExecuteSQL(lines);
}

struct Timed {
    double ms = 0;
    int rows = 0;
};

Timed LoadOurs(vym::CItemMaint& maint, vym::frmStockLabels& screen) {
    QElapsedTimer timer;
    timer.start();
    screen.Setup(&maint);
    screen.findChild<QAction*>(QStringLiteral("mnuSelectByReceivingNo"))->trigger();
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    return {ms, screen.findChild<vym::ui::FlexGrid*>(QStringLiteral("dbgStockLabels"))->Rows() - 1};
}

// The same statements on a raw handle: the receivings, their lines, and a
// label row a line through one prepared statement, each row's columns kept
// as text.
Timed LoadRaw(const std::string& path) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    QElapsedTimer timer;
    timer.start();
    auto prepare = [&](const std::string& sql) {
        sqlite3_stmt* stmt = nullptr;
        sqlite3_prepare_v2(raw, sql.c_str(), -1, &stmt, nullptr);
        return stmt;
    };
    sqlite3_stmt* receivings = prepare(
        "SELECT receiving_no, po_no, date_received, location_id, vendor_id, received_by"
        " FROM vym_receiving ORDER BY receiving_no DESC");
    while (sqlite3_step(receivings) == SQLITE_ROW) {
    }
    sqlite3_finalize(receivings);
    std::vector<int> items;
    sqlite3_stmt* lines = prepare("Select * from vym_receiving_line where receiving_no = " +
                                  std::to_string(kReceivingNo));
    while (sqlite3_step(lines) == SQLITE_ROW) {
        items.push_back(sqlite3_column_int(lines, 2));
    }
    sqlite3_finalize(lines);
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* label = prepare(vym::server::kStockLabelSelect);
    for (const int item : items) {
        sqlite3_reset(label);
        sqlite3_bind_int(label, 1, item);
        sqlite3_bind_null(label, 2);
        while (sqlite3_step(label) == SQLITE_ROW) {
            std::vector<std::string> row;
            for (int col = 0; col < sqlite3_column_count(label); ++col) {
                const auto* text = sqlite3_column_text(label, col);
                row.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
            }
            rows.push_back(std::move(row));
        }
    }
    sqlite3_finalize(label);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    sqlite3_close(raw);
    return {ms, static_cast<int>(rows.size())};
}

double PrintAll(vym::frmStockLabels& screen, const QString& pdf) {
    vym::preview::PdfOutput output(pdf);
    QElapsedTimer timer;
    timer.start();
    screen.findChild<QPushButton*>(QStringLiteral("cmdPrintAll"))->click();
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    std::printf("%lld PDF files written\n", static_cast<long long>(output.Files().size()));
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("labels.db")).toStdString();
    vym::server::OpenOptions options;
    options.demoData = true;
    auto server = vym::server::LocalAppServer::Open(path, options);
    AddReceiving(*server->DBConnection());
    vym::CItemMaint maint;
    maint.SetAppServer(server.get());
    PickFirst picker;
    vym::ui::ModalRunner* previous = vym::ui::SetModalRunner(&picker);

    // Paired rounds, ours then raw, best of three.
    Timed ours{}, raw{};
    for (int round = 0; round < 3; ++round) {
        vym::frmStockLabels screen;
        const Timed o = LoadOurs(maint, screen);
        const Timed r = LoadRaw(path);
        ours = round == 0 || o.ms < ours.ms ? o : ours;
        raw = round == 0 || r.ms < raw.ms ? r : raw;
    }
    vym::frmStockLabels screen;
    LoadOurs(maint, screen);
    const double printed = PrintAll(screen, dir.filePath(QStringLiteral("labels.pdf")));

    std::printf("\nstock labels of a %d-line receiving (best of 3 paired rounds, wall time)\n",
                kLines);
    std::printf("%-30s %10s %12s %8s %10s\n", "", "ours ms", "sqlite3 ms", "ratio", "target");
    std::printf("%-30s %10.1f %12.1f %8.1f %10s\n", "rows loaded", ours.ms, raw.ms,
                ours.ms / raw.ms, "<= 500");
    std::printf("%-30s %10.1f %12s %8s %10s\n", "every row printed to PDF", printed, "-", "-",
                "<= 2000");
    std::printf("rows: ours %d, raw %d\n", ours.rows, raw.rows);
    vym::ui::SetModalRunner(previous);
    maint.SetAppServer(nullptr);
    return 0;
}
