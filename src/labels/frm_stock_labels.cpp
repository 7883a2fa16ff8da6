#include "labels/frm_stock_labels.h"

#include <QElapsedTimer>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <map>

#include "base/prompter.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "host/frm_pick_list.h"
#include "model/citem_stock.h"
#include "preview/print_job.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui_frm_stock_labels.h"

namespace vym {
namespace {

using ui::FieldText;
using ui::FlexGrid;
using ui::Q;
using ui::S;

enum Column {
    kPrinted,
    kStockNo,
    kSerialId,
    kManfSerialId,
    kStockDesc,
    kQty,
    kPrice,
    kFormatID,
    kUPC,
    kHomeLocId,
    kHomeLocDesc,
    kPrinterPage,
    kUser1,
    kColumns = kUser1 + 4
};

constexpr char kDefaultPrinter[] = "0";  // key of the "Default" printer row
// A load lets the user in (Stop, paint) after its first row and then this often.
constexpr qint64 kYieldMs = 30;

}  // namespace

// Neighbouring rows of one format, printer and page, printed as one job.
struct frmStockLabels::LabelJob {
    long format = 0;
    QString printer, page;
    std::vector<int> rows;
    std::vector<preview::LabelRun> runs;
    // A receiving repeats its items: each stock record is read once a print
    // (null when it could not be).
    std::map<std::int32_t, std::unique_ptr<CItemStock>> stocks;
};

frmStockLabels::frmStockLabels(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmStockLabels>()) {
    ui_->setupUi(this);
    auto* menuBar = new QMenuBar(this);
    layout()->setMenuBar(menuBar);
    QMenu* mnuTools = menuBar->addMenu(QStringLiteral("&Tools"));
    mnuTools->setObjectName(QStringLiteral("mnuTools"));
    QAction* select = mnuTools->addAction(QStringLiteral("&Select by Receiving No"));
    select->setObjectName(QStringLiteral("mnuSelectByReceivingNo"));
    connect(select, &QAction::triggered, this, &frmStockLabels::mnuSelectByReceivingNo_Click);
    connect(ui_->cmdPrintSelected, &QPushButton::clicked, this,
            &frmStockLabels::PrintSelectedStock);
    connect(ui_->cmdPrintAll, &QPushButton::clicked, this, &frmStockLabels::PrintAllStock);
    connect(ui_->cmdClose, &QPushButton::clicked, this, &frmStockLabels::reject);
    connect(ui_->cmdStop, &QPushButton::clicked, this, [this] { stopRequested_ = true; });
    SetLoading(false);

    FlexGrid& grid = *ui_->dbgStockLabels;
    grid.SetFormatString(
        "^Printed|<StockNo|<Serial Id|<Manf Serial|<StockDesc|>Qty|>Price|<Format|<UPC|"
        "<HomeLocId|<HomeLocDesc|<Printer and Page Size|<User Field 1|<User Field 2|"
        "<User Field 3|<User Field 4");
    grid.SetColumnKind(kPrinted, FlexGrid::ColumnKind::CheckBox);
    grid.SetColumnKind(kStockNo, FlexGrid::ColumnKind::Button);
    connect(&grid, &FlexGrid::CellButtonClick, this, &frmStockLabels::dbgStockLabels_BtnClick);
    connect(&grid, &FlexGrid::ValidateEdit, this,
            [this](int row, int col, const QString& typed, bool& cancel) {
                if (col != kQty) {
                    return;
                }
                const Verdict refusal =
                    CheckCopies(typed, ui_->dbgStockLabels->TextMatrix(row, kStockNo));
                if (refusal) {
                    MsgBox(refusal->message, refusal->style, refusal->title);
                    cancel = true;
                }
            });
    grid.SetColumnFormat(kPrice, QStringLiteral("Currency"));
    grid.SetSelectionMode(FlexGrid::SelectionMode::MultiRow);
    grid.SetEditable(true);
    for (int col = 0; col < kColumns; ++col) {
        grid.SetColumnEditable(
            col, col == kQty || col == kFormatID || col == kPrinterPage || col >= kUser1);
    }
}

frmStockLabels::~frmStockLabels() = default;

void frmStockLabels::Setup(ScreenContext* itemMaint, const std::vector<StockLabelEntry>& vStockList,
                           bool bSerialized) {
    db_ = itemMaint->DBConnection().get();
    errors_ = itemMaint->ErrorObject();
    setWindowTitle(bSerialized ? QStringLiteral("Print Serialized Stock Labels")
                               : QStringLiteral("Print Stock Labels"));
    ui_->dbgStockLabels->SetColumnHidden(kSerialId, !bSerialized);
    LoadFormats();
    LoadPrinters();
    for (const StockLabelEntry& entry : vStockList) {
        AddItem(entry.ItemNo, entry.SerialId);
    }
    ui_->dbgStockLabels->AutoSizeColumns();
}

void frmStockLabels::LoadFormats() {
    trap_.Run(errors_, "Setup", db_, [&] {
        auto cmd =
            NewProcedure(*db_, "VYM_SP_SERIAL_GetPrintFormat", {{"@print_format_type", "STOCK"}});
        auto rows = db_->ExecuteRecordset(*cmd);
        QString list;
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            list +=
                ui::ComboListEntry(FieldText(*rows, "format_no"), FieldText(*rows, "Description"));
        }
        ui_->dbgStockLabels->SetColumnComboList(kFormatID, list.mid(1));
    });
}

void frmStockLabels::LoadPrinters() {
    printers_.clear();
    trap_.Run(errors_, "Setup", db_, [&] {
        auto cmd = NewProcedure(*db_, "VYM_SP_ITEM_GetPrinters");
        auto rows = db_->ExecuteRecordset(*cmd);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            printers_.emplace_back(FieldText(*rows, "Printer"), FieldText(*rows, "Page"));
        }
    });
    QString list = ui::ComboListEntry(kDefaultPrinter, QStringLiteral("Default"));
    for (std::size_t i = 0; i < printers_.size(); ++i) {
        list += ui::ComboListEntry(QString::number(i + 1),
                                   printers_[i].first + QStringLiteral("  ") + printers_[i].second);
    }
    ui_->dbgStockLabels->SetColumnComboList(kPrinterPage, list.mid(1));
}

int frmStockLabels::AddItem(std::int32_t lItemNo, const QString& sSerialId) {
    int added = 0;
    trap_.Run(errors_, "AddItem", db_, [&] {
        auto cmd =
            NewProcedure(*db_, "VYM_SP_ITEM_GetStockLabels",
                         {{"@item_no", lItemNo}, {"@serial_id", ui::NullIfEmpty(sSerialId)}});
        auto rows = db_->ExecuteRecordset(*cmd);
        FlexGrid& grid = *ui_->dbgStockLabels;
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const QString format = FieldText(*rows, "format_no");
            if (format.isEmpty() || format == QLatin1String("0")) {
                std::string message =
                    "No stock label format defined for item " + std::to_string(lItemNo);
                if (!sSerialId.isEmpty()) {
                    message += " and serial id " + S(sSerialId);
                }
                MsgBox(message, kInformation);
            }
            const QStringList cells = {QString(),
                                       QString::number(lItemNo),
                                       FieldText(*rows, "serial_id"),
                                       FieldText(*rows, "mfg_serial"),
                                       FieldText(*rows, "long_description"),
                                       QStringLiteral("1"),
                                       FieldText(*rows, "Price"),
                                       format,
                                       FieldText(*rows, "upc_code"),
                                       FieldText(*rows, "location_id"),
                                       FieldText(*rows, "location_desc"),
                                       kDefaultPrinter,
                                       QString(),
                                       QString(),
                                       QString(),
                                       QString()};
            grid.AddRow(cells);
            ++added;
        }
    });
    return added;
}

void frmStockLabels::reject() {
    if (loading_) {
        stopRequested_ = true;
        return;
    }
    QDialog::reject();
}

void frmStockLabels::SetLoading(bool loading) {
    loading_ = loading;
    stopRequested_ = false;
    ui_->prgLoad->setVisible(loading);
    ui_->cmdStop->setVisible(loading);
    ui_->cmdStop->setEnabled(loading);
    ui_->cmdPrintSelected->setEnabled(!loading);
    ui_->cmdPrintAll->setEnabled(!loading);
    ui_->dbgStockLabels->setEnabled(!loading);
    if (auto* select = findChild<QAction*>(QStringLiteral("mnuSelectByReceivingNo"))) {
        select->setEnabled(!loading);
    }
}

void frmStockLabels::mnuSelectByReceivingNo_Click() {
    trap_.Run(errors_, "mnuSelectByReceivingNo", db_, [&] {
        auto receivings = db_->OpenRecordset(
            "SELECT receiving_no, po_no, date_received, location_id, vendor_id, received_by"
            " FROM vym_receiving ORDER BY receiving_no DESC");
        frmPickList list(this);
        list.SetFormCaption(QStringLiteral("Select Receiving Number"));
        list.FillRecordset(*receivings);
        if (ui::RunModal(list) != QDialog::Accepted || list.UserCancelled()) {
            return;
        }
        // A number, never the list's text, goes into the statement.
        const long receivingNo = list.ColumnText(QStringLiteral("receiving_no")).toLong();
        auto lines = db_->OpenRecordset("Select * from vym_receiving_line where receiving_no = " +
                                        std::to_string(receivingNo));
        std::vector<std::pair<std::int32_t, QString>> items;
        for (; !lines->Eof(); lines->MoveNext()) {
            items.emplace_back(lines->Fields("item_no").Value().ToLong(),
                               FieldText(*lines, "qty_received"));
        }
        if (LoadReceivingLines(items)) {
            ui_->dbgStockLabels->AutoSizeColumns();
        }
    });
}

bool frmStockLabels::LoadReceivingLines(
    const std::vector<std::pair<std::int32_t, QString>>& lines) {
    QPointer<frmStockLabels> self(this);
    FlexGrid& grid = *ui_->dbgStockLabels;
    const int before = grid.Rows();
    SetLoading(true);
    ui_->prgLoad->setRange(0, static_cast<int>(lines.size()));
    ui_->prgLoad->setValue(0);
    QElapsedTimer sinceYield;
    sinceYield.start();
    bool stopped = false;
    for (std::size_t i = 0; i < lines.size() && !stopped; ++i) {
        const int first = grid.Rows();
        const int added = AddItem(lines[i].first);
        for (int row = first; row < first + added; ++row) {
            grid.SetTextMatrix(row, kQty, lines[i].second);
        }
        if (i == 0 || sinceYield.elapsed() >= kYieldMs) {
            ui_->prgLoad->setValue(static_cast<int>(i + 1));
            DoEvents();
            if (!self) {
                return false;
            }
            stopped = stopRequested_;
            sinceYield.restart();
        }
    }
    if (stopped) {
        grid.SetRows(before);  // as it was before the load
    }
    SetLoading(false);
    return !stopped;
}

StockLabelRow frmStockLabels::RowAt(int row) const {
    const FlexGrid& grid = *ui_->dbgStockLabels;
    StockLabelRow label;
    label.StockNo = grid.TextMatrix(row, kStockNo);
    label.SerialId = grid.TextMatrix(row, kSerialId);
    label.ManfSerialId = grid.TextMatrix(row, kManfSerialId);
    label.StockDesc = grid.TextMatrix(row, kStockDesc);
    label.Qty = grid.TextMatrix(row, kQty);
    label.FormatID = grid.TextMatrix(row, kFormatID);
    label.FormatDesc = grid.DisplayText(row, kFormatID);
    label.UPC = grid.TextMatrix(row, kUPC);
    label.HomeLocId = grid.TextMatrix(row, kHomeLocId);
    label.HomeLocDesc = grid.TextMatrix(row, kHomeLocDesc);
    const std::size_t printer = grid.TextMatrix(row, kPrinterPage).toUInt();
    if (printer >= 1 && printer <= printers_.size()) {
        label.Printer = printers_[printer - 1].first;
        label.Page = printers_[printer - 1].second;
    }
    for (int i = 0; i < 4; ++i) {
        label.User[static_cast<std::size_t>(i)] = grid.TextMatrix(row, kUser1 + i);
    }
    return label;
}

void frmStockLabels::PrintCurrentRow(int row, LabelJob& job) {
    const StockLabelRow label = RowAt(row);
    if (const Verdict refusal = CheckLabelRow(label)) {
        PrintJob(job);  // the messages keep the order of the rows
        MsgBox(refusal->message, refusal->style, refusal->title);
        return;
    }
    trap_.Run(errors_, "PrintCurrentRow", db_, [&] {
        const std::int32_t itemNo = label.StockNo.toInt();
        auto [found, added] = job.stocks.try_emplace(itemNo);
        if (added) {
            auto stock = std::make_unique<CItemStock>();
            if (stock->OpenStock(db_, errors_, itemNo)) {
                found->second = std::move(stock);
            }
        }
        if (!found->second) {
            PrintJob(job);
            MsgBox("Item could not be found in the database", kInformation);
            return;
        }
        const long format = label.FormatID.toLong();
        if (!job.rows.empty() &&
            (format != job.format || label.Printer != job.printer || label.Page != job.page)) {
            PrintJob(job);
        }
        job.format = format;
        job.printer = label.Printer;
        job.page = label.Page;
        job.rows.push_back(row);
        job.runs.push_back({StockLabelRecord(label, *found->second), *ParseCopies(label.Qty)});
    });
}

void frmStockLabels::PrintJob(LabelJob& job) {
    if (job.rows.empty()) {
        return;
    }
    std::vector<QString> failed;
    trap_.Run(errors_, "PrintCurrentRow", db_, [&] {
        failed = preview::PrintRuns(*db_, job.format, job.runs, job.printer, job.page,
                                    preview::PreviewMode::None);
    });
    FlexGrid& grid = *ui_->dbgStockLabels;
    for (std::size_t i = 0; i < job.rows.size(); ++i) {
        const int row = job.rows[i];
        if (i < failed.size() && failed[i].isEmpty()) {
            grid.SetCellChecked(row, kPrinted, true);
        } else {
            MsgBox("Error printing stock label for " + S(grid.TextMatrix(row, kStockNo)),
                   kInformation, "Print Error");
        }
    }
    job.rows.clear();
    job.runs.clear();
}

void frmStockLabels::PrintRows(const QList<int>& rows) {
    LabelJob job;
    for (int row : rows) {
        PrintCurrentRow(row, job);
    }
    PrintJob(job);
}

void frmStockLabels::PrintSelectedStock() {
    trap_.Run(errors_, "PrintSelectedStock", db_,
              [&] { PrintRows(ui_->dbgStockLabels->SelectedRows()); });
}

void frmStockLabels::PrintAllStock() {
    trap_.Run(errors_, "PrintAllStock", db_, [&] {
        QList<int> rows;
        for (int row = 1; row < ui_->dbgStockLabels->Rows(); ++row) {
            rows << row;
        }
        PrintRows(rows);
    });
}

void frmStockLabels::dbgStockLabels_BtnClick(int row, int col) {
    trap_.Run(errors_, "dbgStockLabels_BtnClick", db_, [&] {
        if (row >= 1 && col == kStockNo) {
            MsgBox("Sorry Not Implemented", kInformation);
        }
    });
}

}  // namespace vym
