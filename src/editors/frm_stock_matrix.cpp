#include "editors/frm_stock_matrix.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

#include "base/format.h"
#include "base/prompter.h"
#include "base/stock_margin.h"
#include "base/value.h"
#include "editors/stock_lists.h"
#include "gateway/app_server.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/sql_quote.h"
#include "host/screen_context.h"
#include "model/xml_document.h"
#include "ui/data_combo.h"
#include "ui/flex_grid.h"
#include "ui/key_tab_bar.h"
#include "ui/qt_text.h"
#include "ui_frm_stock_matrix.h"

namespace vym {

using ui::DataCombo;
using ui::FlexGrid;
using ui::Q;
using ui::S;

namespace {

constexpr XmlRowLayout kMatrixRow{"", "/>", "\r\n"};
constexpr const char* kNoData = "Error no data from matrix";
constexpr const char* kNoAttributes =
    "You have not defined any attributes or quantities.  Please fill out the Matrix tab before "
    "proceeding.";

// What an amount field's text is worth while it is typed: "", "-", ".", "$"
// and "1," count as the digits so far; nullopt for text that can never
// become a number.
std::optional<Currency> TypedAmount(QString text) {
    text = text.trimmed();
    while (text.endsWith(',')) {
        text.chop(1);
    }
    if (!IsNumeric(S(text + '0'))) {
        return std::nullopt;
    }
    return Currency::FromDouble(ParseNumber(S(text)).value_or(0.0));
}

QString Shown(Currency amount, const char* pattern) {
    return Q(Format(Value(amount), pattern));
}

std::string Document(const std::string& rows) {
    return "<ROOT>\r\n" + rows + "</ROOT>\r\n";
}

}  // namespace

frmStockMatrix::frmStockMatrix(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmStockMatrix>()) {
    ui_->setupUi(this);
    ui::KeyTabBar& tabs = *ui_->tabStock;
    tabs.AddTab("DESC", "&Description");
    tabs.AddTab("PRICE", "&Price && Print");
    tabs.AddTab("DEPT", "D&epartment");
    tabs.AddTab("Matrix", "&Matrix");
    const std::map<QString, QWidget*> pages = {{"DESC", ui_->pgDesc},
                                               {"PRICE", ui_->pgPrice},
                                               {"DEPT", ui_->pgDept},
                                               {"RENTAL", ui_->pgRental},
                                               {"Matrix", ui_->pgMatrix}};
    connect(&tabs, &ui::KeyTabBar::CurrentKeyChanged, this, [this, pages](const QString& key) {
        if (const auto page = pages.find(key); page != pages.end()) {
            ui_->stkTabs->setCurrentWidget(page->second);
        }
    });
    ui_->stkTabs->setCurrentWidget(ui_->pgDesc);

    SetUpLists();

    const auto chosen = [this](void (frmStockMatrix::*handler)()) {
        return [this, handler] {
            if (!loading_) {
                (this->*handler)();
            }
        };
    };
    connect(ui_->cmbStockType, &DataCombo::KeyChanged, this,
            chosen(&frmStockMatrix::cmbStockType_Change));
    connect(ui_->cmbSizeType, &DataCombo::KeyChanged, this,
            chosen(&frmStockMatrix::cmbSizeType_Change));
    connect(ui_->cmbDepartment, &DataCombo::KeyChanged, this,
            chosen(&frmStockMatrix::LoadReportDepartments));
    connect(ui_->fgRptDept, &FlexGrid::RowColChange, this,
            chosen(&frmStockMatrix::LoadSubReportDepartments));
    // textEdited, not textChanged: the fields rewrite each other, and only
    // what the user types may start that.
    connect(ui_->txtCurrentCost, &QLineEdit::textEdited, this,
            [this] { AmountTyped(ui_->txtCurrentCost, cost_); });
    connect(ui_->txtUnitPrice, &QLineEdit::textEdited, this,
            [this] { AmountTyped(ui_->txtUnitPrice, unitPrice_); });
    connect(ui_->txtMargin, &QLineEdit::textEdited, this, &frmStockMatrix::txtMargin_Change);
    for (QLineEdit* box : {ui_->txtCurrentCost, ui_->txtUnitPrice, ui_->txtMargin, ui_->txtMinPrice,
                           ui_->txtDiscountRate}) {
        box->installEventFilter(this);
    }
    ui_->txtBootLength->setMaxLength(4);  // a length in millimetres

    connect(ui_->cmdVendor, &QToolButton::clicked, this, &frmStockMatrix::SelectVendor);
    connect(ui_->cmdAddRental, &QPushButton::clicked, this, &frmStockMatrix::AddRentalItem);
    connect(ui_->cmdRemoveRental, &QPushButton::clicked, this, &frmStockMatrix::RemoveRentalItem);
    connect(ui_->cmdAddRow, &QPushButton::clicked, this, &frmStockMatrix::AddRow);
    connect(ui_->cmdDeleteRow, &QPushButton::clicked, this, &frmStockMatrix::DeleteRow);
    connect(ui_->fgMatrix, &FlexGrid::ValidateEdit, this, &frmStockMatrix::fgMatrix_ValidateEdit);
    connect(ui_->fgMatrix, &FlexGrid::AfterEdit, this, &frmStockMatrix::SaveMatrixDefaults);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmStockMatrix::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmStockMatrix::~frmStockMatrix() = default;

void frmStockMatrix::SetUpLists() {
    const std::pair<DataCombo*, QStringList> combos[] = {
        {ui_->cmbStockType, {"Type", "Description", "Rental Type"}},
        {ui_->cmbSizeType, {"Size Type", "Description"}},
        {ui_->cmbModel, {"Model", "Description"}},
        {ui_->cmbSerialType, {"Serial Type", "Description"}},
        {ui_->cmbBindingType, {"Binding Type", "Description"}},
        {ui_->cmbPrintFormat, {"Format", "Description"}},
        {ui_->cmbDepartment, {"Department", "Description"}},
    };
    for (const auto& [combo, headings] : combos) {
        combo->SetColumns(headings);
        combo->SetBoundColumn(0);
        combo->SetListColumn(1);
    }
    ui_->cmbStockType->SetListColumnHidden(2, true);
    ui_->fgRptDept->SetFormatString("<Reporting Department|<Description");
    ui_->fgSubRptDept->SetFormatString("<Reporting Sub Department|<Description");
    ui_->fgRental->SetFormatString("New|<Item#|<Rental Item");
    ui_->fgRental->SetColumnHidden(0, true);
    ui_->fgMatrix->SetFormatString("Attributes");
    ui_->fgMatrix->SetEditable(true);
    ui_->fgMatrix->SetColumnEditable(0, true);
}

void frmStockMatrix::Setup(ScreenContext* itemMaint, std::int32_t lPONo, const QString& sVendorId,
                           const QString& sStockTypeId) {
    maint_ = itemMaint;
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    poNo_ = lPONo;
    ui_->chkAllowLineDiscount->setChecked(true);
    ui_->chkAllowSellerPricing->setChecked(true);
    for (QLineEdit* box : {ui_->txtCurrentCost, ui_->txtUnitPrice, ui_->txtMargin, ui_->txtMinPrice,
                           ui_->txtDiscountRate}) {
        ShowAmounts(box);
    }
    if (db_ == nullptr) {
        return;
    }
    FlagScope loading(loading_);
    trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        FillLists();
        ui_->cmbStockType->SetKey(sStockTypeId);
        LoadModels();
        LoadDepartments();
        if (!sVendorId.isEmpty()) {
            QString name;
            std::int32_t address = 0;
            maint_->GetVendorInfo(sVendorId, name, address);
            vendorId_ = sVendorId;
            ui_->lblVendorName->setText(name);
        }
        ShowRentalTab();
        LoadMatrixDefaults();
    });
}

void frmStockMatrix::FillLists() {
    Connection& db = *db_;
    FillCombo(*ui_->cmbStockType,
              QueryRows(db, "SELECT * FROM vym_item_stock_type ORDER BY Description",
                        {"stock_type_id", "Description", "rental_type"}));
    FillCombo(*ui_->cmbSizeType,
              QueryRows(db,
                        "SELECT stock_size_type_id, description from vym_item_stock_size_type "
                        "ORDER BY description",
                        {"stock_size_type_id", "description"}));
    FillCombo(*ui_->cmbSerialType,
              QueryRows(db, "SELECT * FROM vym_item_stock_serial_type",
                        {"serial_type_id", "Description"}),
              {"", "<NONE>"});
    FillCombo(*ui_->cmbBindingType,
              QueryRows(db, "SELECT * FROM vym_item_stock_binding_type",
                        {"binding_type_id", "Description"}),
              {"", "<NONE>"});
    FillCombo(*ui_->cmbPrintFormat,
              QueryRows(db,
                        "SELECT format_no, Description FROM vym_print_format WHERE "
                        "print_format_type = 'STOCK' ORDER BY Description",
                        {"format_no", "Description"}),
              {"", "<NONE>"});
}

void frmStockMatrix::LoadModels() {
    FlagScope loading(loading_);
    const QString stockType = ui_->cmbStockType->Key();
    FillCombo(*ui_->cmbModel,
              stockType.isEmpty()
                  ? Rows()
                  : ProcedureRows(*db_, "VYM_SP_ITEM_GetItemStockModel",
                                  {{"@stock_type_id", S(stockType)}, {"@is_active", true}},
                                  {"model_id", "Description"}));
}

void frmStockMatrix::LoadDepartments() {
    FlagScope loading(loading_);
    const QString department = ui_->cmbDepartment->Key();
    FillCombo(*ui_->cmbDepartment,
              ProcedureRows(*db_, "VYM_SP_ITEM_GetItemStockDept",
                            {{"@stock_type_id", ui::NullIfEmpty(ui_->cmbStockType->Key())}},
                            {"department_id", "Description"}));
    ui_->cmbDepartment->SetKey(department);
    LoadReportDepartments();
}

void frmStockMatrix::LoadReportDepartments() {
    FlagScope loading(loading_);
    const QString department = ui_->cmbDepartment->Key();
    FillChoiceGrid(*ui_->fgRptDept,
                   department.isEmpty() ? Rows()
                                        : ProcedureRows(*db_, "VYM_SP_ITEM_GetItemStockRptDept",
                                                        {{"@department_id", S(department)}},
                                                        {"report_department_id", "Description"}),
                   {});
    LoadSubReportDepartments();
}

void frmStockMatrix::LoadSubReportDepartments() {
    FlagScope loading(loading_);
    const QString report = ui_->fgRptDept->RowData(ui_->fgRptDept->Row()).toString();
    FillChoiceGrid(*ui_->fgSubRptDept,
                   report.isEmpty() ? Rows()
                                    : ProcedureRows(*db_, "VYM_SP_ITEM_GetItemStockSubRptDept",
                                                    {{"@report_department_id", S(report)}},
                                                    {"report_sub_department_id", "Description"}),
                   {});
}

QString frmStockMatrix::RentalType() const {
    return ui_->cmbStockType->Cell(2).toUpper();
}

void frmStockMatrix::ShowRentalTab() {
    ui::KeyTabBar& tabs = *ui_->tabStock;
    if (RentalType() != "RENTAL") {
        tabs.RemoveTabByKey("RENTAL");
    } else if (tabs.TabIndex("RENTAL") < 0) {
        tabs.RemoveTabByKey("Matrix");
        tabs.AddTab("RENTAL", "&Rental");
        tabs.AddTab("Matrix", "&Matrix");
    }
}

void frmStockMatrix::cmbStockType_Change() {
    trap_.Run(errors_, "cmbStockType_Change", &db_->Native(), [&] {
        LoadModels();
        LoadDepartments();
        ShowRentalTab();
    });
}

// Price fields ---------------------------------------------------------------

// Cost or unit price typed: the amount so far, and the margin they give.
void frmStockMatrix::AmountTyped(QLineEdit* box, Currency& amount) {
    const std::optional<Currency> typed = TypedAmount(box->text());
    if (!typed) {
        box->setText("0");
    }
    amount = typed.value_or(Currency());
    CalculateMarginFromCurrentCost();
}

void frmStockMatrix::txtMargin_Change() {
    QString text = ui_->txtMargin->text().trimmed();
    // The field shows its value as "35.00%": a typed percent sign is allowed.
    if (text.endsWith('%')) {
        text.chop(1);
    }
    std::optional<Currency> percent = TypedAmount(text);
    if (!percent) {
        ui_->txtMargin->setText("0");
    }
    trap_.Run(errors_, "txtMargin_Change", nullptr, [&] {
        margin_ = MarginFromPercent(percent.value_or(Currency()));
        CalculateUnitPriceFromCurrentCost();
    });
}

void frmStockMatrix::CalculateMarginFromCurrentCost() {
    trap_.Run(errors_, "CalculateMarginFromCurrentCost", nullptr, [&] {
        margin_ = MarginFromCost(cost_, unitPrice_);
        ui_->txtMargin->setText(Shown(margin_, "Percent"));
    });
}

void frmStockMatrix::CalculateUnitPriceFromCurrentCost() {
    trap_.Run(errors_, "CalculateUnitPriceFromCurrentCost", nullptr, [&] {
        unitPrice_ = UnitPriceFromMargin(cost_, margin_);
        ui_->txtUnitPrice->setText(Shown(unitPrice_, "0.0000"));
    });
}

// A field the user leaves shows the value it stands for.
void frmStockMatrix::ShowAmounts(QLineEdit* left) {
    if (left == ui_->txtCurrentCost) {
        left->setText(Shown(cost_, "0.0000"));
    } else if (left == ui_->txtUnitPrice) {
        left->setText(Shown(unitPrice_, "0.0000"));
    } else if (left == ui_->txtMargin) {
        left->setText(Shown(margin_, "Percent"));
    } else if (left == ui_->txtMinPrice) {
        minPrice_ = TypedAmount(left->text()).value_or(Currency());
        left->setText(Shown(minPrice_, "0.0000"));
    } else if (left == ui_->txtDiscountRate) {
        const std::optional<Currency> rate = TypedAmount(left->text());
        left->setText(Q(Format(Value(rate.value_or(Currency())), "0.##")));
    }
}

bool frmStockMatrix::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        // A message box or menu taking the focus does not leave the field.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            ShowAmounts(static_cast<QLineEdit*>(watched));
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Vendor and rental items ----------------------------------------------------

void frmStockMatrix::SelectVendor() {
    if (maint_ == nullptr) {
        return;
    }
    QString name;
    const QString vendor = maint_->SelectVendor(this, vendorId_, &name);
    if (!vendor.isEmpty()) {
        vendorId_ = vendor;
        ui_->lblVendorName->setText(name);
    }
}

void frmStockMatrix::AddRentalItem() {
    std::int32_t itemNo = 0;
    QString description;
    if (maint_ == nullptr ||
        !maint_->SelectItem(ttoRental, false, &itemNo, &description, nullptr, {}, true)) {
        return;
    }
    FlexGrid& grid = *ui_->fgRental;
    const QString number = QString::number(itemNo);
    if (grid.FindRow(number, 1) > 0) {
        MsgBox("Item is already in the rental item list", kInformation, "Invalid Rental Item");
        return;
    }
    grid.AddItem("-1\t" + number + '\t' + description);
    grid.AutoSizeColumns();
}

void frmStockMatrix::RemoveRentalItem() {
    const int row = ui_->fgRental->Row();
    if (row > 0) {
        ui_->fgRental->RemoveItem(row);
    }
}

// The matrix -----------------------------------------------------------------

void frmStockMatrix::cmbSizeType_Change() {
    trap_.Run(errors_, "cmbSizeType_Change", &db_->Native(), [&] { RefreshSizes(); });
}

// New columns for the sizes of the size type; the attribute rows stay, their
// quantities (for other sizes) go.
void frmStockMatrix::RefreshSizes() {
    const QString sizeType = ui_->cmbSizeType->Key();
    QString format = "Attributes";
    if (!sizeType.isEmpty()) {
        for (const QStringList& size :
             QueryRows(*db_,
                       "SELECT stock_size from vym_item_stock_size WHERE stock_size_type_id = " +
                           SqlQuote(S(sizeType)) + " ORDER BY display_order",
                       {"stock_size"})) {
            format += "|^" + size.value(0);
        }
    }
    FlexGrid& grid = *ui_->fgMatrix;
    QStringList attributes;
    for (int row = 1; row < grid.Rows(); ++row) {
        attributes << grid.TextMatrix(row, 0);
    }
    grid.SetFormatString(format);
    for (int col = 0; col < grid.Cols(); ++col) {
        grid.SetColumnEditable(col, true);
    }
    for (const QString& attribute : attributes) {
        grid.AddItem(attribute);
    }
    grid.AutoSizeColumns();
}

void frmStockMatrix::LoadMatrixDefaults() {
    AppServer* server = maint_->AppServer();
    const QString stored =
        server != nullptr ? Q(server->GetSetting("AppData", "Stock", "MatrixDefaults", "")) : "";
    if (!stored.contains(',')) {
        return;
    }
    for (const QString& attribute : stored.split(',')) {
        ui_->fgMatrix->AddItem(attribute);
    }
    ui_->fgMatrix->AutoSizeColumns();
}

void frmStockMatrix::SaveMatrixDefaults() {
    const FlexGrid& grid = *ui_->fgMatrix;
    QStringList attributes;
    for (int row = 1; row < grid.Rows(); ++row) {
        attributes << grid.TextMatrix(row, 0);
    }
    AppServer* server = maint_ != nullptr ? maint_->AppServer() : nullptr;
    if (server != nullptr && !attributes.isEmpty()) {
        trap_.Run(errors_, "SaveMatrixDefaults", nullptr, [&] {
            server->SaveSetting("AppData", "Stock", "MatrixDefaults", S(attributes.join(',')));
        });
    }
}

void frmStockMatrix::AddRow() {
    if (ui_->cmbSizeType->Key().isEmpty()) {
        MsgBox("Please select a type size before adding attribute rows.", kInformation,
               "Add Row Cancelled");
        return;
    }
    FlexGrid& grid = *ui_->fgMatrix;
    grid.AddItem(QString());
    grid.setFocus();
    grid.EditCell(grid.Rows() - 1, 0);
}

void frmStockMatrix::DeleteRow() {
    FlexGrid& grid = *ui_->fgMatrix;
    if (grid.Row() > 0) {
        grid.RemoveItem(grid.Row());
        SaveMatrixDefaults();
    }
}

void frmStockMatrix::fgMatrix_ValidateEdit(int /*row*/, int col, const QString& text,
                                           bool& cancel) {
    if (col > 0 && !text.trimmed().isEmpty() && !IsNumeric(S(text))) {
        MsgBox("Value must be numeric", kInformation, "Invalid Value");
        cancel = true;
    }
}

std::vector<frmStockMatrix::Cell> frmStockMatrix::MatrixCells() const {
    const FlexGrid& grid = *ui_->fgMatrix;
    std::vector<Cell> cells;
    for (int row = 1; row < grid.Rows(); ++row) {
        for (int col = 1; col < grid.Cols(); ++col) {
            const std::string text = S(grid.TextMatrix(row, col).trimmed());
            if (text.empty() || !IsNumeric(text)) {
                continue;
            }
            // A quantity with a fraction goes as typed, for the server to refuse.
            const double qty = ParseNumber(text).value_or(0.0);
            const bool whole = std::fabs(qty) < 2e9 && qty == std::trunc(qty);
            cells.push_back({grid.TextMatrix(row, 0).trimmed(), grid.ColumnHeading(col),
                             whole ? std::to_string(static_cast<std::int32_t>(qty)) : text,
                             whole ? static_cast<std::int32_t>(qty) : 0});
        }
    }
    return cells;
}

// OK and the save -------------------------------------------------------------

void frmStockMatrix::cmdOk_Click() {
    if (ui_->fgMatrix->Rows() < 2) {
        Refuse(kNoAttributes, "Save Cancelled", "Matrix", ui_->fgMatrix);
        return;
    }
    if (MsgBox("Are you sure you want to generate all the stock for this stock matrix?",
               kQuestionYesNoDefaultNo, "Confirm Stock Generation") != MsgResult::Yes) {
        return;
    }
    if (SaveData()) {
        accept();
    }
}

bool frmStockMatrix::Refuse(const char* message, const char* title, const QString& tab,
                            QWidget* field) {
    MsgBox(message, kInformation, title);
    ui_->tabStock->SetCurrentKey(tab);
    field->setFocus();
    return false;
}

bool frmStockMatrix::CheckFields() {
    if (ui_->fgMatrix->Rows() < 2) {
        return Refuse(kNoAttributes, "Save Cancelled", "Matrix", ui_->fgMatrix);
    }
    if (ui_->cmbStockType->Key().isEmpty()) {
        return Refuse("Stock Type is required", "Save Error", "DESC", ui_->cmbStockType);
    }
    if (ui_->txtDescription->text().trimmed().isEmpty()) {
        return Refuse("Description is required", "Save Error", "DESC", ui_->txtDescription);
    }
    if (vendorId_.isEmpty()) {
        return Refuse("Vendor is Required", "Save Error", "DESC", ui_->cmdVendor);
    }
    if (ui_->cmbDepartment->Key().isEmpty()) {
        return Refuse("Accounting Department is required", "Save Error", "DEPT",
                      ui_->cmbDepartment);
    }
    if (ui_->chkSerialized->isChecked() && ui_->cmbSerialType->Key().isEmpty()) {
        return Refuse("Serial Type is required for serialized stock.", "InValid Serial Type",
                      "DESC", ui_->cmbSerialType);
    }
    return true;
}

// The rental and retail checks; rentalRows receives the rental item elements.
bool frmStockMatrix::CheckRental(std::string& rentalRows) {
    const QString type = RentalType();
    if (type != "RENTAL" && type != "RETAIL") {
        return true;
    }
    const bool rental = type == "RENTAL";
    const bool noReport = ui_->fgRptDept->RowData(ui_->fgRptDept->Row()).toString().isEmpty();
    if (noReport && maint_->RequireReportingDepartment()) {
        return Refuse(rental ? "Reporting Department is required for rental type stock."
                             : "Reporting Department is required for retail type stock.",
                      "InValid Reporting Department", "DEPT", ui_->fgRptDept);
    }
    if (ui_->cmbModel->Key().isEmpty()) {
        return Refuse(rental ? "Stock Model is required for rental type stock."
                             : "Stock Model is required for retail type stock.",
                      "InValid Model", "DESC", ui_->cmbModel);
    }
    if (!rental) {
        return true;
    }
    if (ui_->cmbSerialType->Key() == "SKIBOOT" && ui_->cmbBindingType->Key().isEmpty()) {
        return Refuse("Stock Binding Type is required for rental serial type SKIBOOT.",
                      "InValid Binding Type", "RENTAL", ui_->cmbBindingType);
    }
    const QString boot = ui_->txtBootLength->text().trimmed();
    if (!boot.isEmpty() && !IsNumeric(S(boot))) {
        return Refuse("Supplied boot length is not numeric.", "Invalid Boot Length)", "RENTAL",
                      ui_->txtBootLength);
    }
    const std::string user = db_->CurrentUserId();
    const FlexGrid& grid = *ui_->fgRental;
    for (int row = 1; row < grid.Rows(); ++row) {
        rentalRows += XmlRow("vym_item_stock_rental",
                             {{"item_no", "<ItemNo>"},
                              {"rental_item_no", S(grid.TextMatrix(row, 1))},
                              {"action", "INSERT"},
                              {"vym_user", user}},
                             kMatrixRow);
    }
    return true;
}

bool frmStockMatrix::SaveData() {
    if (db_ == nullptr) {
        return false;
    }
    std::string rentalRows;
    if (!CheckFields() || !CheckRental(rentalRows)) {
        return false;
    }
    const std::vector<Cell> cells = MatrixCells();
    std::string matrix;
    for (const Cell& cell : cells) {
        matrix += XmlRow(
            "stock_matrix",
            {{"attribute", S(cell.attribute)}, {"stock_size", S(cell.size)}, {"qty", cell.qtyText}},
            kMatrixRow);
    }
    if (matrix.empty()) {
        MsgBox(kNoData, kInformation, "Save Error");
        return false;
    }
    bool saved = false;
    trap_.Run(errors_, "SaveData", &db_->Native(),
              [&] { saved = Generate(cells, matrix, rentalRows); });
    return saved;
}

bool frmStockMatrix::Generate(const std::vector<Cell>& cells, const std::string& matrix,
                              const std::string& rentalRows) {
    // An amount field left empty is not sent at all.
    const auto amount = [](const QLineEdit* box, Currency value) {
        return box->text().trimmed().isEmpty() ? Value::Null() : Value(value.ToDouble());
    };
    const auto flag = [](const QCheckBox* box) {
        return static_cast<std::int16_t>(box->isChecked() ? 1 : 0);
    };
    const QString discount = ui_->txtDiscountRate->text().trimmed();
    const QString boot = ui_->txtBootLength->text().trimmed();
    const QString format = ui_->cmbPrintFormat->Key();
    auto cmd = NewProcedure(
        *db_, "VYM_SP_ITEM_UpdateItemStockMatrix",
        {{"@po_no", poNo_ == 0 ? Value::Null() : Value(poNo_)},
         {"@vym_user", db_->CurrentUserId()},
         {"@item_type", "STOCK"},
         {"@short_description", S(ui_->txtDescription->text().trimmed())},
         {"@department_id", S(ui_->cmbDepartment->Key())},
         {"@taxable", flag(ui_->chkTaxable)},
         {"@status_id", "ACTIVE"},
         {"@maintain_inventory", flag(ui_->chkMaintainInventory)},
         {"@stock_type_id", ui::NullIfEmpty(ui_->cmbStockType->Key())},
         {"@serialized", flag(ui_->chkSerialized)},
         {"@format_no", format.isEmpty() ? Value::Null() : Value(format.toInt())},
         {"@style", ui::NullIfEmpty(ui_->txtStyle->text().trimmed())},
         {"@manufacturer", ui::NullIfEmpty(ui_->txtManufacturer->text().trimmed())},
         {"@model_id", ui::NullIfEmpty(ui_->cmbModel->Key())},
         {"@min_price", amount(ui_->txtMinPrice, minPrice_)},
         {"@unit_price", amount(ui_->txtUnitPrice, unitPrice_)},
         {"@discount_rate",
          amount(ui_->txtDiscountRate, TypedAmount(discount).value_or(Currency()))},
         {"@allow_line_discount", flag(ui_->chkAllowLineDiscount)},
         {"@allow_seller_pricing", flag(ui_->chkAllowSellerPricing)},
         {"@current_cost",
          ui_->txtCurrentCost->text().trimmed().isEmpty() ? Value::Null() : Value(cost_)},
         {"@vendor_id", ui::NullIfEmpty(vendorId_)},
         {"@report_department_id",
          ui::NullIfEmpty(ui_->fgRptDept->RowData(ui_->fgRptDept->Row()).toString())},
         {"@report_sub_department_id",
          ui::NullIfEmpty(ui_->fgSubRptDept->RowData(ui_->fgSubRptDept->Row()).toString())},
         {"@stock_size_type_id", ui::NullIfEmpty(ui_->cmbSizeType->Key())},
         {"@serial_type_id", S(ui_->cmbSerialType->Key())},
         {"@binding_type_id", ui::NullIfEmpty(ui_->cmbBindingType->Key())},
         {"@boot_length", boot.isEmpty() ? Value::Null()
                                         : Value(static_cast<std::int16_t>(
                                               std::lround(ParseNumber(S(boot)).value_or(0))))},
         {"@stock_rental_xml", rentalRows.empty() ? Value::Null() : Value(Document(rentalRows))},
         {"@stock_matrix_xml", Document(matrix)}});
    auto rs = db_->ExecuteRecordset(*cmd);
    std::vector<std::pair<std::int32_t, QString>> items;
    for (; rs->IsOpen() && !rs->Eof(); rs->MoveNext()) {
        items.emplace_back(rs->Fields("item_no").Value().ToLong(),
                           ui::FieldText(*rs, "long_description"));
    }
    if (NullToZero(cmd->Parameters["@RETURN_VALUE"].Value).ToLong() < 0) {
        MsgBox(NullToEmpty(cmd->Parameters["@message"].Value), kInformation, "Save Error");
        return false;
    }
    created_.clear();
    for (std::size_t i = 0; i < items.size(); ++i) {
        created_.push_back(items[i].first);
        emit ItemStockAdded(items[i].first, items[i].second, cost_, unitPrice_.ToDouble(),
                            i < cells.size() ? cells[i].qty : 0, vendorId_);
    }
    ui_->fgMatrix->Clear();
    return true;
}

}  // namespace vym
