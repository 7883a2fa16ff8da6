#include "packages/frm_rental_package_upgrade_pricing.h"

#include <QList>
#include <algorithm>

#include "base/format.h"
#include "base/prompter.h"
#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/row_version.h"
#include "gateway/transaction.h"
#include "host/screen_context.h"
#include "packages/frm_rental_upgrade_pricing_new.h"
#include "packages/rental_upgrade_rules.h"
#include "ui/flex_grid.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui/show_refusal.h"
#include "ui_frm_rental_package_upgrade_pricing.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::S;

namespace {

constexpr int kStatus = 0;  // "0" unchanged, "-1" changed
constexpr int kPayFirstNo = 1;
constexpr int kPayFirst = 2;
constexpr int kRentalNo = 3;
constexpr int kRental = 4;
constexpr int kPrice = 5;

}  // namespace

frmRentalPackageUpgradePricing::frmRentalPackageUpgradePricing(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmRentalPackageUpgradePricing>()) {
    ui_->setupUi(this);
    FlexGrid& grid = *ui_->fgUpgrades;
    grid.SetFormatString(
        "Status|PayFirstItemNo|PayFirstItemDescription|RentalItemNo|RentalItemDescription|"
        "Upgrade Price");
    grid.SetColumnFormat(kPrice, "0.0000");
    grid.SetColumnAlignment(kPrice, FlexGrid::Alignment::Right);
    for (int col : {kStatus, kPayFirstNo, kRentalNo}) {
        grid.SetColumnHidden(col, true);
    }
    for (int col = 0; col < grid.Cols(); ++col) {
        grid.SetColumnEditable(col, col == kPrice);
    }
    grid.SetEditable(true);
    grid.SetSelectionMode(FlexGrid::SelectionMode::MultiRow);

    connect(&grid, &FlexGrid::ValidateEdit, this,
            &frmRentalPackageUpgradePricing::fgUpgrades_ValidateEdit);
    connect(&grid, &FlexGrid::AfterEdit, this,
            [this](int row, int) { ui_->fgUpgrades->SetTextMatrix(row, kStatus, "-1"); });
    connect(ui_->cmdAdd, &QPushButton::clicked, this,
            &frmRentalPackageUpgradePricing::cmdAdd_Click);
    connect(ui_->cmdDelete, &QPushButton::clicked, this,
            &frmRentalPackageUpgradePricing::cmdDelete_Click);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmRentalPackageUpgradePricing::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmRentalPackageUpgradePricing::~frmRentalPackageUpgradePricing() = default;

bool frmRentalPackageUpgradePricing::Setup(ScreenContext* itemMaint) {
    itemMaint_ = itemMaint;
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    return db_ != nullptr && LoadUpgrades();
}

bool frmRentalPackageUpgradePricing::LoadUpgrades() {
    FlexGrid& grid = *ui_->fgUpgrades;
    grid.Clear();
    const bool loaded = trap_.Run(errors_, "LoadUpgrades", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_RENTAL_UPGRADE_PRICE_get");
        auto rows = db_->ExecuteRecordset(*command);
        grid.BeginBulkLoad();
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            AppendUpgrade(FieldText(*rows, "pay_first_package_item_no"),
                          FieldText(*rows, "pay_first_description"),
                          FieldText(*rows, "rental_package_item_no"),
                          FieldText(*rows, "rental_description"), FieldText(*rows, "upgrade_price"),
                          ReadRowVersion(*rows));
        }
        grid.EndBulkLoad();
    });
    grid.AutoSizeColumns();
    return loaded;
}

void frmRentalPackageUpgradePricing::AppendUpgrade(const QString& payFirstNo,
                                                   const QString& payFirst, const QString& rentalNo,
                                                   const QString& rental, const QString& price,
                                                   std::int32_t version) {
    FlexGrid& grid = *ui_->fgUpgrades;
    grid.AddItem(QString());
    const int row = grid.Rows() - 1;
    grid.SetTextMatrix(row, kStatus, "0");
    grid.SetTextMatrix(row, kPayFirstNo, payFirstNo);
    grid.SetCellData(row, kPayFirstNo, version);
    grid.SetTextMatrix(row, kPayFirst, payFirst + " (" + payFirstNo + ")");
    grid.SetTextMatrix(row, kRentalNo, rentalNo);
    grid.SetTextMatrix(row, kRental, rental + " (" + rentalNo + ")");
    grid.SetTextMatrix(row, kPrice, price);
}

void frmRentalPackageUpgradePricing::fgUpgrades_ValidateEdit(int, int, const QString& text,
                                                             bool& cancel) {
    if (!ParseUpgradePrice(S(text.trimmed()))) {
        ui::ShowRefusal(InvalidUpgradePrice(), *this);
        cancel = true;
    }
}

bool frmRentalPackageUpgradePricing::CallForRow(const char* procedure, int row,
                                                const char* errorTitle, bool withPrice) {
    const FlexGrid& grid = *ui_->fgUpgrades;
    auto command =
        NewProcedure(*db_, procedure,
                     {{"@pay_first_package_item_no", grid.TextMatrix(row, kPayFirstNo).toInt()},
                      {"@rental_package_item_no", grid.TextMatrix(row, kRentalNo).toInt()}});
    if (withPrice) {
        command->Parameters["@upgrade_price"].Value =
            *ParseUpgradePrice(S(grid.TextMatrix(row, kPrice).trimmed()));
    }
    SendRowVersion(command->Parameters, grid.CellData(row, kPayFirstNo).toInt());
    if (!db_->Execute(*command) || conflict_.Refused(command->Parameters)) {
        return false;
    }
    const Value returned = command->Parameters["@return_value"].Value;
    if (!returned.IsNull() && returned.ToLong() < 0) {
        ui_->fgUpgrades->SetCurrentCell(row, kPrice);
        MsgBox(NullToEmpty(command->Parameters["@message"].Value), kInformation, errorTitle);
        return false;
    }
    return true;
}

void frmRentalPackageUpgradePricing::cmdAdd_Click() {
    frmRentalUpgradePricingNew dialog(this);
    if (itemMaint_ == nullptr || !dialog.Setup(itemMaint_) ||
        ui::RunModal(dialog) != QDialog::Accepted) {
        return;
    }
    AppendUpgrade(QString::number(dialog.PayFirstItemNo()), dialog.PayFirstDescription(),
                  QString::number(dialog.RentalItemNo()), dialog.RentalDescription(),
                  dialog.UpgradePrice(), dialog.RowVersion());
    ui_->fgUpgrades->SetCurrentCell(ui_->fgUpgrades->Rows() - 1, kPrice);
}

void frmRentalPackageUpgradePricing::cmdDelete_Click() {
    FlexGrid& grid = *ui_->fgUpgrades;
    QList<int> rows = grid.SelectedRows();
    if (db_ == nullptr || rows.isEmpty() ||
        MsgBox("Are you sure you want to delete the selected upgrade prices?",
               kQuestionYesNoDefaultNo, "Confirm Price Delete") != MsgResult::Yes) {
        return;
    }
    bool deleted = false;
    trap_.Run(errors_, "cmdDelete_Click", &db_->Native(), [&] {
        Transaction transaction(*db_);
        for (int row : rows) {
            if (!CallForRow("VYM_SP_ITEM_RENTAL_UPGRADE_PRICE_delete", row,
                            "Error Deleting Upgrade Price", false)) {
                return;
            }
        }
        transaction.Commit();
        deleted = true;
    });
    if (!deleted) {
        OfferReload();
        return;
    }
    std::sort(rows.rbegin(), rows.rend());
    for (int row : rows) {
        grid.RemoveItem(row);
    }
}

void frmRentalPackageUpgradePricing::cmdOk_Click() {
    FlexGrid& grid = *ui_->fgUpgrades;
    bool saved = false;
    trap_.Run(errors_, "cmdOk_Click", &db_->Native(), [&] {
        Transaction transaction(*db_);
        for (int row = 1; row < grid.Rows(); ++row) {
            if (grid.TextMatrix(row, kStatus) == "-1" &&
                !CallForRow("VYM_SP_ITEM_RENTAL_UPGRADE_PRICE_update", row,
                            "Error Updating Rental Upgrade Price", true)) {
                return;
            }
        }
        transaction.Commit();
        saved = true;
    });
    if (saved) {
        accept();
    } else {
        OfferReload();
    }
}

void frmRentalPackageUpgradePricing::OfferReload() {
    // Rolled back: nothing of the save stayed. Yes shows the other station's prices.
    if (conflict_.OfferReload()) {
        LoadUpgrades();
    }
}

}  // namespace vym
