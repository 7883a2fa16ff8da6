#include "pricing/frm_add_price.h"

#include <QEvent>
#include <QTimer>

#include "base/date.h"
#include "base/format.h"
#include "base/prompter.h"
#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "model/citem.h"
#include "model/cpackage.h"
#include "ui/data_combo.h"
#include "ui/image_combo.h"
#include "ui/qt_text.h"
#include "ui_frm_add_price.h"

namespace vym {

using ui::FieldText;

namespace {

// Unit lists: the columns of "VYM_SP_ITEM_GetUnit" in the order they are shown.
constexpr int kUnitId = 0;
constexpr int kUnits = 1;
constexpr int kUnitDescription = 2;
constexpr int kAcctUnits = 3;
constexpr int kPrintQty = 4;
// Extension items.
constexpr int kExtensionItemNo = 0;
constexpr int kExtensionDescription = 1;
constexpr int kExtensionFunction = 2;

void ShowUnitColumns(ui::DataCombo& units) {
    units.SetColumns({"Unit Id", "Units", "Description", "AcctUnits", "PrintQty"});
    units.SetListColumn(kUnitDescription);
}

frmAddPrice::UnitRow ChosenUnit(const ui::DataCombo& units) {
    return {units.Cell(kUnitId), units.Cell(kUnits), units.Cell(kUnitDescription),
            units.Cell(kAcctUnits), units.Cell(kPrintQty)};
}

}  // namespace

frmAddPrice::frmAddPrice(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmAddPrice>()) {
    ui_->setupUi(this);
    ShowUnitColumns(*ui_->cmbUnit);
    ShowUnitColumns(*ui_->cmbExtensionUnits);
    ui_->cmbExtensionItem->SetColumns({"ItemNo", "Description", "FunctionId"});
    ui_->cmbExtensionItem->SetListColumn(kExtensionDescription);
    ui_->txtPrice->installEventFilter(this);

    connect(ui_->cmbExtensionItem, &ui::DataCombo::KeyChanged, this,
            &frmAddPrice::cmbExtensionItem_Change);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmAddPrice::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmAddPrice::~frmAddPrice() = default;

bool frmAddPrice::Setup(Connection* oDB, ErrorObject* oError, CItem* oItem, CPackage* oPackage,
                        bool bExtension) {
    db_ = oDB;
    errors_ = oError;
    packageMode_ = oPackage != nullptr;
    if (db_ == nullptr || (oItem == nullptr && oPackage == nullptr)) {
        return false;
    }
    setWindowTitle("New Price for " + QString::fromStdString(packageMode_
                                                                 ? oPackage->Description
                                                                 : oItem->LongDescription));
    extension_ = bExtension && !packageMode_;
    if (extension_) {
        if (!LoadExtensions(oItem->ItemNo) || ui_->cmbExtensionItem->RowCount() == 0) {
            return false;
        }
    }
    ui_->fraExtension->setVisible(extension_);
    if (!LoadDiscount()) {
        return false;
    }
    const QString function =
        QString::fromStdString(packageMode_ ? oPackage->FunctionID : oItem->FunctionID);
    ui_->fraPrice->setVisible(!packageMode_);
    return LoadSeason(function) && LoadUnits(function, *ui_->cmbUnit);
}

bool frmAddPrice::LoadExtensions(std::int32_t itemNo) {
    ui::DataCombo& items = *ui_->cmbExtensionItem;
    items.ClearRows();
    return trap_.Run(errors_, "LoadSeason", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetItemExtensions", {{"@item_no", itemNo}});
        auto rows = db_->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            items.AddRow({FieldText(*rows, "child_item_no"), FieldText(*rows, "long_description"),
                          FieldText(*rows, "function_id")});
        }
        items.setCurrentIndex(-1);
    });
}

bool frmAddPrice::LoadSeason(const QString& functionId) {
    ui::ImageCombo& seasons = *ui_->cmbSeason;
    seasons.clear();
    seasons.AddEntry("0", "[ANY Season]");
    seasons.setCurrentIndex(0);
    return trap_.Run(errors_, "LoadSeason", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetSeason",
                                    {{"@is_active", true},
                                     {"@min_date", Date::Today()},
                                     {"@function_id", ui::NullIfEmpty(functionId)}});
        auto rows = db_->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            seasons.AddEntry(FieldText(*rows, "season_no"), FieldText(*rows, "Description"));
        }
    });
}

bool frmAddPrice::LoadDiscount() {
    ui::ImageCombo& discounts = *ui_->cmbDiscount;
    discounts.clear();
    discounts.AddEntry("'", "[BASE Price]");
    discounts.setCurrentIndex(0);
    return trap_.Run(errors_, "LoadDiscount", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetDiscount", {{"@is_active", true}});
        auto rows = db_->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            discounts.AddEntry(
                "'" + FieldText(*rows, "discount_id"),
                FieldText(*rows, "discount_type_id") + " " + FieldText(*rows, "Description"));
        }
    });
}

bool frmAddPrice::LoadUnits(const QString& functionId, ui::DataCombo& target) {
    target.ClearRows();
    const bool loaded = trap_.Run(errors_, "LoadUnits", &db_->Native(), [&] {
        auto command =
            NewProcedure(*db_, "VYM_SP_ITEM_GetUnit", {{"@function_id", functionId.toStdString()}});
        auto rows = db_->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            target.AddRow({FieldText(*rows, "unit_id"), FieldText(*rows, "Qty"),
                           FieldText(*rows, "Description"), FieldText(*rows, "acct_units"),
                           FieldText(*rows, "print_qty")});
        }
    });
    target.setCurrentIndex(-1);
    return loaded;
}

void frmAddPrice::cmbExtensionItem_Change() {
    if (db_ != nullptr) {
        LoadUnits(ui_->cmbExtensionItem->Cell(kExtensionFunction), *ui_->cmbExtensionUnits);
    }
}

bool frmAddPrice::eventFilter(QObject* watched, QEvent* event) {
    // Selected after the focus change, or the click that brought the focus
    // would place the cursor again.
    if (watched == ui_->txtPrice && event->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, ui_->txtPrice, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

void frmAddPrice::cmdOk_Click() {
    if (ui_->cmbUnit->Key().isEmpty()) {
        MsgBox("You must select a unit.", kInformation, "Unit Required");
        ui_->cmbUnit->setFocus();
        return;
    }
    if (!packageMode_) {
        const std::string price = ui_->txtPrice->text().trimmed().toStdString();
        if (price.empty()) {
            MsgBox("You must set a price or cancel.", kInformation, "Price Required");
            ui_->txtPrice->setFocus();
            return;
        }
        // The price list divides this text by the units: it must be an amount.
        const auto amount = ParseNumber(price);
        if (!amount || *amount < 0) {
            MsgBox("Please enter a valid numeric value for price.", kInformation,
                   "InValid Price Value");
            ui_->txtPrice->setFocus();
            return;
        }
    }
    if (extension_ && ui_->cmbExtensionItem->Key().isEmpty()) {
        MsgBox("You must select an extension item.", kInformation, "Extension Item Required");
        ui_->cmbExtensionItem->setFocus();
        return;
    }
    if (extension_ && ui_->cmbExtensionUnits->Key().isEmpty()) {
        MsgBox("You must select an extension unit.", kInformation, "Extension Unit Required");
        ui_->cmbExtensionUnits->setFocus();
        return;
    }
    accept();
}

QString frmAddPrice::SeasonKey() const {
    return ui_->cmbSeason->Key();
}

QString frmAddPrice::SeasonText() const {
    return ui_->cmbSeason->EntryText(ui_->cmbSeason->currentIndex());
}

QString frmAddPrice::DiscountKey() const {
    return ui_->cmbDiscount->Key();
}

QString frmAddPrice::DiscountText() const {
    return ui_->cmbDiscount->EntryText(ui_->cmbDiscount->currentIndex());
}

frmAddPrice::UnitRow frmAddPrice::Unit() const {
    return ChosenUnit(*ui_->cmbUnit);
}

frmAddPrice::UnitRow frmAddPrice::ExtensionUnit() const {
    return ChosenUnit(*ui_->cmbExtensionUnits);
}

std::int32_t frmAddPrice::ExtensionItemNo() const {
    return ui_->cmbExtensionItem->Cell(kExtensionItemNo).toInt();
}

QString frmAddPrice::ExtensionItemDescription() const {
    return ui_->cmbExtensionItem->Cell(kExtensionDescription);
}

QString frmAddPrice::PriceText() const {
    return ui_->txtPrice->text().trimmed();
}

}  // namespace vym
