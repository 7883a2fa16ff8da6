#include "editors/frm_stock.h"

#include <QFocusEvent>
#include <QIntValidator>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <initializer_list>
#include <limits>
#include <map>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "base/format.h"
#include "base/prompter.h"
#include "base/value.h"
#include "editors/editor_rules.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/sql_quote.h"
#include "gateway/transaction.h"
#include "host/screen_context.h"
#include "model/citem.h"
#include "model/citem_rent.h"
#include "model/citem_stock.h"
#include "model/xml_document.h"
#include "ui/data_combo.h"
#include "ui/flex_grid.h"
#include "ui/key_tab_bar.h"
#include "ui/qt_text.h"
#include "ui/show_refusal.h"
#include "ui_frm_stock.h"

namespace vym {

using ui::DataCombo;
using ui::FlexGrid;
using ui::Q;

namespace {

using Rows = std::vector<QStringList>;

constexpr const char* kNew = "-1";  // the new-row column of a row added in this window
constexpr const char* kLoaded = "0";

Rows ReadRows(Recordset& rs, std::initializer_list<std::string_view> names) {
    Rows rows;
    for (; rs.IsOpen() && !rs.Eof(); rs.MoveNext()) {
        QStringList row;
        for (std::string_view name : names) {
            row << ui::FieldText(rs, name);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

Rows QueryRows(Connection& db, const std::string& sql,
               std::initializer_list<std::string_view> names) {
    auto rs = db.OpenRecordset(sql);
    return ReadRows(*rs, names);
}

Rows ProcedureRows(Connection& db, const char* procedure, ProcedureArguments arguments,
                   std::initializer_list<std::string_view> names) {
    auto command = NewProcedure(db, procedure, arguments);
    auto rs = db.ExecuteRecordset(*command);
    return ReadRows(*rs, names);
}

void FillCombo(DataCombo& combo, const Rows& rows, const QStringList& first = {}) {
    combo.ClearRows();
    if (!first.isEmpty()) {
        combo.AddRow(first);
    }
    for (const QStringList& row : rows) {
        combo.AddRow(row);
    }
    combo.setCurrentIndex(-1);  // a filled list chooses its first row by itself
}

// Chooses the key; one the list no longer offers (an inactive model, a size
// outside its size type) is added, so that opening and saving never drops it.
void ChooseKeeping(DataCombo& combo, const QString& key, const QStringList& row) {
    if (!combo.SetKey(key) && !key.isEmpty()) {
        combo.AddRow(row);
        combo.SetKey(key);
    }
}

// A choice grid: "<NONE>" first, each row keyed by its id as row data. The
// row of `chosen` becomes current; False when the list does not have it.
bool FillChoiceGrid(FlexGrid& grid, const Rows& rows, const QString& chosen) {
    grid.Clear();
    grid.AddItem("<NONE>\t");
    grid.SetRowData(1, QString());
    for (const QStringList& row : rows) {
        grid.AddItem(row.value(0) + '\t' + row.value(1));
        grid.SetRowData(grid.Rows() - 1, row.value(0));
    }
    int current = 0;
    for (int row = 1; row < grid.Rows() && current == 0; ++row) {
        if (grid.RowData(row).toString() == chosen) {
            current = row;
        }
    }
    grid.SetCurrentCell(current == 0 ? 1 : current, 0);
    grid.AutoSizeColumns();
    return current != 0;
}

// The visible row whose column holds the text; 0 for none.
int VisibleRow(const FlexGrid& grid, int col, const QString& text) {
    for (int row = 1; row < grid.Rows(); ++row) {
        if (!grid.IsRowHidden(row) && grid.TextMatrix(row, col) == text) {
            return row;
        }
    }
    return 0;
}

// A loaded row the user removed in this window; 0 for none.
int RemovedRow(const FlexGrid& grid, int col, const QString& text) {
    for (int row = 1; row < grid.Rows(); ++row) {
        if (grid.IsRowHidden(row) && grid.TextMatrix(row, 0) == kLoaded &&
            grid.TextMatrix(row, col) == text) {
            return row;
        }
    }
    return 0;
}

// What a price field's text is worth while it is being typed: a number, or
// the start of one ("", "-", ".", "$", "1,") as the digits so far; nullopt
// for text that can never become a number.
std::optional<double> TypedNumber(QString text) {
    if (const auto number = ParseNumber(text.toStdString())) {
        return number;
    }
    if (!IsNumeric((text + '0').toStdString())) {
        return std::nullopt;
    }
    // A thousands separator waits for the digits after it.
    while (text.endsWith(',')) {
        text.chop(1);
    }
    return ParseNumber(text.toStdString()).value_or(0.0);
}

// Sets a flag for as long as it lives and then restores it.
class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
    bool old_;
};

}  // namespace

frmStock::frmStock(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::frmStock>()) {
    ui_->setupUi(this);
    SetUpTabs();
    SetUpFields();
    ConnectEvents();
}

void frmStock::SetUpTabs() {
    ui::KeyTabBar& tabs = *ui_->tabStock;
    tabs.AddTab("DESC", "&Description");
    tabs.AddTab("PRICE", "&Price && Print");
    tabs.AddTab("MAP", "&Map");
    tabs.AddTab("DEPT", "D&epartment");
    const std::map<QString, QWidget*> pages = {{"DESC", ui_->pgDesc},
                                               {"PRICE", ui_->pgPrice},
                                               {"MAP", ui_->pgMap},
                                               {"DEPT", ui_->pgDept},
                                               {"RENTAL", ui_->pgRental}};
    connect(&tabs, &ui::KeyTabBar::CurrentKeyChanged, this, [this, pages](const QString& key) {
        if (const auto page = pages.find(key); page != pages.end()) {
            ui_->stkTabs->setCurrentWidget(page->second);
        }
    });
    ui_->stkTabs->setCurrentWidget(ui_->pgDesc);
}

void frmStock::SetUpFields() {
    ui_->cmbStatus->addItem("Active", "ACTIVE");
    ui_->cmbStatus->addItem("InActive", "INACTIVE");
    const std::pair<DataCombo*, QStringList> combos[] = {
        {ui_->cmbStockType, {"Type", "Description", "Rental Type"}},
        {ui_->cmbSizeType, {"Size Type", "Description"}},
        {ui_->cmbSize, {"Size"}},
        {ui_->cmbModel, {"Model", "Description"}},
        {ui_->cmbSerialType, {"Serial Type", "Description"}},
        {ui_->cmbBindingType, {"Binding Type", "Description"}},
        {ui_->cmbPrintFormat, {"Format", "Description"}},
        {ui_->cmbSaleProfile, {"Profile", "Description"}},
        {ui_->cmbReturnProfile, {"Profile", "Description"}},
        {ui_->cmbDepartment, {"Department", "Description"}},
    };
    for (const auto& [combo, headings] : combos) {
        combo->SetColumns(headings);
        combo->SetBoundColumn(0);
        combo->SetListColumn(headings.size() > 1 ? 1 : 0);
    }
    ui_->cmbStockType->SetListColumnHidden(2, true);
    ui_->txtGroup->setValidator(
        new QIntValidator(0, std::numeric_limits<std::int32_t>::max(), ui_->txtGroup));
    for (QLineEdit* box : {ui_->txtMinQty, ui_->txtBootLength}) {
        box->setValidator(new QIntValidator(0, std::numeric_limits<std::int16_t>::max(), box));
    }

    ui_->fgRptDept->SetFormatString("<Reporting Department|<Description");
    ui_->fgSubRptDept->SetFormatString("<Reporting Sub Department|<Description");
    ui_->fgMaps->SetFormatString("New|<Map Id");
    ui_->fgMaps->SetColumnHidden(0, true);
    ui_->fgRental->SetFormatString("New|<Item#|<Rental Item");
    ui_->fgRental->SetColumnHidden(0, true);
}

void frmStock::ConnectEvents() {
    // Lists being filled change their choice too: only the user's choice acts.
    const auto chosen = [this](void (frmStock::*handler)()) {
        return [this, handler] {
            if (!loading_) {
                (this->*handler)();
            }
        };
    };
    connect(ui_->cmbStockType, &DataCombo::KeyChanged, this,
            chosen(&frmStock::cmbStockType_Change));
    connect(ui_->cmbSizeType, &DataCombo::KeyChanged, this, chosen(&frmStock::cmbSizeType_Change));
    connect(ui_->cmbModel, &DataCombo::KeyChanged, this, chosen(&frmStock::cmbModel_Change));
    connect(ui_->cmbDepartment, &DataCombo::KeyChanged, this,
            chosen(&frmStock::cmbDepartment_Change));
    connect(ui_->fgRptDept, &FlexGrid::RowColChange, this, [this](int row, int) {
        if (!loading_) {
            fgRptDept_RowColChange(row);
        }
    });
    connect(ui_->fgSubRptDept, &FlexGrid::RowColChange, this, [this](int row, int) {
        if (!loading_ && item_ != nullptr) {
            ReportSubDepartmentId() = ui_->fgSubRptDept->RowData(row).toString().toStdString();
        }
    });
    connect(ui_->chkIsAPackage, &QCheckBox::toggled, this, chosen(&frmStock::ShowRentalTab));

    // textEdited, not textChanged: the fields rewrite each other, and only
    // what the user types may start that.
    connect(ui_->txtUnitPrice, &QLineEdit::textEdited, this, &frmStock::txtUnitPrice_Change);
    connect(ui_->txtMargin, &QLineEdit::textEdited, this, &frmStock::txtMargin_Change);
    for (QLineEdit* box : {ui_->txtUnitPrice, ui_->txtMargin, ui_->txtMinPrice, ui_->txtMapId}) {
        box->installEventFilter(this);
    }

    connect(ui_->cmdVendor, &QToolButton::clicked, this, &frmStock::SelectVendor);
    connect(ui_->cmdLocationPricing, &QPushButton::clicked, this, &frmStock::LocationPricing);
    connect(ui_->cmdAddMap, &QPushButton::clicked, this, &frmStock::AddMap);
    connect(ui_->cmdDeleteMap, &QPushButton::clicked, this, &frmStock::DeleteMap);
    connect(ui_->fgMaps, &FlexGrid::DeleteKeyPressed, this, &frmStock::DeleteMap);
    connect(ui_->cmdAddRental, &QPushButton::clicked, this, &frmStock::AddRentalItem);
    connect(ui_->cmdRemoveRental, &QPushButton::clicked, this, &frmStock::RemoveRentalItem);
    connect(ui_->fgRental, &FlexGrid::DeleteKeyPressed, this, &frmStock::RemoveRentalItem);
    connect(ui_->cmdApply, &QPushButton::clicked, this, &frmStock::SaveData);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmStock::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmStock::~frmStock() = default;

double& frmStock::UnitPrice() {
    return IsStock() ? stock_->UnitPrice : rent_->UnitPrice;
}

double& frmStock::MinPrice() {
    return IsStock() ? stock_->MinPrice : rent_->MinPrice;
}

std::string& frmStock::ReportDepartmentId() {
    return IsStock() ? stock_->ReportDepartmentId : rent_->ReportDepartmentId;
}

std::string& frmStock::ReportSubDepartmentId() {
    return IsStock() ? stock_->ReportSubDepartmentId : rent_->ReportSubDepartmentId;
}

void frmStock::Setup(ScreenContext* itemMaint, CItem& item) {
    maint_ = itemMaint;
    item_ = &item;
    stock_ = item.StockItem();
    rent_ = item.RentItem();
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    if (stock_ == nullptr && rent_ == nullptr) {
        item_ = nullptr;
        return;
    }
    SetTitle();
    ShowFieldsOfType();
    if (db_ == nullptr) {
        return;
    }
    FlagScope loading(loading_);
    trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        FillLists();
        LoadFields();
        LoadMapIds();
        LoadRentalItems();
    });
}

void frmStock::SetTitle() {
    const QString number = item_->ItemNo == 0 ? QString("NEW") : QString::number(item_->ItemNo);
    setWindowTitle(QString(IsStock() ? "Stock" : "Rental") + " Item Properties (" + number + ")");
    ui_->txtItemNo->setText(number);
    // Location prices of a saved item are kept by the stock pricing window;
    // a new one only needs telling to apply first.
    ui_->cmdLocationPricing->setEnabled(item_->ItemNo == 0);
}

void frmStock::ShowFieldsOfType() {
    const bool stock = IsStock();
    ui_->chkIsAPackage->setVisible(!stock);
    for (QWidget* field :
         {static_cast<QWidget*>(ui_->fraStock), static_cast<QWidget*>(ui_->fraCost),
          static_cast<QWidget*>(ui_->lblUPC), static_cast<QWidget*>(ui_->txtUPC),
          static_cast<QWidget*>(ui_->lblMargin), static_cast<QWidget*>(ui_->txtMargin),
          static_cast<QWidget*>(ui_->lblPrintFormat), static_cast<QWidget*>(ui_->cmbPrintFormat)}) {
        field->setVisible(stock);
    }
    ui_->fraRentalProps->setVisible(false);
}

void frmStock::FillLists() {
    Connection& db = *db_;
    FillCombo(*ui_->cmbStockType,
              QueryRows(db, "SELECT * FROM vym_item_stock_type ORDER BY Description",
                        {"stock_type_id", "Description", "rental_type"}));
    FillCombo(*ui_->cmbSizeType,
              QueryRows(db, "SELECT * FROM vym_item_stock_size_type ORDER BY description",
                        {"stock_size_type_id", "Description"}));
    FillCombo(*ui_->cmbSerialType,
              QueryRows(db, "SELECT * FROM vym_item_stock_serial_type",
                        {"serial_type_id", "Description"}),
              {"", "<NONE>"});
    FillCombo(*ui_->cmbBindingType,
              QueryRows(db, "SELECT * FROM vym_item_stock_binding_type ORDER By display_order",
                        {"binding_type_id", "Description"}),
              {"", "<NONE>"});
    const Rows profiles = QueryRows(db, "SELECT * FROM vym_profile", {"profile_id", "Description"});
    FillCombo(*ui_->cmbSaleProfile, profiles, {"NONE", "<NONE>"});
    FillCombo(*ui_->cmbReturnProfile, profiles, {"NONE", "<NONE>"});
    LoadPrintFormats();
}

void frmStock::LoadPrintFormats() {
    FillCombo(*ui_->cmbPrintFormat,
              QueryRows(*db_,
                        "SELECT * FROM vym_print_format WHERE print_format_type = 'STOCK' "
                        "ORDER BY Description",
                        {"format_no", "Description"}));
}

void frmStock::LoadFields() {
    CItem& item = *item_;
    ui_->cmbStatus->setCurrentIndex(std::max(0, ui_->cmbStatus->findData(Q(item.StatusId))));
    ui_->txtShortDesc->setText(Q(item.ShortDescription));
    ui_->txtLongDesc->setText(Q(item.LongDescription));
    ui_->chkTaxable->setChecked(item.Taxable);
    ui_->cmbSaleProfile->SetKey(item.SaleProfileId.empty() ? "NONE" : Q(item.SaleProfileId));
    ui_->cmbReturnProfile->SetKey(item.ReturnProfileId.empty() ? "NONE" : Q(item.ReturnProfileId));
    ui_->txtUnitPrice->setText(Q(Format(UnitPrice(), "$0.0000")));
    ui_->txtMinPrice->setText(Q(Format(MinPrice(), "0.0000")));
    if (IsStock()) {
        CItemStock& stock = *stock_;
        ui_->cmbStockType->SetKey(Q(stock.StockTypeId));
        LoadModels();
        ChooseKeeping(*ui_->cmbModel, Q(stock.Model), {Q(stock.Model), Q(stock.StockModelDesc)});
        ui_->cmbSizeType->SetKey(Q(stock.StockSizeTypeId));
        LoadSizes();
        ChooseKeeping(*ui_->cmbSize, Q(stock.StockSize), {Q(stock.StockSize)});
        ui_->txtAttribute->setText(Q(stock.StockAttribute));
        ui_->txtStyle->setText(Q(stock.Style));
        ui_->txtManufacturer->setText(Q(stock.Manufacturer));
        ui_->txtGroup->setText(stock.GroupNo == 0 ? QString() : QString::number(stock.GroupNo));
        ui_->txtMinQty->setText(QString::number(stock.MinQty));
        ui_->lblVendorName->setText(Q(stock.VendorName));
        ui_->chkSerialized->setChecked(stock.Serialized);
        ui_->cmbSerialType->SetKey(Q(stock.SerialTypeId));
        ui_->chkMaintainInventory->setChecked(item.MaintainInventory);
        ui_->cmbBindingType->SetKey(Q(stock.BindingTypeId));
        ui_->txtBootLength->setText(QString::number(stock.BootLength));
        ui_->txtUPC->setText(Q(stock.UPC));
        ui_->txtMargin->setText(Q(stock.CalculateMargin()));
        ui_->txtAvgCost->setText(Q(Format(stock.CurrentAvgCost, "$0.0000")));
        ui_->txtAvgFreight->setText(Q(Format(stock.CurrentAvgFreight, "$0.0000")));
        ui_->txtAvgDiscount->setText(Q(Format(stock.CurrentAvgDiscount, "$0.0000")));
        ui_->txtAvgTotal->setText(Q(Format(
            stock.CurrentAvgCost + stock.CurrentAvgFreight - stock.CurrentAvgDiscount, "$0.0000")));
        ui_->txtCurrentCost->setText(Q(Format(stock.CurrentCost, "$0.0000")));
        ui_->cmbPrintFormat->SetKey(stock.FormatNo() == 0 ? QString()
                                                          : QString::number(stock.FormatNo()));
        ui_->chkAllowLineDiscount->setChecked(stock.AllowLineDiscount);
        ui_->chkAllowSellerPricing->setChecked(stock.AllowSellerPricing);
        ui_->fraRentalProps->setVisible(StockRentalType() == "RENTAL");
    } else {
        ui_->chkIsAPackage->setChecked(rent_->IsAPackage);
        ui_->chkAllowLineDiscount->setChecked(rent_->AllowLineDiscount);
        ui_->chkAllowSellerPricing->setChecked(rent_->AllowSellerPricing);
    }
    LoadDepartments();
    LoadReportDepartments();
    LoadSubReportDepartments();
    ShowRentalTab();
}

QString frmStock::StockRentalType() const {
    return ui_->cmbStockType->Cell(2).toUpper();
}

bool frmStock::RentalTabApplies() const {
    return IsStock() ? StockRentalType() == "RENTAL" : ui_->chkIsAPackage->isChecked();
}

void frmStock::ShowRentalTab() {
    ui::KeyTabBar& tabs = *ui_->tabStock;
    if (!RentalTabApplies()) {
        tabs.RemoveTabByKey("RENTAL");
    } else if (tabs.TabIndex("RENTAL") < 0) {
        tabs.AddTab("RENTAL", "&Rental");
    }
}

void frmStock::LoadModels() {
    FlagScope loading(loading_);
    const QString stockType = ui_->cmbStockType->Key();
    // Models belong to a stock type: none until one is chosen.
    FillCombo(*ui_->cmbModel, stockType.isEmpty()
                                  ? Rows()
                                  : ProcedureRows(*db_, "VYM_SP_ITEM_GetItemStockModel",
                                                  {{"@stock_type_id", stockType.toStdString()},
                                                   {"@is_active", true}},
                                                  {"model_id", "Description"}));
}

void frmStock::LoadSizes() {
    FlagScope loading(loading_);
    const QString sizeType = ui_->cmbSizeType->Key();
    const QString size = ui_->cmbSize->Key();
    FillCombo(*ui_->cmbSize,
              sizeType.isEmpty()
                  ? Rows()
                  : QueryRows(*db_,
                              "SELECT stock_size from vym_item_stock_size WHERE "
                              "stock_size_type_id = " +
                                  SqlQuote(sizeType.toStdString()) + " ORDER BY display_order",
                              {"stock_size"}));
    ui_->cmbSize->SetKey(size);
}

void frmStock::LoadDepartments() {
    FlagScope loading(loading_);
    FillCombo(
        *ui_->cmbDepartment,
        ProcedureRows(*db_, "VYM_SP_ITEM_GetItemStockDept",
                      {{"@item_type", item_->ItemType()},
                       {"@stock_type_id", IsStock() ? ui::NullIfEmpty(ui_->cmbStockType->Key())
                                                    : vym::Value::Null()}},
                      {"department_id", "Description"}));
    ui_->cmbDepartment->SetKey(Q(item_->DepartmentId));
}

void frmStock::LoadReportDepartments() {
    FlagScope loading(loading_);
    const QString department = ui_->cmbDepartment->Key();
    const Rows rows = department.isEmpty()
                          ? Rows()
                          : ProcedureRows(*db_, "VYM_SP_ITEM_GetItemStockRptDept",
                                          {{"@department_id", department.toStdString()}},
                                          {"report_department_id", "Description"});
    // A reporting department outside the department's would be saved unseen.
    if (!FillChoiceGrid(*ui_->fgRptDept, rows, Q(ReportDepartmentId()))) {
        ReportDepartmentId().clear();
    }
}

void frmStock::LoadSubReportDepartments() {
    FlagScope loading(loading_);
    const std::string& reportDepartment = ReportDepartmentId();
    const Rows rows = reportDepartment.empty()
                          ? Rows()
                          : ProcedureRows(*db_, "VYM_SP_ITEM_GetItemStockSubRptDept",
                                          {{"@report_department_id", reportDepartment}},
                                          {"report_sub_department_id", "Description"});
    if (!FillChoiceGrid(*ui_->fgSubRptDept, rows, Q(ReportSubDepartmentId()))) {
        ReportSubDepartmentId().clear();
    }
}

void frmStock::LoadMapIds() {
    FlexGrid& grid = *ui_->fgMaps;
    grid.Clear();
    if (item_->ItemNo == 0) {
        return;
    }
    for (const QStringList& row : ProcedureRows(*db_, "VYM_SP_ITEM_GetItemStockMaps",
                                                {{"@item_no", item_->ItemNo}}, {"map_id"})) {
        grid.AddItem(QString(kLoaded) + '\t' + row.value(0));
    }
    grid.AutoSizeColumns();
}

void frmStock::LoadRentalItems() {
    FlexGrid& grid = *ui_->fgRental;
    grid.Clear();
    if (item_->ItemNo == 0) {
        return;
    }
    const Rows rows =
        IsStock()
            ? ProcedureRows(*db_, "VYM_SP_ITEM_GetStockRentalItem", {{"@item_no", item_->ItemNo}},
                            {"rental_item_no", "long_description"})
            : ProcedureRows(*db_, "VYM_SP_ITEM_GetRentalDetail", {{"@item_no", item_->ItemNo}},
                            {"detail_item_no", "long_description"});
    for (const QStringList& row : rows) {
        grid.AddItem(QString(kLoaded) + '\t' + row.value(0) + '\t' + row.value(1));
    }
    grid.AutoSizeColumns();
}

bool frmStock::eventFilter(QObject* watched, QEvent* event) {
    if (item_ == nullptr) {
        return QDialog::eventFilter(watched, event);
    }
    if (watched == ui_->txtMapId && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            AddMap();
            return true;  // not the dialog's default button
        }
    }
    const bool price = watched == ui_->txtUnitPrice || watched == ui_->txtMargin;
    if (price && event->type() == QEvent::FocusIn) {
        auto* box = static_cast<QLineEdit*>(watched);
        QTimer::singleShot(0, box, &QLineEdit::selectAll);
    }
    if (event->type() == QEvent::FocusOut) {
        // A message box or menu taking the focus does not leave the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == ui_->txtUnitPrice) {
                ui_->txtUnitPrice->setText(Q(Format(UnitPrice(), "$0.0000")));
            } else if (watched == ui_->txtMargin && IsStock()) {
                ui_->txtMargin->setText(Q(Format(stock_->Margin, "Percent")));
            } else if (watched == ui_->txtMinPrice) {
                txtMinPrice_LostFocus();
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmStock::txtUnitPrice_Change() {
    if (item_ == nullptr) {
        return;
    }
    // A number being typed stays as typed; leaving the field shows its value.
    std::optional<double> price = TypedNumber(ui_->txtUnitPrice->text());
    if (!price) {
        ui_->txtUnitPrice->setText("0");
        price = 0.0;
    }
    UnitPrice() = *price;
    if (IsStock()) {
        ui_->txtMargin->setText(Q(stock_->CalculateMargin()));
    }
}

void frmStock::txtMargin_Change() {
    if (!IsStock()) {
        return;
    }
    QString text = ui_->txtMargin->text().trimmed();
    // The field shows its value as "35.00%": a typed percent sign is allowed.
    if (text.endsWith('%')) {
        text.chop(1);
    }
    std::optional<double> margin = TypedNumber(text);
    if (!margin) {
        ui_->txtMargin->setText("0");
        margin = 0.0;
    }
    stock_->Margin = *margin / 100.0;
    ui_->txtUnitPrice->setText(Q(stock_->CalculateUnitPrice()));
}

void frmStock::txtMinPrice_LostFocus() {
    const std::string text = ui_->txtMinPrice->text().toStdString();
    if (IsNumeric(text)) {
        MinPrice() = ParseNumber(text).value_or(0.0);
    }
    // Text that is no amount would show a price that is not the one saved.
    ui_->txtMinPrice->setText(Q(Format(MinPrice(), "0.0000")));
    if (IsNumeric(text) && IsStock() && stock_->MinPrice < stock_->CurrentCost) {
        MsgBox("Minimum Price is less than the current Cost.", kExclamation,
               "Minimum Price Warning");
    }
}

void frmStock::cmbStockType_Change() {
    trap_.Run(errors_, "cmbStockType_Change", &db_->Native(), [&] {
        stock_->StockTypeId = ui_->cmbStockType->Key().toStdString();
        stock_->RentalType = StockRentalType().toStdString();
        LoadModels();
        stock_->Model.clear();
        LoadDepartments();
        if (ui_->cmbDepartment->Key() != Q(item_->DepartmentId)) {
            cmbDepartment_Change();
        }
        ui_->fraRentalProps->setVisible(StockRentalType() == "RENTAL");
        ShowRentalTab();
    });
}

void frmStock::cmbSizeType_Change() {
    trap_.Run(errors_, "cmbSizeType_Change", &db_->Native(), [&] { LoadSizes(); });
}

void frmStock::cmbModel_Change() {
    stock_->Model = ui_->cmbModel->Key().toStdString();
    item_->ShortDescription = ui_->txtShortDesc->text().toStdString();
    stock_->StockAttribute = ui_->txtAttribute->text().toStdString();
    stock_->StockSize = ui_->cmbSize->Key().toStdString();
    ui_->txtLongDesc->setText(Q(stock_->MakeLongDescription()));
}

void frmStock::cmbDepartment_Change() {
    trap_.Run(errors_, "cmbDepartment_Change", &db_->Native(), [&] {
        item_->DepartmentId = ui_->cmbDepartment->Key().toStdString();
        LoadReportDepartments();
        ReportSubDepartmentId().clear();
        LoadSubReportDepartments();
    });
}

void frmStock::fgRptDept_RowColChange(int row) {
    if (item_ == nullptr) {
        return;
    }
    const std::string chosen = ui_->fgRptDept->RowData(row).toString().toStdString();
    if (chosen == ReportDepartmentId()) {
        return;
    }
    ReportDepartmentId() = chosen;
    ReportSubDepartmentId().clear();
    trap_.Run(errors_, "fgRptDept_RowColChange", &db_->Native(),
              [&] { LoadSubReportDepartments(); });
}

void frmStock::SelectVendor() {
    if (!IsStock() || maint_ == nullptr) {
        return;
    }
    QString name;
    const QString vendor = maint_->SelectVendor(this, Q(stock_->VendorId), &name);
    if (vendor.isEmpty()) {
        return;
    }
    stock_->VendorId = vendor.toStdString();
    stock_->VendorName = name.toStdString();
    ui_->lblVendorName->setText(name);
}

void frmStock::LocationPricing() {
    if (item_ != nullptr && item_->ItemNo == 0) {
        MsgBox("Please apply changes to save item setting location pricing.", kInformation,
               "Cancel Location Pricing");
    }
}

void frmStock::AddMap() {
    if (item_ == nullptr) {
        return;
    }
    if (item_->ItemNo == 0) {
        MsgBox(
            "Item must have an item number before providing map ids.  Please apply before "
            "supplying map ids.",
            kInformation, "Map Add Cancelled");
        return;
    }
    FlexGrid& grid = *ui_->fgMaps;
    const auto alreadyListed = [&grid](const QString& id) {
        if (VisibleRow(grid, 1, id) == 0) {
            return false;
        }
        MsgBox("Map is already in the list", kInformation, "Invalid Map");
        return true;
    };
    QString id = ui_->txtMapId->text().trimmed().toUpper();
    if (alreadyListed(id)) {
        return;
    }
    // A map removed in this window is still the item's: taking it back
    // undoes the removal.
    if (const int removed = RemovedRow(grid, 1, id); removed != 0) {
        grid.SetRowHidden(removed, false);
        ui_->txtMapId->clear();
        return;
    }
    std::string cleaned = id.toStdString();
    const bool valid = item_->ValidateMapId(db_, errors_, cleaned);
    ui_->txtMapId->setText(Q(cleaned));
    if (!valid || alreadyListed(Q(cleaned))) {
        return;
    }
    grid.AddItem(QString(kNew) + '\t' + Q(cleaned));
    grid.AutoSizeColumns();
    mapsChanged_ = true;
    ui_->txtMapId->clear();
}

void frmStock::DeleteMap() {
    FlexGrid& grid = *ui_->fgMaps;
    const int row = grid.Row();
    if (item_ == nullptr || row < 1 || grid.IsRowHidden(row)) {
        return;
    }
    const QString id = grid.TextMatrix(row, 1);
    if (id == QString::number(item_->ItemNo)) {
        MsgBox("Sorry you can not delete the item number from the map list.", kInformation,
               "Map Delete Cancelled");
        return;
    }
    if (MsgBox("Are you sure you want to delete the item map: " + id.toStdString() + "?",
               kQuestionYesNoDefaultNo, "Confirm Item Map Delete") != MsgResult::Yes) {
        return;
    }
    grid.SetRowHidden(row, true);
    mapsChanged_ = true;
}

void frmStock::AddRentalItem() {
    if (item_ == nullptr || maint_ == nullptr) {
        return;
    }
    std::int32_t itemNo = 0;
    QString description;
    if (!maint_->SelectItem(ttoRental, false, &itemNo, &description, nullptr, {}, false, {}, {}, {},
                            false, false)) {
        return;
    }
    FlexGrid& grid = *ui_->fgRental;
    const QString number = QString::number(itemNo);
    if (const int listed = VisibleRow(grid, 1, number); listed != 0) {
        grid.SetCurrentCell(listed, 1);
        MsgBox("Item is already in the rental item list", kInformation, "Invalid Rental Item");
    } else if (const int removed = RemovedRow(grid, 1, number); removed != 0) {
        grid.SetRowHidden(removed, false);
    } else {
        grid.AddItem(QString(kNew) + '\t' + number + '\t' + description);
        grid.AutoSizeColumns();
    }
}

void frmStock::RemoveRentalItem() {
    FlexGrid& grid = *ui_->fgRental;
    const int row = grid.Row();
    if (row < 1 || grid.IsRowHidden(row)) {
        return;
    }
    if (MsgBox("Are you sure you want to remove the rental item " +
                   grid.TextMatrix(row, 2).toStdString() + "?",
               kQuestionYesNoDefaultNo, "Confirm Rental Item Remove") == MsgResult::Yes) {
        grid.SetRowHidden(row, true);
    }
}

StockEntry frmStock::Entry() {
    StockEntry entry;
    entry.stock = IsStock();
    entry.departmentId = ui_->cmbDepartment->Key().toStdString();
    entry.reportDepartmentId = ReportDepartmentId();
    entry.reportDepartmentRequired =
        entry.reportDepartmentId.empty() && maint_->RequireReportingDepartment();
    if (entry.stock) {
        entry.stockType = ui_->cmbStockType->Key().toStdString();
        entry.rentalType = StockRentalType().toStdString();
        entry.vendorId = stock_->VendorId;
        entry.serialized = ui_->chkSerialized->isChecked();
        entry.serialTypeId = ui_->cmbSerialType->Key().toStdString();
        entry.modelId = ui_->cmbModel->Key().toStdString();
    }
    return entry;
}

void frmStock::CopyFields() {
    CItem& item = *item_;
    const std::string status = ui_->cmbStatus->currentData().toString().toStdString();
    const auto profile = [](const DataCombo& combo) {
        return combo.Key() == "NONE" ? std::string() : combo.Key().toStdString();
    };
    item.SaleProfileId = profile(*ui_->cmbSaleProfile);
    item.ReturnProfileId = profile(*ui_->cmbReturnProfile);
    item.ShortDescription = ui_->txtShortDesc->text().toStdString();
    item.LongDescription = ui_->txtLongDesc->text().toStdString();
    item.DepartmentId = ui_->cmbDepartment->Key().toStdString();
    item.Taxable = ui_->chkTaxable->isChecked();
    if (!IsStock()) {
        rent_->SetStatusId(status);
        rent_->IsAPackage = ui_->chkIsAPackage->isChecked();
        rent_->AllowLineDiscount = ui_->chkAllowLineDiscount->isChecked();
        rent_->AllowSellerPricing = ui_->chkAllowSellerPricing->isChecked();
        return;
    }
    CItemStock& stock = *stock_;
    stock.SetStatusId(status);
    item.MaintainInventory = ui_->chkMaintainInventory->isChecked();
    stock.StockTypeId = ui_->cmbStockType->Key().toStdString();
    stock.StockTypeDesc = ui_->cmbStockType->Cell(1).toStdString();
    stock.RentalType = StockRentalType().toStdString();
    stock.StockSizeTypeId = ui_->cmbSizeType->Key().toStdString();
    stock.StockSize = ui_->cmbSize->Key().toStdString();
    stock.StockAttribute = ui_->txtAttribute->text().toStdString();
    stock.Style = ui_->txtStyle->text().toStdString();
    stock.Manufacturer = ui_->txtManufacturer->text().toStdString();
    stock.Model = ui_->cmbModel->Key().toStdString();
    stock.StockModelDesc = ui_->cmbModel->Cell(1).toStdString();
    stock.GroupNo = ui_->txtGroup->text().toInt();
    stock.MinQty = static_cast<std::int16_t>(ui_->txtMinQty->text().toInt());
    stock.Serialized = ui_->chkSerialized->isChecked();
    stock.SerialTypeId = ui_->cmbSerialType->Key().toStdString();
    stock.UPC = ui_->txtUPC->text().trimmed().toStdString();
    stock.SetFormatNo(ui_->cmbPrintFormat->Key().toInt());
    stock.AllowLineDiscount = ui_->chkAllowLineDiscount->isChecked();
    stock.AllowSellerPricing = ui_->chkAllowSellerPricing->isChecked();
    if (StockRentalType() == "RENTAL") {
        stock.BindingTypeId = ui_->cmbBindingType->Key().toStdString();
        stock.BootLength = static_cast<std::int16_t>(ui_->txtBootLength->text().toInt());
    }
}

std::string frmStock::ChangedRows(const FlexGrid& grid, const char* element,
                                  const std::string& itemNo, const char* key) const {
    const std::string user = db_->CurrentUserId();
    std::string rows;
    for (int row = 1; row < grid.Rows(); ++row) {
        const bool added = grid.TextMatrix(row, 0) == kNew;
        // Loaded and kept, or added and removed again: nothing to save.
        if (grid.IsRowHidden(row) == added) {
            continue;
        }
        rows += XmlRow(element,
                       {{"item_no", itemNo},
                        {key, ui::S(grid.TextMatrix(row, 1))},
                        {"action", added ? "INSERT" : "DELETE"},
                        {"vym_user", user}},
                       kXmlChangeRow);
    }
    return rows;
}

bool frmStock::SaveData() {
    if (item_ == nullptr || db_ == nullptr) {
        return false;
    }
    if (ui_->txtMinPrice->text() != Q(Format(MinPrice(), "0.0000"))) {
        txtMinPrice_LostFocus();
    }
    if (const Verdict refusal = CheckStock(Entry())) {
        return ui::ShowRefusal(*refusal, *this, ui_->tabStock);
    }
    const bool rentalRows = RentalTabApplies();
    CopyFields();
    const std::int32_t itemNo = item_->ItemNo;
    const std::int32_t instructionNo = item_->InstructionNo;
    bool saved = false;
    trap_.Run(errors_, "SaveData", &db_->Native(), [&] {
        Transaction transaction(*db_);
        if (!item_->Update(db_, errors_)) {
            return;
        }
        const std::string number = std::to_string(item_->ItemNo);
        if (mapsChanged_) {
            const std::string maps =
                ChangedRows(*ui_->fgMaps, "vym_item_stock_map", number, "map_id");
            if (!maps.empty() && !item_->UpdateMaps(db_, errors_, maps)) {
                return;
            }
        }
        // A new item's rental rows can name it only once it is saved.
        if (rentalRows) {
            const bool stock = IsStock();
            const std::string rental = stock ? ChangedRows(*ui_->fgRental, "vym_item_stock_rental",
                                                           number, "rental_item_no")
                                             : ChangedRows(*ui_->fgRental, "vym_item_rental_detail",
                                                           number, "detail_item_no");
            const bool done =
                rental.empty() || (stock ? stock_->UpdateRentalItems(db_, errors_, rental)
                                         : item_->UpdateRentalDetail(db_, errors_, rental));
            if (!done) {
                return;
            }
        }
        transaction.Commit();
        saved = true;
    });
    if (!saved) {
        // Rolled back: a retry must not name rows that do not exist.
        item_->SubItem()->SetItemNo(itemNo);
        item_->ItemNo = itemNo;
        item_->InstructionNo = instructionNo;
        return false;
    }
    saved_ = true;
    mapsChanged_ = false;
    SetTitle();
    FlagScope loading(loading_);
    trap_.Run(errors_, "SaveData", &db_->Native(), [&] {
        LoadMapIds();
        LoadRentalItems();
    });
    return true;
}

void frmStock::cmdOk_Click() {
    if (SaveData()) {
        accept();
    }
}

}  // namespace vym
