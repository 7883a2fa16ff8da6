#include "packages/frm_package_detail_pricing.h"

#include <utility>

#include "base/format.h"
#include "base/prompter.h"
#include "base/strings.h"
#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/sql_quote.h"
#include "gateway/transaction.h"
#include "host/screen_context.h"
#include "model/cpackage.h"
#include "packages/package_price_rules.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"
#include "ui/show_refusal.h"
#include "ui_frm_package_detail_pricing.h"

namespace vym {

using namespace package_price_column;
using ui::FieldText;
using ui::FlexGrid;
using ui::NullIfEmpty;
using ui::Q;
using ui::S;

namespace {

constexpr int kDetailColumns[] = {kAccessRule, kPrintQty, kAcctUnits, kLineDiscount};

Currency AmountOf(const QString& text) {
    return ParseAmount(S(text.trimmed())).value_or(Currency());
}

QString AmountText(Currency amount, const char* pattern) {
    return Q(Format(Value(amount), pattern));
}

// A whole number of 0 or more; nothing for anything else.
std::optional<int> Count(const QString& text) {
    bool number = false;
    const int value = text.trimmed().toInt(&number);
    return number && value >= 0 ? std::optional<int>(value) : std::nullopt;
}

Value NumberOrNull(const QString& text) {
    const auto count = Count(text);
    return count ? Value(*count) : Value::Null();
}

// The amount as the procedures take it, Null when the cell is empty.
Value AmountOrNull(const QString& text) {
    return text.trimmed().isEmpty() ? Value::Null() : Value(AmountOf(text));
}

// The total shared out over the units, to four places with halves to even.
Currency PerUnit(Currency total, int units) {
    if (units < 1) {
        return total;
    }
    const std::int64_t raw = total.Raw();
    std::int64_t quotient = raw / units;
    const std::int64_t twice = 2 * (raw % units);
    if (twice > units || (twice == units && quotient % 2 != 0)) {
        ++quotient;
    }
    return Currency::FromRaw(quotient);
}

bool Refused(const Value& returnValue) {
    return !returnValue.IsNull() && returnValue.ToLong() < 0;
}

}  // namespace

frmPackageDetailPricing::frmPackageDetailPricing(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmPackageDetailPricing>()) {
    ui_->setupUi(this);
    FlexGrid& grid = *ui_->fgGrid;
    grid.SetFormatString(
        "PriceNo|<Fun.|<Cat.|Type|<Desc|^Pkg Qty|^Unit|^Unit Qty|>Unit Price|>Sub "
        "Total|Gross Unit Price|Seller Disc|^Acct Units|^Print Qty|Access Rule|Org Access "
        "Rule|Item Access Rule|colConfirmed");
    grid.SetColumnFormat(kUnitPrice, "($#,###.00##)");
    grid.SetColumnFormat(kSubTotal, "($#,###.00)");
    grid.SetColumnFormat(kGross, "($#,###.00)");
    grid.SetColumnKind(kLineDiscount, FlexGrid::ColumnKind::CheckBox);
    grid.SetColumnKind(kUnit, FlexGrid::ColumnKind::ComboList);
    grid.SetColumnKind(kAccessRule, FlexGrid::ColumnKind::ComboList);
    for (int col : {kFunction, kCatagory, kDescription}) {
        grid.SetMergeColumn(col, true);
    }
    for (int col : {kPriceNo, kOrgAccessRule, kItemAccessRule, kConfirmed}) {
        grid.SetColumnHidden(col, true);
    }
    grid.SetEditable(true);

    connect(&grid, &FlexGrid::BeforeEdit, this, &frmPackageDetailPricing::fgGrid_BeforeEdit);
    connect(&grid, &FlexGrid::ValidateEdit, this, &frmPackageDetailPricing::fgGrid_ValidateEdit);
    connect(&grid, &FlexGrid::AfterEdit, this, &frmPackageDetailPricing::fgGrid_AfterEdit);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmPackageDetailPricing::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->cmdDelete, &QPushButton::clicked, this, &frmPackageDetailPricing::cmdDelete_Click);
    connect(ui_->cmdDetails, &QPushButton::clicked, this, &frmPackageDetailPricing::ToggleDetails);
}

frmPackageDetailPricing::~frmPackageDetailPricing() = default;

bool frmPackageDetailPricing::Setup(ScreenContext* itemMaint, const PackagePriceRequest& request) {
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    request_ = request;
    if (db_ == nullptr || request.package == nullptr) {
        return false;
    }
    setWindowTitle("Package Price for " + Q(request.package->Description) + " for " +
                   request.unitDescription + " for " + request.seasonDescription + " season");
    ui_->cmdDelete->setEnabled(request.priceNo != 0);
    const bool loaded = LoadRules() && LoadItems();
    ComputeTotal();
    return loaded;
}

bool frmPackageDetailPricing::LoadRules() {
    return trap_.Run(errors_, "LoadRules", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetAccessRules");
        auto rows = db_->ExecuteRecordset(*command);
        QString list = "|#-1;[NA]|#0;[NO RULE]|";
        QStringList entries;
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            entries << "#" + FieldText(*rows, "access_rule_no") + ";" +
                           FieldText(*rows, "description").replace('|', '/').replace(';', ',');
        }
        ui_->fgGrid->SetColumnComboList(kAccessRule, list + entries.join("|"));
    });
}

bool frmPackageDetailPricing::LoadItems() {
    FlexGrid& grid = *ui_->fgGrid;
    grid.Clear();
    const bool loaded = trap_.Run(errors_, "LoadItems", &db_->Native(), [&] {
        auto command =
            NewProcedure(*db_, "VYM_SP_ITEM_GetPackageItems",
                         {{"@package_no", request_.package->PackageNo},
                          {"@package_price_no",
                           request_.priceNo == 0 ? Value::Null() : Value(request_.priceNo)}});
        auto rows = db_->ExecuteRecordset(*command);
        grid.BeginBulkLoad();
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            AppendLine(*rows);
        }
        grid.EndBulkLoad();
    });
    ui_->lblNoItems->setVisible(grid.Rows() == 1);
    grid.AutoSizeColumns();
    return loaded;
}

void frmPackageDetailPricing::AppendLine(Recordset& rows) {
    FlexGrid& grid = *ui_->fgGrid;
    grid.AddItem(QString());
    const int row = grid.Rows() - 1;
    const QString type = FieldText(rows, "item_type");
    grid.SetRowData(row, FieldText(rows, "item_no").toInt());
    grid.SetTextMatrix(row, kPriceNo, FieldText(rows, "price_no"));
    grid.SetTextMatrix(row, kFunction, FieldText(rows, "function_id"));
    grid.SetTextMatrix(row, kCatagory, FieldText(rows, "catagory_id"));
    grid.SetTextMatrix(row, kType, Q(ProperCase(S(type))));
    grid.SetTextMatrix(row, kDescription, FieldText(rows, "long_description"));
    grid.SetTextMatrix(row, kPkgQty, FieldText(rows, "pkg_qty"));
    QString unit = FieldText(rows, "unit_id");
    QString unitQty = FieldText(rows, "unit_qty");
    if (type == "STOCK" && unit.isEmpty()) {
        unit = "@";
        unitQty = unitQty.isEmpty() ? "1" : unitQty;
    }
    grid.SetTextMatrix(row, kUnit, unit);
    grid.SetTextMatrix(row, kUnitQty, unitQty);
    grid.SetTextMatrix(row, kUnitPrice, FieldText(rows, "unit_price"));
    grid.SetTextMatrix(row, kSubTotal, FieldText(rows, "Price"));
    grid.SetTextMatrix(row, kGross, FieldText(rows, "gross_unit_price"));
    const Value lineDiscount = rows.Fields("allow_line_discount").Value();
    grid.SetCellChecked(row, kLineDiscount,
                        lineDiscount.IsNull() ? request_.sellerDisc : lineDiscount.ToBool());
    grid.SetTextMatrix(row, kAcctUnits, FieldText(rows, "acct_units"));
    grid.SetTextMatrix(row, kPrintQty, FieldText(rows, "print_qty"));
    const QString itemRule = FieldText(rows, "item_access_rule_no");
    QString rule = "-1";
    if (type == "TICKET" || type == "SS") {
        rule = FieldText(rows, "access_rule_no");
        rule = rule.isEmpty() ? (itemRule.isEmpty() ? "0" : itemRule) : rule;
    }
    grid.SetTextMatrix(row, kAccessRule, rule);
    grid.SetTextMatrix(row, kOrgAccessRule, rule);
    grid.SetTextMatrix(row, kItemAccessRule, itemRule);
    grid.SetTextMatrix(row, kConfirmed, "-1");
}

QString frmPackageDetailPricing::GetUnitList(const QString& functionId) {
    if (unitLists_.contains(functionId)) {
        return unitLists_.value(functionId);
    }
    trap_.Run(errors_, "GetUnitList", &db_->Native(), [&] {
        auto rows = db_->OpenRecordset("SELECT * FROM vym_unit WHERE function_id = " +
                                       SqlQuote(S(functionId)));
        QStringList entries;
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const QString id = FieldText(*rows, "unit_id");
            units_[functionId][id.toUpper()] = {FieldText(*rows, "qty"),
                                                FieldText(*rows, "acct_units"),
                                                FieldText(*rows, "print_qty")};
            entries << "#" + id + ";" + id + " - " + FieldText(*rows, "Qty") + " " +
                           FieldText(*rows, "uom_id");
        }
        unitLists_.insert(functionId, entries.join("|"));
    });
    return unitLists_.value(functionId);
}

PackagePriceLine frmPackageDetailPricing::LineOf(int row) const {
    const FlexGrid& grid = *ui_->fgGrid;
    return {AmountOf(grid.TextMatrix(row, kUnitPrice)),
            Count(grid.TextMatrix(row, kPkgQty)).value_or(0),
            Count(grid.TextMatrix(row, kUnitQty)).value_or(0)};
}

void frmPackageDetailPricing::ComputeTotal() {
    Currency total;
    for (int row = 1; row < ui_->fgGrid->Rows(); ++row) {
        total = total + AmountOf(ui_->fgGrid->TextMatrix(row, kSubTotal));
    }
    ui_->txtTotal->setText(AmountText(total, "0.0000"));
}

void frmPackageDetailPricing::fgGrid_BeforeEdit(int row, int col, bool& cancel) {
    const FlexGrid& grid = *ui_->fgGrid;
    const QString type = grid.TextMatrix(row, kType);
    // A stock line is sold by its one unit; rules apply to tickets and lessons.
    cancel = col == kPkgQty || col == kSubTotal || col < kPkgQty ||
             (col == kUnit && type == "Stock") ||
             (col == kAccessRule && type != "Ticket" && type != "Ss");
    if (!cancel && col == kUnit) {
        ui_->fgGrid->SetColumnComboList(kUnit, GetUnitList(grid.TextMatrix(row, kFunction)));
    }
}

void frmPackageDetailPricing::fgGrid_ValidateEdit(int, int col, const QString& text, bool& cancel) {
    const QString typed = text.trimmed();
    if ((col == kUnitPrice || col == kGross) && !typed.isEmpty()) {
        const auto amount = ParseAmount(S(typed));
        if (!amount || *amount < Currency()) {
            MsgBox("Please enter a valid numeric value for price.", kInformation,
                   "InValid Price Value");
            cancel = true;
        }
    } else if ((col == kUnitQty || col == kAcctUnits || col == kPrintQty) && !Count(typed)) {
        const char* name = col == kUnitQty     ? "Unit Qty"
                           : col == kAcctUnits ? "Acct Units"
                                               : "Print Qty";
        MsgBox(std::string(name) + " must be a whole number of 0 or more.", kInformation,
               std::string("Invalid ") + name);
        cancel = true;
    }
}

void frmPackageDetailPricing::fgGrid_AfterEdit(int row, int col) {
    FlexGrid& grid = *ui_->fgGrid;
    if (col == kAccessRule) {
        grid.SetTextMatrix(row, kConfirmed, "0");
    }
    if (col == kUnit) {
        const Unit unit = units_.value(grid.TextMatrix(row, kFunction))
                              .value(grid.TextMatrix(row, kUnit).toUpper());
        grid.SetTextMatrix(row, kUnitQty, unit.qty);
        grid.SetTextMatrix(row, kAcctUnits, unit.acctUnits);
        grid.SetTextMatrix(row, kPrintQty, unit.printQty);
    }
    if (col == kUnitPrice || col == kGross) {
        // Kept as a plain amount, whatever the user typed around it.
        const QString typed = grid.TextMatrix(row, col).trimmed();
        grid.SetTextMatrix(row, col,
                           typed.isEmpty() ? QString() : AmountText(AmountOf(typed), "0.0000"));
    }
    if ((col >= kPkgQty && col <= kUnitPrice) || col == kGross) {
        const QString unitPrice = grid.TextMatrix(row, kUnitPrice);
        if (!unitPrice.isEmpty() && AmountOf(grid.TextMatrix(row, kGross)) < AmountOf(unitPrice)) {
            grid.SetTextMatrix(row, kGross, unitPrice);
        }
        grid.SetTextMatrix(row, kSubTotal, AmountText(SubTotal(LineOf(row)), "0.0000"));
    }
    ComputeTotal();
}

void frmPackageDetailPricing::ToggleDetails() {
    const bool show = ui_->cmdDetails->text() == "Show Details";
    ui_->cmdDetails->setText(show ? "Hide Details" : "Show Details");
    for (int col : kDetailColumns) {
        ui_->fgGrid->SetColumnHidden(col, !show);
    }
}

bool frmPackageDetailPricing::ValidatePrices() {
    for (int row = 1; row < ui_->fgGrid->Rows(); ++row) {
        if (!ConfirmLine(row) || !ConfirmAccessRule(row)) {
            return false;
        }
    }
    return ConfirmRounding();
}

bool frmPackageDetailPricing::ConfirmLine(int row) {
    FlexGrid& grid = *ui_->fgGrid;
    const QString description = grid.TextMatrix(row, kDescription);
    const PackageLineEntry entry{row, S(description), S(grid.TextMatrix(row, kUnitPrice).trimmed()),
                                 S(grid.TextMatrix(row, kGross).trimmed()),
                                 S(grid.TextMatrix(row, kUnit).trimmed())};
    if (const Verdict refusal = CheckPackageLine(entry)) {
        grid.SetCurrentCell(row, refusal->column);
        return ui::ShowRefusal(*refusal, *this);
    }
    if (grid.TextMatrix(row, kType) != "Ticket" || entry.gross.empty()) {
        return true;
    }
    const Currency unit = AmountOf(grid.TextMatrix(row, kUnitPrice));
    const Currency gross = AmountOf(grid.TextMatrix(row, kGross));
    // More than 80% off: (gross - unit) / unit > 0.8, in whole ten-thousandths.
    return unit.Raw() == 0 || (gross - unit).Raw() * 10 <= unit.Raw() * 8 ||
           MsgBox(
               "Are you sure you want to create a price more than 80% less than the gross "
               "price for row " +
                   std::to_string(row) + " " + entry.description + "?",
               kQuestionYesNo, "Confirm Large Discount") == MsgResult::Yes;
}

bool frmPackageDetailPricing::ConfirmAccessRule(int row) {
    FlexGrid& grid = *ui_->fgGrid;
    if (grid.TextMatrix(row, kConfirmed) != "0") {
        return true;
    }
    const std::string suffix = std::to_string(row) + " " + S(grid.TextMatrix(row, kDescription));
    const int rule = grid.TextMatrix(row, kAccessRule).toInt();
    MsgResult answer = MsgResult::Yes;
    if (rule == 0) {
        answer =
            MsgBox("Are you sure you don't want to assign an access rule to row " + suffix + "?",
                   kQuestionYesNo, "Confirm No Access Rule");
    } else if (rule != grid.TextMatrix(row, kOrgAccessRule).toInt()) {
        answer = MsgBox("Are you sure you want to change the access rule to: " +
                            S(grid.DisplayText(row, kAccessRule)) + " for row " + suffix + "?",
                        kQuestionYesNo, "Confirm Access Rule Change");
    } else if (rule != grid.TextMatrix(row, kItemAccessRule).toInt()) {
        answer = MsgBox(
            "Access Rule not equal Item Access Rule - Do you want to save?  For row " + suffix,
            kQuestionYesNo, "Access Rule Warning");
    }
    if (answer != MsgResult::Yes) {
        grid.SetCurrentCell(row, kAccessRule);
        return false;
    }
    grid.SetTextMatrix(row, kConfirmed, "-1");
    return true;
}

bool frmPackageDetailPricing::ConfirmRounding() {
    std::vector<PackagePriceLine> lines;
    for (int row = 1; row < ui_->fgGrid->Rows(); ++row) {
        lines.push_back(LineOf(row));
    }
    const PackageTotals totals = TotalsOf(lines);
    if (!ChargeDiffers(totals)) {
        return true;
    }
    return MsgBox(
               "Warning the package price that you have set will not be the price that the "
               "customer is charged due to rounding issues in line prices.\r\nYour price is " +
                   Format(Value(totals.total), "Currency") +
                   "\r\nThe total price the customer would be charged is " +
                   Format(Value(totals.charged), "Currency") +
                   "\r\nDo you want to adjust your price?",
               kQuestionYesNoDefaultNo, "Final Price Rounding Issue") != MsgResult::Yes;
}

std::optional<std::int32_t> frmPackageDetailPricing::UpdatePackagePrice() {
    std::optional<std::int32_t> saved;
    const Currency total = AmountOf(ui_->txtTotal->text());
    auto command = NewProcedure(*db_, "VYM_SP_ITEM_UpdatePrice");
    ParameterList& p = command->Parameters;
    p["@vym_user"].Value = db_->CurrentUserId();
    if (request_.priceNo != 0) {
        p["@price_no"].Value = request_.priceNo;
    } else {
        p["@package_no"].Value = request_.package->PackageNo;
        p["@season_no"].Value = request_.seasonNo == 0 ? Value::Null() : Value(request_.seasonNo);
        p["@discount_id"].Value = NullIfEmpty(request_.discountId);
        p["@unit_qty"].Value = request_.unitQty;
    }
    p["@unit_id"].Value = NullIfEmpty(request_.unitId);
    p["@price"].Value = total;
    p["@unit_price"].Value = PerUnit(total, request_.unitQty);
    if (db_->Execute(*command)) {
        const std::string message = NullToEmpty(p["@Message"].Value);
        if (!message.empty()) {
            MsgBox(message, kInformation, "Update Price Message");
        } else {
            saved = NullToZero(p["@price_no"].Value).ToLong();
        }
    }
    return saved;
}

std::optional<std::pair<std::int32_t, QString>> frmPackageDetailPricing::UpdatePrice(
    int row, std::int32_t packagePriceNo) {
    const FlexGrid& grid = *ui_->fgGrid;
    const std::int32_t priceNo = grid.TextMatrix(row, kPriceNo).toInt();
    auto command = NewProcedure(
        *db_, "VYM_SP_ITEM_UpdatePrice",
        {{"@vym_user", db_->CurrentUserId()},
         {"@price_no", priceNo == 0 ? Value::Null() : Value(priceNo)},
         {"@item_no", grid.RowData(row).toInt()},
         {"@package_no", request_.package->PackageNo},
         {"@package_price_no", packagePriceNo},
         {"@season_no", request_.seasonNo == 0 ? Value::Null() : Value(request_.seasonNo)},
         {"@discount_id", NullIfEmpty(request_.discountId)},
         {"@unit_id", NullIfEmpty(grid.TextMatrix(row, kUnit).trimmed())},
         {"@unit_qty", NumberOrNull(grid.TextMatrix(row, kUnitQty))},
         {"@access_rule_no", grid.TextMatrix(row, kAccessRule).toInt()},
         {"@acct_units", NumberOrNull(grid.TextMatrix(row, kAcctUnits))},
         {"@print_qty", NumberOrNull(grid.TextMatrix(row, kPrintQty))},
         {"@gross_unit_price", AmountOrNull(grid.TextMatrix(row, kGross))},
         {"@allow_line_discount", grid.CellChecked(row, kLineDiscount)},
         {"@seller_pricing", request_.sellerPrice},
         {"@price", AmountOf(grid.TextMatrix(row, kSubTotal))},
         {"@unit_price", AmountOf(grid.TextMatrix(row, kUnitPrice))}});
    if (!db_->Execute(*command)) {
        return std::nullopt;
    }
    const std::string message = NullToEmpty(command->Parameters["@Message"].Value);
    if (!message.empty()) {
        MsgBox(message, kInformation, "Update Price Message");
        return std::nullopt;
    }
    return std::pair{NullToZero(command->Parameters["@price_no"].Value).ToLong(),
                     Q(Format(command->Parameters["@gross_unit_price"].Value, "0.0000"))};
}

bool frmPackageDetailPricing::SavePrices() {
    FlexGrid& grid = *ui_->fgGrid;
    std::int32_t packagePriceNo = 0;
    std::vector<std::pair<std::int32_t, QString>> lines;  // by row, from row 1
    bool complete = false;
    trap_.Run(errors_, "SavePrices", &db_->Native(), [&] {
        Transaction transaction(*db_);
        const auto saved = UpdatePackagePrice();
        if (!saved) {
            return;
        }
        packagePriceNo = *saved;
        for (int row = 1; row < grid.Rows(); ++row) {
            const auto line = UpdatePrice(row, packagePriceNo);
            if (!line) {
                return;
            }
            lines.push_back(*line);
        }
        transaction.Commit();
        complete = true;
    });
    if (!complete) {
        return false;
    }
    // Only once everything is saved does the grid take the numbers.
    for (int row = 1; row < grid.Rows(); ++row) {
        grid.SetTextMatrix(row, kPriceNo, QString::number(lines[row - 1].first));
        grid.SetTextMatrix(row, kGross, lines[row - 1].second);
    }
    result_ = {packagePriceNo, ui_->txtTotal->text(), false};
    request_.priceNo = packagePriceNo;
    return true;
}

void frmPackageDetailPricing::cmdOk_Click() {
    if (db_ == nullptr || !ValidatePrices()) {
        return;
    }
    if (SavePrices()) {
        accept();
    } else if (MsgBox("Unable to save data.  Close anyway", kQuestionYesNo, "Save Error") ==
               MsgResult::Yes) {
        reject();
    }
}

void frmPackageDetailPricing::cmdDelete_Click() {
    if (db_ == nullptr || request_.priceNo == 0 ||
        MsgBox("Are you sure you want to delete all the item prices for this package?",
               kQuestionYesNo, "Confirm Package Price Delete") != MsgResult::Yes) {
        return;
    }
    bool deleted = false;
    trap_.Run(errors_, "cmdDelete_Click", &db_->Native(), [&] {
        auto command =
            NewProcedure(*db_, "VyM_SP_ITEM_DeletePrice", {{"@price_no", request_.priceNo}});
        if (!db_->Execute(*command)) {
            return;
        }
        if (Refused(command->Parameters["@return_value"].Value)) {
            MsgBox(NullToEmpty(command->Parameters["@Message"].Value), kInformation,
                   "Error Deleting Price");
            return;
        }
        deleted = true;
    });
    if (deleted) {
        result_ = {request_.priceNo, QString(), true};
        accept();
    }
}

}  // namespace vym
