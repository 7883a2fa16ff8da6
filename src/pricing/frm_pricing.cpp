#include "pricing/frm_pricing.h"

#include <utility>
#include <vector>

#include "base/currency.h"
#include "base/format.h"
#include "base/prompter.h"
#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/row_version.h"
#include "gateway/transaction.h"
#include "host/row_conflict.h"
#include "host/screen_context.h"
#include "model/citem.h"
#include "model/citem_ss.h"
#include "model/citem_ticket.h"
#include "model/cpackage.h"
#include "pricing/frm_add_price.h"
#include "pricing/frm_price_history.h"
#include "ui/flex_grid.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui_frm_pricing.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::NullIfEmpty;

namespace {

constexpr int kState = 0;      // "" loaded, "1" new or changed, "-1" deleted, "0" saved
constexpr int kExtension = 1;  // the extension item's number is the cell's data
constexpr int kSeasonNo = 2;
constexpr int kSeason = 3;
constexpr int kDiscountId = 4;
constexpr int kDiscount = 5;
constexpr int kParentUnitId = 6;
constexpr int kParentUnit = 7;
constexpr int kUnitQty = 8;  // headed "UnitId"
constexpr int kUnitId = 9;   // headed "Units"
constexpr int kUnit = 10;
constexpr int kPrice = 11;
constexpr int kUnitPrice = 12;
constexpr int kGross = 13;
constexpr int kSellerDisc = 14;
constexpr int kSellerPrice = 15;
constexpr int kAcctUnits = 16;
constexpr int kPrintQty = 17;
constexpr int kAccessRule = 18;
constexpr int kOrgAccessRule = 19;
constexpr int kConfirmed = 20;  // "-1" confirmed, "0" rule edited, "" new row

constexpr int kDetailColumns[] = {kUnitPrice,  kGross,     kAccessRule, kSellerPrice,
                                  kSellerDisc, kAcctUnits, kPrintQty};

const QString kDeleted = "-1";

std::optional<double> Amount(const QString& text) {
    return ParseNumber(text.trimmed().toStdString());
}

QString AmountText(double value, int places) {
    return QString::number(RoundHalfEven(value, places), 'f', places);
}

Currency CurrencyOf(const QString& text) {
    return Currency::FromDouble(Amount(text).value_or(0));
}

// The divisor between a row's price and its unit price: 0 units count as 1.
int Divisor(const FlexGrid& grid, int row) {
    const int units = grid.TextMatrix(row, kUnitQty).toInt();
    return units == 0 ? 1 : units;
}

// Empty cells go to the procedure as Null.
Value NumberOrNull(const QString& text) {
    bool number = false;
    const int value = text.trimmed().toInt(&number);
    return number ? Value(value) : Value::Null();
}
Value AmountOrNull(const QString& text) {
    const auto amount = Amount(text);
    return amount ? Value(Currency::FromDouble(*amount)) : Value::Null();
}

bool Refused(const Value& returnValue) {
    return !returnValue.IsNull() && returnValue.ToLong() < 0;
}

// Cell by cell, so that a tab in a description cannot shift the columns.
int AppendRow(FlexGrid& grid) {
    grid.AddItem(QString());
    return grid.Rows() - 1;
}

}  // namespace

frmPricing::frmPricing(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::frmPricing>()) {
    ui_->setupUi(this);
    ui_->tabPricing->AddTab("ITEM", "Item Prices");
    ui_->tabPricing->AddTab("EXT", "Extension Prices");

    FlexGrid& grid = *ui_->fgPrices;
    grid.SetFormatString(
        "State|Extension Item|SeasonNo|<Season|DiscountId|<Discount|Parent UnitId|Parent "
        "Unit|UnitId|Units|Unit|>Price|>Unit Price|>Gross Unit "
        "Price|Seller Disc|Seller Price|^Acct Units|^Print Qty|Access Rule|Org Access "
        "Rule|colConfirmed");
    grid.SetColumnKind(kSellerDisc, FlexGrid::ColumnKind::CheckBox);
    grid.SetColumnKind(kSellerPrice, FlexGrid::ColumnKind::CheckBox);
    grid.SetColumnFormat(kPrice, "0.00");
    grid.SetColumnFormat(kUnitPrice, "$0.0000");
    grid.SetColumnFormat(kGross, "$0.0000");
    for (int col : {kState, kSeasonNo, kDiscountId, kParentUnitId, kUnitQty, kUnitId}) {
        grid.SetColumnHidden(col, true);
    }
    for (int col = kUnitPrice; col <= kConfirmed; ++col) {
        grid.SetColumnHidden(col, true);
    }
    grid.SetEditable(true);

    connect(ui_->tabPricing, &ui::KeyTabBar::CurrentKeyChanged, this, &frmPricing::ApplyTabFilter);
    connect(&grid, &FlexGrid::BeforeEdit, this, &frmPricing::fgPrices_BeforeEdit);
    connect(&grid, &FlexGrid::ValidateEdit, this, &frmPricing::fgPrices_ValidateEdit);
    connect(&grid, &FlexGrid::AfterEdit, this, &frmPricing::fgPrices_AfterEdit);
    connect(&grid, &FlexGrid::CellButtonClick, this, &frmPricing::fgPrices_CellButtonClick);
    connect(ui_->cmdAdd, &QPushButton::clicked, this, &frmPricing::AddPrice);
    connect(ui_->cmdDelete, &QPushButton::clicked, this, &frmPricing::DeleteRow);
    connect(ui_->cmdDetail, &QPushButton::clicked, this, &frmPricing::ToggleDetail);
    connect(ui_->cmdHistory, &QPushButton::clicked, this, [this] {
        frmPriceHistory history(this);
        if (history.Setup(itemMaint_, packageMode_ ? 0 : item_->ItemNo,
                          packageMode_ ? package_->PackageNo : 0,
                          ui::Q(packageMode_ ? package_->Description : item_->LongDescription))) {
            ui::RunModal(history);
        }
    });
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmPricing::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmPricing::~frmPricing() = default;

bool frmPricing::Setup(ScreenContext* itemMaint, CItem* oItem, CPackage* oPackage) {
    itemMaint_ = itemMaint;
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    item_ = oItem;
    package_ = oPackage;
    packageMode_ = oPackage != nullptr;
    if (db_ == nullptr || (!packageMode_ && item_ == nullptr)) {
        return false;
    }
    accessRules_ = !packageMode_ && item_->PromptForAccessNo();
    const bool prepared = trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        const QString description =
            QString::fromStdString(packageMode_ ? package_->Description : item_->LongDescription);
        const std::int32_t number = packageMode_ ? package_->PackageNo : item_->ItemNo;
        setWindowTitle("Pricing for: " + description + " (" + QString::number(number) + ")");
        ui_->cmdDetail->setText("Show Detail");
        ui_->cmdDetail->setVisible(!packageMode_);
        if (packageMode_) {
            // A package price is made of the prices of its lines, set line by
            // line in the package detail pricing behind the price's button.
            ui_->fgPrices->SetColumnKind(kPrice, FlexGrid::ColumnKind::Button);
        }
        ui_->tabPricing->setVisible(!packageMode_ && item_->HasExtensions(db_, errors_));
    });
    return prepared && (!accessRules_ || LoadRules()) && LoadPrices();
}

bool frmPricing::LoadRules() {
    return trap_.Run(errors_, "LoadRules", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetAccessRules");
        auto rows = db_->ExecuteRecordset(*command);
        if (!rows->IsOpen() || rows->Eof()) {
            return;
        }
        QStringList entries;
        for (; !rows->Eof(); rows->MoveNext()) {
            entries << "#" + FieldText(*rows, "access_rule_no") + ";" +
                           FieldText(*rows, "description").replace('|', '/').replace(';', ',');
        }
        ui_->fgPrices->SetColumnComboList(kAccessRule, "|#0;[NO RULE]|" + entries.join("|"));
    });
}

bool frmPricing::LoadPrices() {
    FlexGrid& grid = *ui_->fgPrices;
    grid.Clear();
    const bool loaded = trap_.Run(errors_, "LoadPrices", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetPrices");
        if (packageMode_) {
            command->Parameters["@package_no"].Value = package_->PackageNo;
        } else {
            command->Parameters["@item_no"].Value = item_->ItemNo;
        }
        command->Parameters["@is_active"].Value = true;
        auto rows = db_->ExecuteRecordset(*command);
        grid.BeginBulkLoad();
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const int row = AppendRow(grid);
            grid.SetRowData(row, FieldText(*rows, "price_no").toInt());
            // The version of the price read, for its save to send.
            grid.SetCellData(row, kState, ReadRowVersion(*rows));
            grid.SetTextMatrix(row, kExtension, FieldText(*rows, "extension_description"));
            grid.SetCellData(row, kExtension, FieldText(*rows, "child_item_no").toInt());
            const QString season = FieldText(*rows, "season_no");
            grid.SetTextMatrix(row, kSeasonNo, season);
            grid.SetTextMatrix(
                row, kSeason,
                season == "0" ? "[ANY Season]" : FieldText(*rows, "season_description"));
            grid.SetTextMatrix(row, kParentUnitId, FieldText(*rows, "parent_unit_id"));
            grid.SetTextMatrix(row, kParentUnit, FieldText(*rows, "parent_unit_description"));
            const QString unit = FieldText(*rows, "unit_id");
            const QString unitDescription = FieldText(*rows, "unit_description");
            grid.SetTextMatrix(row, kUnitId, unit);
            grid.SetTextMatrix(row, kUnit, unitDescription.isEmpty() ? unit : unitDescription);
            grid.SetTextMatrix(row, kUnitQty, FieldText(*rows, "unit_qty"));
            const QString discount = FieldText(*rows, "discount_id").trimmed();
            grid.SetTextMatrix(row, kDiscountId, discount);
            grid.SetTextMatrix(
                row, kDiscount,
                discount.isEmpty() ? "[BASE Price]" : FieldText(*rows, "discount_description"));
            grid.SetTextMatrix(row, kPrice, FieldText(*rows, "Price"));
            grid.SetTextMatrix(row, kUnitPrice, FieldText(*rows, "unit_price"));
            grid.SetTextMatrix(row, kGross, FieldText(*rows, "gross_unit_price"));
            grid.SetTextMatrix(row, kPrintQty, FieldText(*rows, "print_qty"));
            grid.SetTextMatrix(row, kAcctUnits, FieldText(*rows, "acct_units"));
            grid.SetCellChecked(row, kSellerDisc, rows->Fields("allow_line_discount").Flag());
            grid.SetCellChecked(row, kSellerPrice, rows->Fields("seller_pricing").Flag());
            const QString rule = FieldText(*rows, "access_rule_no");
            grid.SetTextMatrix(row, kAccessRule, rule);
            grid.SetTextMatrix(row, kOrgAccessRule, rule);
            grid.SetTextMatrix(row, kConfirmed, "-1");
        }
        grid.EndBulkLoad();
    });
    grid.AutoSizeColumns();
    ApplyTabFilter();
    return loaded;
}

void frmPricing::ApplyTabFilter() {
    FlexGrid& grid = *ui_->fgPrices;
    const bool ext = ui_->tabPricing->CurrentKey() == "EXT";
    grid.SetColumnHidden(kExtension, !ext);
    grid.SetColumnHidden(kParentUnit, !ext);
    int first = 0;
    for (int row = 1; row < grid.Rows(); ++row) {
        const bool shown = grid.TextMatrix(row, kState) != kDeleted &&
                           (grid.CellData(row, kExtension).toInt() != 0) == ext;
        grid.SetRowHidden(row, !shown);
        if (shown && first == 0) {
            first = row;
        }
    }
    if (first != 0) {
        grid.SetCurrentCell(first, kSeason);
    }
}

void frmPricing::ToggleDetail() {
    const bool show = ui_->cmdDetail->text() != "Hide Detail";
    ui_->cmdDetail->setText(show ? "Hide Detail" : "Show Detail");
    for (int col : kDetailColumns) {
        ui_->fgPrices->SetColumnHidden(col, !show);
    }
}

void frmPricing::AddPrice() {
    if (db_ == nullptr) {
        return;
    }
    const bool extension = ui_->tabPricing->CurrentKey() == "EXT";
    frmAddPrice dialog(this);
    if (!dialog.Setup(db_, errors_, item_, package_, extension) ||
        ui::RunModal(dialog) != QDialog::Accepted) {
        return;
    }
    AppendPrice(dialog, extension);
}

void frmPricing::AppendPrice(const frmAddPrice& dialog, bool extension) {
    FlexGrid& grid = *ui_->fgPrices;
    const int row = AppendRow(grid);
    grid.SetRowData(row, 0);
    grid.SetTextMatrix(row, kState, "1");
    const frmAddPrice::UnitRow unit = extension ? dialog.ExtensionUnit() : dialog.Unit();
    if (extension) {
        grid.SetTextMatrix(row, kExtension, dialog.ExtensionItemDescription());
        grid.SetCellData(row, kExtension, dialog.ExtensionItemNo());
        grid.SetTextMatrix(row, kParentUnitId, dialog.Unit().UnitId);
        grid.SetTextMatrix(row, kParentUnit, dialog.Unit().Description);
    }
    grid.SetTextMatrix(row, kUnitId, unit.UnitId);
    grid.SetTextMatrix(row, kUnit, unit.Description.isEmpty() ? unit.UnitId : unit.Description);
    grid.SetTextMatrix(row, kAcctUnits, unit.AcctUnits);
    grid.SetTextMatrix(row, kPrintQty, unit.PrintQty);
    grid.SetTextMatrix(row, kUnitQty, unit.Units);

    const int divisor = Divisor(grid, row);
    const double unitPrice = RoundHalfEven(Amount(dialog.PriceText()).value_or(0) / divisor, 4);
    grid.SetTextMatrix(row, kPrice, AmountText(divisor * unitPrice, 4));
    grid.SetTextMatrix(row, kUnitPrice, AmountText(unitPrice, 4));
    grid.SetTextMatrix(row, kGross, AmountText(unitPrice, 4));

    grid.SetTextMatrix(row, kSeasonNo, dialog.SeasonKey());
    grid.SetTextMatrix(row, kSeason, dialog.SeasonText());
    grid.SetTextMatrix(row, kDiscountId, dialog.DiscountKey().mid(1));
    grid.SetTextMatrix(row, kDiscount, dialog.DiscountText());
    grid.SetCellChecked(row, kSellerDisc, false);
    grid.SetCellChecked(row, kSellerPrice, false);
    if (accessRules_) {
        const std::int32_t rule = item_->TicketItem() != nullptr ? item_->TicketItem()->AccessRuleNo
                                  : item_->SSItem() != nullptr   ? item_->SSItem()->AccessRuleNo
                                                                 : 0;
        grid.SetTextMatrix(row, kAccessRule, QString::number(rule));
    }

    for (int other = 1; other < row; ++other) {
        const bool same =
            !grid.IsRowHidden(other) &&
            grid.TextMatrix(other, kSeasonNo) == grid.TextMatrix(row, kSeasonNo) &&
            grid.TextMatrix(other, kUnitId)
                    .compare(grid.TextMatrix(row, kUnitId), Qt::CaseInsensitive) == 0 &&
            grid.TextMatrix(other, kDiscountId)
                    .compare(grid.TextMatrix(row, kDiscountId), Qt::CaseInsensitive) == 0 &&
            (!extension ||
             (grid.CellData(other, kExtension).toInt() == dialog.ExtensionItemNo() &&
              grid.TextMatrix(other, kParentUnitId)
                      .compare(grid.TextMatrix(row, kParentUnitId), Qt::CaseInsensitive) == 0));
        if (same) {
            MsgBox(std::string("This combination of") + (extension ? " extension item," : "") +
                       " season, discount and unit already has a price assigned.  Please edit "
                       "the existing price.",
                   kInformation, "Price already Exists.");
            grid.SetCurrentCell(other, kSeason);
            grid.RemoveItem(row);
            return;
        }
    }
    grid.SetCurrentCell(row, kSeason);
}

void frmPricing::DeleteRow() {
    FlexGrid& grid = *ui_->fgPrices;
    const int row = grid.Row();
    if (db_ == nullptr || row < 1 || grid.IsRowHidden(row)) {
        return;
    }
    const std::int32_t priceNo = grid.RowData(row).toInt();
    if (priceNo != 0) {
        bool deletable = false;
        trap_.Run(errors_, "DeleteRow", &db_->Native(), [&] {
            auto command =
                NewProcedure(*db_, "VyM_SP_ITEM_PRICE_validate_delete", {{"@price_no", priceNo}});
            if (!db_->Execute(*command)) {
                return;
            }
            if (Refused(command->Parameters["@return_value"].Value)) {
                std::string message = NullToEmpty(command->Parameters["@message"].Value);
                MsgBox(message.empty() ? "Unknown error." : message, kInformation,
                       "Delete Cancelled");
                return;
            }
            deletable = true;
        });
        if (!deletable) {
            return;
        }
    }
    if (MsgBox("Are you sure you want to delete the selected price row?", kQuestionYesNoDefaultNo,
               "Confirm Delete Price") != MsgResult::Yes) {
        return;
    }
    grid.SetTextMatrix(row, kState, kDeleted);
    grid.SetRowHidden(row, true);
}

bool frmPricing::DeletePrice(std::int32_t priceNo, std::int32_t version) {
    bool deleted = false;
    trap_.Run(errors_, "DeletePrice", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_DeletePrice", {{"@price_no", priceNo}});
        SendRowVersion(command->Parameters, version);
        if (!db_->Execute(*command)) {
            return;
        }
        if (conflict_.Refused(command->Parameters)) {
            return;
        }
        if (Refused(command->Parameters["@RETURN_VALUE"].Value)) {
            MsgBox(NullToEmpty(command->Parameters["@Message"].Value), kInformation,
                   "Error Deleting Price");
            return;
        }
        deleted = true;
    });
    return deleted;
}

void frmPricing::fgPrices_CellButtonClick(int row, int col) {
    FlexGrid& grid = *ui_->fgPrices;
    if (!packageMode_ || col != kPrice || itemMaint_ == nullptr) {
        return;
    }
    PackagePriceRequest request;
    request.package = package_;
    request.priceNo = grid.RowData(row).toInt();
    request.seasonNo = grid.TextMatrix(row, kSeasonNo).toInt();
    request.seasonDescription = grid.TextMatrix(row, kSeason);
    request.discountId = grid.TextMatrix(row, kDiscountId);
    request.unitId = grid.TextMatrix(row, kUnitId);
    request.unitDescription = grid.TextMatrix(row, kUnit);
    request.unitQty = grid.TextMatrix(row, kUnitQty).toInt();
    request.sellerDisc = grid.CellChecked(row, kSellerDisc);
    request.sellerPrice = grid.CellChecked(row, kSellerPrice);
    const auto result = itemMaint_->PackageDetailPricing(this, request);
    if (!result || result->priceNo == 0) {
        return;
    }
    if (result->deleted) {
        grid.RemoveItem(row);
        ApplyTabFilter();
        return;
    }
    // Saved by the dialog already.
    grid.SetRowData(row, result->priceNo);
    grid.SetTextMatrix(row, kPrice, result->price);
    grid.SetTextMatrix(row, kState, "0");
}

void frmPricing::fgPrices_BeforeEdit(int, int col, bool& cancel) {
    // In package mode the prices are set line by line, not here.
    cancel =
        packageMode_ || col < kPrice || col > kAccessRule || (col == kAccessRule && !accessRules_);
}

void frmPricing::fgPrices_ValidateEdit(int row, int col, const QString& text, bool& cancel) {
    editedText_.reset();
    FlexGrid& grid = *ui_->fgPrices;
    const QString typed = text.trimmed();
    const bool amountColumn = col == kPrice || col == kUnitPrice || col == kGross;
    if ((col == kPrice || col == kUnitPrice) && typed.isEmpty()) {
        const char* question =
            col == kPrice ? "Clearing a price will delete the price from the database.  Do you "
                            "want to delete the price?"
                          : "Clearing a unit price will delete the price from the database.  Do "
                            "you want to delete the price?";
        if (MsgBox(question, kQuestionYesNoDefaultNo, "Confirm Delete") != MsgResult::Yes) {
            cancel = true;
            return;
        }
        grid.SetTextMatrix(row, kState, kDeleted);
        grid.SetRowHidden(row, true);
        return;
    }
    if (amountColumn && !typed.isEmpty()) {
        // A price is an amount: anything else would be saved as something else.
        const auto amount = Amount(typed);
        if (!amount || *amount < 0) {
            MsgBox("Please enter a valid numeric value for price.", kInformation,
                   "InValid Price Value");
            cancel = true;
            return;
        }
    }
    if (col == kPrice || col == kUnitPrice) {
        const int divisor = Divisor(grid, row);
        double unitPrice = *Amount(typed);
        QString unitText = typed;
        if (col == kPrice) {
            unitPrice = RoundHalfEven(unitPrice / divisor, 4);
            unitText = AmountText(unitPrice, 4);
            editedText_ = AmountText(divisor * unitPrice, 4);
            grid.SetTextMatrix(row, kUnitPrice, unitText);
        } else {
            grid.SetTextMatrix(row, kPrice, AmountText(divisor * unitPrice, 2));
        }
        if (CurrencyOf(grid.TextMatrix(row, kGross)) < Currency::FromDouble(unitPrice)) {
            grid.SetTextMatrix(row, kGross, unitText);
        }
    } else if (col == kGross && !typed.isEmpty()) {
        if (CurrencyOf(typed) < CurrencyOf(grid.TextMatrix(row, kUnitPrice))) {
            MsgBox("The gross unit price may not be less than the unit price.", kInformation,
                   "Invalid Gross Price");
            cancel = true;
        }
    } else if (col == kAcctUnits || col == kPrintQty) {
        bool number = false;
        if (typed.toInt(&number) < 0 || !number) {
            const bool acctUnits = col == kAcctUnits;
            MsgBox(acctUnits ? "Acct Units must be a whole number of 0 or more."
                             : "Print Qty must be a whole number of 0 or more.",
                   kInformation, acctUnits ? "Invalid Acct Units" : "Invalid Print Qty");
            cancel = true;
        }
    }
}

void frmPricing::fgPrices_AfterEdit(int row, int col) {
    FlexGrid& grid = *ui_->fgPrices;
    if (editedText_) {
        grid.SetTextMatrix(row, col, *editedText_);
        editedText_.reset();
    }
    if (grid.TextMatrix(row, kState) != kDeleted) {
        grid.SetTextMatrix(row, kState, "1");
    }
    if (col == kAccessRule) {
        grid.SetTextMatrix(row, kConfirmed, "0");
    }
}

bool frmPricing::ValidatePrices() {
    FlexGrid& grid = *ui_->fgPrices;
    const bool ticket = !packageMode_ && item_->ItemType() == "TICKET";
    const std::int32_t itemRule = packageMode_ ? 0
                                  : item_->TicketItem() != nullptr
                                      ? item_->TicketItem()->AccessRuleNo
                                  : item_->SSItem() != nullptr ? item_->SSItem()->AccessRuleNo
                                                               : 0;
    // Every row of both tabs: the other tab's rows are hidden from view only.
    for (int row = 1; row < grid.Rows(); ++row) {
        if (grid.TextMatrix(row, kState) == kDeleted ||
            grid.TextMatrix(row, kGross).trimmed().isEmpty()) {
            continue;
        }
        const std::string r = std::to_string(row);
        // The row a message names is shown while it is asked about.
        const auto ask = [&](const std::string& text, MsgStyle style, const char* title) {
            ShowRow(row);
            return MsgBox(text, style, title);
        };
        // Only the package detail pricing saves a package price: a new row
        // without one would be dropped.
        if (packageMode_ && grid.RowData(row).toInt() == 0) {
            ask("Set the price of row " + r + " with the button in its Price cell before saving.",
                kInformation, "Price Not Set");
            return false;
        }
        const Currency gross = CurrencyOf(grid.TextMatrix(row, kGross));
        const Currency unit = CurrencyOf(grid.TextMatrix(row, kUnitPrice));
        if (!packageMode_ && gross < unit) {
            ask("Unit price may not be greater than gross unit price, row " + r, kInformation, "");
            return false;
        }
        // More than 80% off: (gross - unit) / unit > 0.8, in whole ten-thousandths.
        if (ticket && unit.Raw() != 0 && (gross - unit).Raw() * 10 > unit.Raw() * 8 &&
            ask("Are you sure you want to create a price more than 80% less than the gross price "
                "for row " +
                    r + "?",
                kQuestionYesNo, "Confirm Large Discount") != MsgResult::Yes) {
            return false;
        }
        if (grid.TextMatrix(row, kConfirmed) != "0" || !accessRules_) {
            continue;
        }
        const std::int32_t rule = grid.TextMatrix(row, kAccessRule).toInt();
        MsgResult answer;
        if (rule == 0 && itemRule == 0) {
            answer = ask("Are you sure you don't want to assign an access rule to row " + r +
                             "?  The item does not have a rule defind.",
                         kQuestionYesNo, "Confirm No Access Rule");
        } else if (rule == grid.TextMatrix(row, kOrgAccessRule).toInt() && rule != 0 &&
                   rule != itemRule) {
            answer =
                ask("Access Rule not equal Item Access Rule - Do you want to save?  For row " + r,
                    kQuestionYesNo, "Access Rule Warning");
        } else {
            answer =
                ask("Are you sure you want to change the access rule to: " +
                        grid.DisplayText(row, kAccessRule).toStdString() + " for row " + r + "?",
                    kQuestionYesNo, "Confirm Access Rule Change");
        }
        if (answer != MsgResult::Yes) {
            return false;
        }
        grid.SetTextMatrix(row, kConfirmed, "-1");
    }
    return true;
}

void frmPricing::ShowRow(int row) {
    FlexGrid& grid = *ui_->fgPrices;
    // A row that is not deleted is hidden only by the other tab.
    if (grid.IsRowHidden(row)) {
        ui_->tabPricing->SetCurrentKey(grid.CellData(row, kExtension).toInt() != 0 ? "EXT"
                                                                                   : "ITEM");
    }
    grid.SetCurrentCell(row, kSeason);
}

std::optional<frmPricing::SavedPrice> frmPricing::UpdatePrice(int row) {
    std::optional<SavedPrice> saved;
    trap_.Run(errors_, "UpdatePrices", &db_->Native(), [&] {
        const FlexGrid& grid = *ui_->fgPrices;
        const std::int32_t priceNo = grid.RowData(row).toInt();
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_UpdatePrice");
        ParameterList& p = command->Parameters;
        p["@vym_user"].Value = db_->CurrentUserId();
        if (priceNo == 0) {
            if (packageMode_) {
                p["@package_no"].Value = package_->PackageNo;
            } else {
                p["@item_no"].Value = item_->ItemNo;
            }
            const int child = grid.CellData(row, kExtension).toInt();
            p["@child_item_no"].Value = child == 0 ? Value::Null() : Value(child);
            p["@parent_unit_id"].Value = NullIfEmpty(grid.TextMatrix(row, kParentUnitId).trimmed());
            const int season = grid.TextMatrix(row, kSeasonNo).toInt();
            p["@season_no"].Value = season == 0 ? Value::Null() : Value(season);
            p["@discount_id"].Value = NullIfEmpty(grid.TextMatrix(row, kDiscountId).trimmed());
        }
        p["@price_no"].Value = priceNo == 0 ? Value::Null() : Value(priceNo);
        p["@unit_id"].Value = NullIfEmpty(grid.TextMatrix(row, kUnitId).trimmed());
        p["@unit_qty"].Value = NumberOrNull(grid.TextMatrix(row, kUnitQty));
        p["@unit_price"].Value = AmountOrNull(grid.TextMatrix(row, kUnitPrice));
        p["@gross_unit_price"].Value = AmountOrNull(grid.TextMatrix(row, kGross));
        p["@price"].Value = AmountOrNull(grid.TextMatrix(row, kPrice));
        p["@allow_line_discount"].Value = grid.CellChecked(row, kSellerDisc);
        p["@seller_pricing"].Value = grid.CellChecked(row, kSellerPrice);
        p["@acct_units"].Value = NumberOrNull(grid.TextMatrix(row, kAcctUnits));
        p["@print_qty"].Value = NumberOrNull(grid.TextMatrix(row, kPrintQty));
        p["@access_rule_no"].Value = NumberOrNull(grid.TextMatrix(row, kAccessRule));
        SendRowVersion(p, priceNo == 0 ? 0 : grid.CellData(row, kState).toInt());
        if (!db_->Execute(*command)) {
            return;
        }
        if (conflict_.Refused(p)) {
            return;
        }
        if (Refused(p["@RETURN_VALUE"].Value)) {
            MsgBox(NullToEmpty(p["@Message"].Value), kInformation, "Error Updating Price");
            return;
        }
        saved = SavedPrice{NullToZero(p["@price_no"].Value).ToLong(), SavedRowVersion(p)};
    });
    return saved;
}

bool frmPricing::UpdatePrices() {
    FlexGrid& grid = *ui_->fgPrices;
    std::vector<int> removed;  // descending, so that removing keeps the others' numbers
    std::vector<int> refused;
    std::vector<std::pair<int, SavedPrice>> saved;
    bool complete = true;
    const bool ran = trap_.Run(errors_, "UpdatePrices", &db_->Native(), [&] {
        Transaction transaction(*db_);
        // Deletes first, so that a new row may take the key of a deleted one.
        for (int row = grid.Rows() - 1; row >= 1; --row) {
            const std::int32_t priceNo = grid.RowData(row).toInt();
            if (grid.TextMatrix(row, kState) != kDeleted || priceNo == 0) {
                continue;
            }
            if (DeletePrice(priceNo, grid.CellData(row, kState).toInt())) {
                removed.push_back(row);
            } else {
                refused.push_back(row);
                complete = false;
            }
        }
        for (int row = grid.Rows() - 1; row >= 1 && !packageMode_; --row) {
            if (grid.TextMatrix(row, kState) != "1") {
                continue;
            }
            if (const auto price = UpdatePrice(row)) {
                saved.emplace_back(row, *price);
            } else {
                complete = false;
            }
        }
        if (complete) {
            transaction.Commit();
        }
    });
    if (!ran || !complete) {
        // Nothing was saved: the rows keep their states for another try, and a
        // row whose delete was refused comes back.
        for (int row : refused) {
            grid.SetTextMatrix(row, kState, "1");
        }
        ApplyTabFilter();
        if (conflict_.OfferReload()) {
            LoadPrices();
        }
        return false;
    }
    for (const auto& [row, price] : saved) {
        grid.SetTextMatrix(row, kState, "0");
        grid.SetRowData(row, price.priceNo);
        grid.SetCellData(row, kState, price.version);
    }
    for (int row : removed) {
        grid.RemoveItem(row);
    }
    return true;
}

void frmPricing::cmdOk_Click() {
    if (db_ != nullptr && ValidatePrices() && UpdatePrices()) {
        accept();
    }
}

}  // namespace vym
