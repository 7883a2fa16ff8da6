#include "serials/serial.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

#include "base/error.h"
#include "base/format.h"
#include "base/prompter.h"
#include "gateway/app_server.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "host/console_binding.h"
#include "host/frm_about.h"
#include "host/mod_db_filler.h"
#include "host/screen_context.h"
#include "inventory/frm_view_history.h"
#include "model/cstock_serial.h"
#include "serials/frm_batch_format.h"
#include "serials/frm_serial_properties.h"
#include "serials/serial_rules.h"
#include "ui/any_combo.h"
#include "ui/flex_grid.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui_serial.h"
#include "vym/version.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::NullIfEmpty;
using ui::Q;
using ui::S;

namespace {

constexpr const char* kFormat =
    "ItemNo|StockType|SerialId|Description|Location|Model|Status|Vendor|SerialType|OrigCost|"
    "RetailPrice|Depreciated|^MfgSerial|Rental Desc|LastReturnLoc";
constexpr int kItemNoCol = 0;
constexpr int kSerialIdCol = 2;
constexpr int kLocationCol = 4;
constexpr int kOrigCostCol = 9;
constexpr int kRetailPriceCol = 10;
constexpr int kDepreciatedCol = 11;

// A list of the search from a procedure's rows: key and text columns.
void Fill(ui::AnyCombo& combo, Connection& db, std::unique_ptr<Command> cmd, const char* key,
          const char* text) {
    combo.Reset();
    auto rows = db.ExecuteRecordset(*cmd);
    for (; !rows->Eof(); rows->MoveNext()) {
        combo.AddEntry(FieldText(*rows, key), FieldText(*rows, text));
    }
}

vym::Value Amount(const QString& cell) {
    const auto amount = ParseCurrency(S(cell.trimmed()));
    return amount ? vym::Value(*amount) : vym::Value::Null();
}

QString AmountText(vym::Currency amount) {
    return amount == vym::Currency{} ? QString() : Q(Format(vym::Value(amount), "0.0000"));
}

}  // namespace

Serial::Serial(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::Serial>()) {
    ui_->setupUi(this);
    setObjectName("Serial");
    ui_->optEither->setChecked(true);
    FlexGrid& grid = *ui_->flxSerial;
    grid.SetFormatString(kFormat);
    for (const int col : {kOrigCostCol, kRetailPriceCol, kDepreciatedCol}) {
        grid.SetColumnFormat(col, "Currency");
        grid.SetColumnEditable(col, true);
    }
    grid.SetEditable(true);
    grid.SetSelectionMode(FlexGrid::SelectionMode::MultiRow);
    ui_->cmdOk->setVisible(false);
    ui_->cmdCancel->setVisible(false);
    BuildMenus();
    connect(ui_->cmdFind, &QPushButton::clicked, this, &Serial::cmdFind_Click);
    connect(ui_->cmdStop, &QPushButton::clicked, this, [] { StopFill(); });
    connect(ui_->cmdNewSearch, &QPushButton::clicked, this, &Serial::cmdNewSearch_Click);
    connect(ui_->cmdOk, &QPushButton::clicked, this, [this] {
        userCanceled_ = false;
        emit OkClick();
    });
    connect(ui_->cmdCancel, &QPushButton::clicked, this, [this] {
        userCanceled_ = true;
        emit CancelClick();
    });
    connect(ui_->cmbSizeType, &ui::AnyCombo::KeyChanged, this, &Serial::FillSizes);
    connect(&grid, &FlexGrid::BeforeEdit, this, &Serial::flxSerial_BeforeEdit);
    connect(&grid, &FlexGrid::ValidateEdit, this, &Serial::flxSerial_ValidateEdit);
    connect(&grid, &FlexGrid::AfterEdit, this, &Serial::flxSerial_AfterEdit);
    connect(&grid, &FlexGrid::CellDoubleClicked, this, [this](int row, int) {
        if (row > 0) {
            emit DoubleClick();
            EditUnit(row, false);
        }
    });
    grid.SetContextMenu(mnuSerialNumbers_);
    EnableControls();
}

Serial::~Serial() = default;

void Serial::BuildMenus() {
    menuBar_ = new QMenuBar(this);
    menuBar_->setObjectName("mnuBar");
    menuBar_->setNativeMenuBar(false);
    ui_->layoutMain->setMenuBar(menuBar_);
    auto add = [](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    mnuSerialNumbers_ = menuBar_->addMenu("&Serial Numbers");
    mnuSerialNumbers_->setObjectName("mnuSerialNumbers");
    mnuAdd_ = add(mnuSerialNumbers_, "mnuAdd", "&Add");
    mnuCreateLike_ = add(mnuSerialNumbers_, "mnuCreateLike", "&Create Like");
    QAction* mnuProperties = add(mnuSerialNumbers_, "mnuProperties", "&Properties");
    sepDelete_ = mnuSerialNumbers_->addSeparator();
    mnuDelete_ = add(mnuSerialNumbers_, "mnuDelete", "Delete");
    mnuSerialNumbers_->addSeparator();
    QAction* mnuPrintLabels = add(mnuSerialNumbers_, "mnuPrintLabels", "Print &Labels");
    QAction* mnuSerialHistory = add(mnuSerialNumbers_, "mnuSerialHistory", "Serial &History");
    QAction* mnuRentalStatus = add(mnuSerialNumbers_, "mnuRentalStatus", "Rental Status");
    QAction* mnuContractHistory =
        add(mnuSerialNumbers_, "mnuContractHistory", "Rental Contract History");
    QMenu* mnuTools = menuBar_->addMenu("Tools");
    mnuTools->setObjectName("mnuTools");
    QAction* mnuCreateFromTransfer =
        add(mnuTools, "mnuCreateFromTransfer", "Create Serials From Transfer...");

    connect(mnuAdd_, &QAction::triggered, this, [this] { EditUnit(0, false); });
    connect(mnuCreateLike_, &QAction::triggered, this, [this] { EditUnit(SelectedRow(), true); });
    connect(mnuProperties, &QAction::triggered, this, [this] { EditUnit(SelectedRow(), false); });
    connect(mnuDelete_, &QAction::triggered, this, &Serial::mnuDelete_Click);
    connect(mnuPrintLabels, &QAction::triggered, this, &Serial::mnuPrintLabels_Click);
    // The unit's stock history, and the stock of its item where it belongs.
    connect(mnuSerialHistory, &QAction::triggered, this, [this] {
        if (const int row = SelectedRow(); row > 0 && itemMaint_) {
            itemMaint_->ShowStockHistory(this, ItemNo(), {}, StockNo());
        }
    });
    connect(mnuRentalStatus, &QAction::triggered, this, [this] {
        if (const int row = SelectedRow(); row > 0 && itemMaint_) {
            itemMaint_->StockLocation(this, ItemNo(),
                                      ui_->flxSerial->TextMatrix(row, kLocationCol));
        }
    });
    connect(mnuContractHistory, &QAction::triggered, this, &Serial::mnuContractHistory_Click);
    connect(mnuCreateFromTransfer, &QAction::triggered, this, &Serial::mnuCreateFromTransfer_Click);
}

// Input is accepted only while the console is enabled and has its connection.
void Serial::EnableControls() {
    const bool on = enabled_ && connection_ != nullptr;
    ui_->fraFindSerial->setEnabled(on);
    ui_->flxSerial->setEnabled(on);
    menuBar_->setEnabled(on);
    ui_->cmdOk->setEnabled(on);
    ui_->cmdStop->setEnabled(searching_);
    mnuAdd_->setVisible(allowEdit_);
    mnuCreateLike_->setVisible(allowEdit_);
    mnuDelete_->setVisible(allowDelete_);
    sepDelete_->setVisible(allowDelete_);
}

void Serial::SetStatus(const QString& text) {
    binding_.SetStatus(text);
}

// Plug-in interface --------------------------------------------------------------

void Serial::implements_SetAppServer(AppServer* server) {
    try {
        binding_.Bind(server);
        if (binding_.Server() != nullptr) {
            SetStatus("Loading Serial Maintenance");
        }
    } catch (const vym::Error& e) {
        MsgBox("Error Attempting to Bind Application Server: " + e.Description());
    } catch (const std::exception& e) {
        MsgBox(std::string("Error Attempting to Bind Application Server: ") + e.what());
    }
}

void Serial::implements_Setup() {
    enabled_ = false;
    EnableControls();
    if (!binding_.Granted("Serial Maintenance", "SERIAL")) {
        return;
    }
    trap_.Run(Errors(), "implements_Setup", nullptr, [&] {
        enabled_ = true;
        Setup(binding_.Server()->DBConnection(), Errors(), binding_.Context());
    });
    SetStatus("Ready");
}

void Serial::implements_Enable() {
    enabled_ = connection_ != nullptr;
    EnableControls();
}

void Serial::implements_ShowAbout() {
    frmAbout about(this);
    ui::RunModal(about);
}

QString Serial::implements_GetApplicationName() const {
    return "Serial Maintenance";
}

QString Serial::implements_ProgID() const {
    return QString(version::kComponentTitle) + ".Serial";
}

void Serial::Implements_ShutDown() {
    StopFill();
    itemMaint_ = nullptr;
    connection_.reset();
    binding_.Release();
    enabled_ = false;
    EnableControls();
}

// Set-up and search ----------------------------------------------------------------

void Serial::Setup(std::shared_ptr<Connection> oDB, ErrorObject* oError, ScreenContext* oItemMaint,
                   std::int32_t lItemNo, const QString& sSerialId, const QString& sMfgSerial,
                   const QString& sLoc) {
    connection_ = std::move(oDB);
    binding_.SetErrors(oError);
    itemMaint_ = oItemMaint;
    enabled_ = connection_ != nullptr;
    AppServer* rights =
        binding_.Server() ? binding_.Server() : (itemMaint_ ? itemMaint_->AppServer() : nullptr);
    allowEdit_ = rights && rights->CheckPermission("", "StockMaint", "STOCKEDITSERIAL");
    allowDelete_ = rights && rights->CheckPermission("", "StockMaint", "STOCKDELSERIAL");
    EnableControls();
    if (!connection_) {
        return;
    }
    trap_.Run(Errors(), "Setup", Db(), [&] { FillSearchLists(); });
    ui_->txtItemNo->setText(lItemNo == 0 ? QString() : QString::number(lItemNo));
    ui_->txtSerialId->setText(sSerialId);
    ui_->cmbLocation->SetKey(sLoc);
    if (lItemNo != 0 || !sSerialId.isEmpty() || !sMfgSerial.isEmpty() || !sLoc.isEmpty()) {
        SearchStockSerial();
    }
}

void Serial::FillSearchLists() {
    Connection& db = *Db();
    Fill(*ui_->cmbLocation, db,
         NewProcedure(db, "VYM_SP_SERIAL_GetLocation", {{"@stock_type_id", "RENTAL"}}),
         "location_id", "Description");
    Fill(*ui_->cmbStatus, db, NewProcedure(db, "VYM_SP_SERIAL_GetSerialStatus"), "status_id",
         "Description");
    Fill(*ui_->cmbSerialType, db, NewProcedure(db, "VYM_SP_SERIAL_GetSerialType"), "serial_type_id",
         "Description");
    Fill(*ui_->cmbModel, db,
         NewProcedure(db, "VYM_SP_ITEM_GetItemStockModel",
                      {{"@stock_type_id", "RENTAL"}, {"@is_active", false}}),
         "model_id", "Description");
    Fill(*ui_->cmbSizeType, db, NewProcedure(db, "VYM_SP_SERIAL_GetStockSizeType"),
         "stock_size_type_id", "Description");
    Fill(*ui_->cmbRentalDetail, db, NewProcedure(db, "VYM_SP_SERIAL_GetRentalItems"), "item_no",
         "long_description");
    FillSizes();
}

void Serial::FillSizes() {
    ui_->cmbSize->Reset();
    if (!Db() || ui_->cmbSizeType->IsAny()) {
        return;
    }
    trap_.Run(Errors(), "cmbSizeType_Click", Db(), [&] {
        Fill(*ui_->cmbSize, *Db(),
             NewProcedure(*Db(), "VYM_SP_SERIAL_GetStockSize",
                          {{"@stock_size_type_id", S(ui_->cmbSizeType->Key())}}),
             "stock_size", "stock_size");
    });
}

std::unique_ptr<Command> Serial::BuildSearch() {
    const QString itemNo = ui_->txtItemNo->text().trimmed();
    if (!itemNo.isEmpty() && (!IsNumeric(S(itemNo)) || itemNo.contains('.'))) {
        MsgBox("Please enter a numeric value in the item number search or clear the value.",
               kInformation, "Serial Number Search");
        return nullptr;
    }
    const auto key = [](const ui::AnyCombo& combo) { return NullIfEmpty(combo.Key()); };
    const vym::Value active = ui_->optActive->isChecked()     ? vym::Value(true)
                              : ui_->optInActive->isChecked() ? vym::Value(false)
                                                              : vym::Value::Null();
    auto cmd = NewProcedure(
        *Db(), "VYM_SP_SERIAL_SearchStockSerial",
        {{"@serial_id", NullIfEmpty(ui_->txtSerialId->text().trimmed())},
         {"@item_no", itemNo.isEmpty() ? vym::Value::Null() : vym::Value(itemNo.toInt())},
         {"@item_description", NullIfEmpty(ui_->txtItemDesc->text().trimmed())},
         {"@location_id", key(*ui_->cmbLocation)},
         {"@status_id", key(*ui_->cmbStatus)},
         {"@is_active", active},
         {"@stock_size", key(*ui_->cmbSize)},
         {"@serial_type_id", key(*ui_->cmbSerialType)},
         {"@model_id", key(*ui_->cmbModel)},
         {"@rental_item_no", key(*ui_->cmbRentalDetail)}});
    const bool any = !itemNo.isEmpty() || !ui_->txtSerialId->text().trimmed().isEmpty() ||
                     !ui_->txtItemDesc->text().trimmed().isEmpty() || !ui_->cmbLocation->IsAny() ||
                     !ui_->cmbSize->IsAny() || !ui_->cmbSerialType->IsAny() ||
                     !ui_->cmbModel->IsAny() || !ui_->cmbRentalDetail->IsAny();
    if (!any) {
        MsgBox("Please provide at least one search criteria besides status.", kInformation,
               "Search Criteria Required");
        return nullptr;
    }
    return cmd;
}

void Serial::SearchStockSerial() {
    if (!Db() || searching_) {
        return;
    }
    searching_ = true;
    trap_.Run(Errors(), "SearchStockSerial", Db(), [&] {
        std::unique_ptr<Command> cmd = BuildSearch();
        if (!cmd) {
            return;
        }
        ui_->flxSerial->Clear();
        SetStatus("Seaching Serials...");
        EnableControls();
        auto rows = Db()->ExecuteRecordset(*cmd);
        FillGridFromRecordset(Errors(), *ui_->flxSerial, *rows, true);
        ui_->flxSerial->AutoSizeColumns();
    });
    searching_ = false;
    EnableControls();
    const int found = ui_->flxSerial->Rows() - 1;
    SetStatus(found < 2 ? QString("Ready") : "Found Serials " + QString::number(found));
}

void Serial::cmdFind_Click() {
    SearchStockSerial();
}

void Serial::cmdNewSearch_Click() {
    for (ui::AnyCombo* combo : findChildren<ui::AnyCombo*>()) {
        combo->SelectAny();
    }
    for (QLineEdit* edit : ui_->fraFindSerial->findChildren<QLineEdit*>()) {
        edit->clear();
    }
    ui_->optEither->setChecked(true);
    ui_->flxSerial->Clear();
}

// Optional prices in the grid ------------------------------------------------------

void Serial::flxSerial_BeforeEdit(int row, int col, bool& cancel) {
    cancel = row < 1 || (col != kOrigCostCol && col != kRetailPriceCol && col != kDepreciatedCol);
}

void Serial::flxSerial_ValidateEdit(int /*row*/, int /*col*/, const QString& text, bool& cancel) {
    if (const Verdict refusal = CheckOptionalPrice(S(text.trimmed()))) {
        MsgBox(refusal->message, refusal->style, refusal->title);
        cancel = true;
    }
}

void Serial::flxSerial_AfterEdit(int row, int /*col*/) {
    const FlexGrid& grid = *ui_->flxSerial;
    trap_.Run(Errors(), "flxSerial_AfterEdit", Db(), [&] {
        auto cmd =
            NewProcedure(*Db(), "VYM_SP_SERIAL_OPTIONALPRICE_update",
                         {{"@item_no", grid.TextMatrix(row, kItemNoCol).toInt()},
                          {"@serial_id", S(grid.TextMatrix(row, kSerialIdCol))},
                          {"@depreciated_value", Amount(grid.TextMatrix(row, kDepreciatedCol))},
                          {"@original_cost", Amount(grid.TextMatrix(row, kOrigCostCol))},
                          {"@retail_price", Amount(grid.TextMatrix(row, kRetailPriceCol))}});
        if (!Db()->Execute(*cmd)) {
            return;
        }
    });
}

// Rows and their commands ------------------------------------------------------------

int Serial::SelectedRow() const {
    const FlexGrid& grid = *ui_->flxSerial;
    const QList<int> rows = grid.SelectedRows();
    if (rows.isEmpty()) {
        return 0;
    }
    return rows.contains(grid.Row()) ? grid.Row() : rows.front();
}

std::int32_t Serial::ItemNo() const {
    const int row = SelectedRow();
    return row > 0 ? ui_->flxSerial->TextMatrix(row, kItemNoCol).toInt() : 0;
}

QString Serial::StockNo() const {
    const int row = SelectedRow();
    return row > 0 ? ui_->flxSerial->TextMatrix(row, kSerialIdCol) : QString();
}

std::vector<std::pair<std::int32_t, QString>> Serial::MultiSelect() const {
    std::vector<std::pair<std::int32_t, QString>> units;
    for (const int row : ui_->flxSerial->SelectedRows()) {
        units.emplace_back(ui_->flxSerial->TextMatrix(row, kItemNoCol).toInt(),
                           ui_->flxSerial->TextMatrix(row, kSerialIdCol));
    }
    return units;
}

void Serial::SetOkVisible(bool visible) {
    ui_->cmdOk->setVisible(visible);
}

void Serial::SetCancelVisible(bool visible) {
    ui_->cmdCancel->setVisible(visible);
}

void Serial::SetEnabled(bool enabled) {
    enabled_ = enabled;
    EnableControls();
}

void Serial::EditUnit(int row, bool like) {
    if (!itemMaint_ || (row == 0 && like)) {
        return;
    }
    const FlexGrid& grid = *ui_->flxSerial;
    const std::int32_t itemNo = row > 0 ? grid.TextMatrix(row, kItemNoCol).toInt() : 0;
    const QString serialId = row > 0 ? grid.TextMatrix(row, kSerialIdCol) : QString();
    if (like && (itemNo == 0 || serialId.isEmpty())) {
        return;
    }
    frmSerialProperties editor(this);
    const bool ready = like ? editor.SetupLike(itemMaint_, itemNo, serialId)
                            : editor.Setup(itemMaint_, row > 0 ? itemNo : 0, serialId);
    if (!ready) {
        return;
    }
    ui::RunModal(editor);
    if (editor.Saved()) {
        ShowUnitRow(editor.Unit(), row > 0 && !like ? row : 0);
    }
}

// The saved unit's row, replaced in place or added at the end.
void Serial::ShowUnitRow(const CStockSerial& unit, int row) {
    const QStringList cells = {QString::number(unit.ItemNo),
                               Q(unit.StockTypeId),
                               Q(unit.SerialId),
                               Q(unit.ItemDesc),
                               Q(unit.LocationId),
                               Q(unit.ModelDesc),
                               Q(unit.StatusId),
                               Q(unit.VendorName),
                               Q(unit.SerialTypeDesc),
                               AmountText(unit.OriginalCost),
                               AmountText(unit.RetailPrice),
                               AmountText(unit.DepreciatedValue),
                               Q(unit.MfgSerial),
                               Q(unit.RentalItemDesc),
                               Q(unit.CurrentLocationId)};
    FlexGrid& grid = *ui_->flxSerial;
    if (row == 0) {
        grid.AddRow(cells);
        return;
    }
    for (int col = 0; col < cells.size(); ++col) {
        grid.SetTextMatrix(row, col, cells[col]);
    }
}

void Serial::mnuDelete_Click() {
    const int row = SelectedRow();
    if (row == 0 || !allowDelete_ ||
        MsgBox("Are you sure you want to delete this serial number?", kQuestionYesNoDefaultNo,
               "Confirm Serial Delete") != MsgResult::Yes) {
        return;
    }
    FlexGrid& grid = *ui_->flxSerial;
    trap_.Run(Errors(), "mnuDelete_Click", Db(), [&] {
        auto cmd = NewProcedure(*Db(), "VYM_SP_SERIAL_DeleteSerial",
                                {{"@serial_id", S(grid.TextMatrix(row, kSerialIdCol))},
                                 {"@vym_user", Db()->CurrentUserId()},
                                 {"@item_no", grid.TextMatrix(row, kItemNoCol).toInt()}});
        if (!Db()->Execute(*cmd)) {
            return;
        }
        if (NullToZero(cmd->Parameters["@RETURN_VALUE"].Value).ToLong() >= 0) {
            grid.RemoveItem(row);
        } else {
            MsgBox(NullToEmpty(cmd->Parameters["@message"].Value), kInformation,
                   "Delete Serial Failed");
        }
    });
}

void Serial::mnuContractHistory_Click() {
    const QString serialId = StockNo();
    if (serialId.isEmpty()) {
        return;
    }
    QString header;
    QStringList lines;
    const bool read = trap_.Run(Errors(), "mnuContractHistory_Click", Db(), [&] {
        auto cmd = NewProcedure(*Db(), "VYM_SP_SERIAL_GetSerialContractHistory",
                                {{"@serial_id", S(serialId)}});
        auto rows = Db()->ExecuteRecordset(*cmd);
        for (; !rows->Eof(); rows->MoveNext()) {
            lines << FieldText(*rows, "grid_line");
        }
        rows->Close();
        header = Q(NullToEmpty(cmd->Parameters["@column_header"].Value));
    });
    if (!read) {
        return;
    }
    frmViewHistory history(this);
    history.setWindowTitle(serialId + "'s Rental History");
    history.Setup(header, lines);
    ui::RunModal(history);
}

void Serial::mnuCreateFromTransfer_Click() {
    frmBatchFormat batch(this);
    batch.Setup(Db(), Errors());
    if (ui::RunModal(batch) != QDialog::Accepted) {
        return;
    }
    trap_.Run(Errors(), "mnuCreateFromTransfer_Click", Db(), [&] {
        auto cmd = NewProcedure(
            *Db(), "VYM_SP_INV_BATCH_GenerateSerialNumbers",
            {{"@batch_no", batch.BatchNo()}, {"@print_format_no", batch.PrintFormatNo()}});
        if (!Db()->Execute(*cmd)) {
            return;
        }
        const vym::Value result = cmd->Parameters["@RETURN_VALUE"].Value;
        if (result.IsNull() || result.ToLong() < 0) {
            MsgBox(NullToEmpty(cmd->Parameters["@message"].Value), kInformation,
                   "Error Generating Serials From Transfer");
            return;
        }
        MsgBox("You sucessfully generated " +
                   NullToEmpty(cmd->Parameters["@GeneratedSerialNumbers"].Value) +
                   " serial numbers.",
               kInformation, "Serials Generated");
    });
}

void Serial::mnuPrintLabels_Click() {
    if (!itemMaint_) {
        return;
    }
    trap_.Run(Errors(), "PrintStockLabels", Db(), [&] {
        std::vector<StockLabelEntry> labels;
        for (const auto& [itemNo, serialId] : MultiSelect()) {
            labels.push_back({itemNo, serialId});
        }
        if (!labels.empty()) {
            itemMaint_->PrintStockLabels(labels, true);
        }
    });
}

}  // namespace vym
