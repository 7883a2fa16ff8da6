#include "labels/frm_stock_labels.h"

#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

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

}  // namespace

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
    connect(ui_->cmdClose, &QPushButton::clicked, this, &QDialog::reject);

    FlexGrid& grid = *ui_->dbgStockLabels;
    grid.SetFormatString(
        "^Printed|<StockNo|<Serial Id|<Manf Serial|<StockDesc|>Qty|>Price|<Format|<UPC|"
        "<HomeLocId|<HomeLocDesc|<Printer and Page Size|<User Field 1|<User Field 2|"
        "<User Field 3|<User Field 4");
    grid.SetColumnKind(kPrinted, FlexGrid::ColumnKind::CheckBox);
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
        FlexGrid& grid = *ui_->dbgStockLabels;
        for (; !lines->Eof(); lines->MoveNext()) {
            const int first = grid.Rows();
            const int added = AddItem(lines->Fields("item_no").Value().ToLong());
            for (int row = first; row < first + added; ++row) {
                grid.SetTextMatrix(row, kQty, FieldText(*lines, "qty_received"));
            }
        }
        grid.AutoSizeColumns();
    });
}

StockLabelRow frmStockLabels::RowAt(int row) const {
    const FlexGrid& grid = *ui_->dbgStockLabels;
    StockLabelRow label;
    label.StockNo = grid.TextMatrix(row, kStockNo);
    label.SerialId = grid.TextMatrix(row, kSerialId);
    label.ManfSerialId = grid.TextMatrix(row, kManfSerialId);
    label.StockDesc = grid.TextMatrix(row, kStockDesc);
    label.Qty = grid.TextMatrix(row, kQty).toInt();
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

bool frmStockLabels::PrintCurrentRow(int row) {
    const StockLabelRow label = RowAt(row);
    if (const Verdict refusal = CheckLabelRow(label)) {
        MsgBox(refusal->message, refusal->style, refusal->title);
        return false;
    }
    bool printed = false;
    trap_.Run(errors_, "PrintCurrentRow", db_, [&] {
        CItemStock stock;
        if (!stock.OpenStock(db_, errors_, label.StockNo.toInt())) {
            MsgBox("Item could not be found in the database", kInformation);
            return;
        }
        QString why;
        printed = preview::PrintRecord(*db_, label.FormatID.toLong(),
                                       StockLabelRecord(label, stock), label.Qty, label.Printer,
                                       label.Page, preview::PreviewMode::None, &why);
        if (!printed) {
            MsgBox("Error printing stock label for " + S(label.StockNo), kInformation,
                   "Print Error");
        }
    });
    if (printed) {
        ui_->dbgStockLabels->SetCellChecked(row, kPrinted, true);
    }
    return printed;
}

void frmStockLabels::PrintSelectedStock() {
    trap_.Run(errors_, "PrintSelectedStock", db_, [&] {
        for (int row : ui_->dbgStockLabels->SelectedRows()) {
            PrintCurrentRow(row);
        }
    });
}

void frmStockLabels::PrintAllStock() {
    trap_.Run(errors_, "PrintAllStock", db_, [&] {
        for (int row = 1; row < ui_->dbgStockLabels->Rows(); ++row) {
            PrintCurrentRow(row);
        }
    });
}

}  // namespace vym
