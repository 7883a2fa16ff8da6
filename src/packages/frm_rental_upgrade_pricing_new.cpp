#include "packages/frm_rental_upgrade_pricing_new.h"

#include <QListWidget>

#include "base/format.h"
#include "base/prompter.h"
#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/row_version.h"
#include "host/screen_context.h"
#include "packages/rental_upgrade_rules.h"
#include "ui/qt_text.h"
#include "ui/show_refusal.h"
#include "ui_frm_rental_upgrade_pricing_new.h"

namespace vym {

using ui::FieldText;
using ui::Q;
using ui::S;

namespace {

std::int32_t ChosenItem(const QListWidget& list) {
    const QListWidgetItem* item = list.currentItem();
    return item != nullptr && item->isSelected() ? item->data(Qt::UserRole).toInt() : 0;
}

QString ChosenText(const QListWidget& list) {
    return list.currentItem() != nullptr ? list.currentItem()->text() : QString();
}

}  // namespace

frmRentalUpgradePricingNew::frmRentalUpgradePricingNew(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmRentalUpgradePricingNew>()) {
    ui_->setupUi(this);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmRentalUpgradePricingNew::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmRentalUpgradePricingNew::~frmRentalUpgradePricingNew() = default;

bool frmRentalUpgradePricingNew::Setup(ScreenContext* itemMaint) {
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    if (db_ == nullptr) {
        return false;
    }
    return trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_RENTAL_PACKAGE_get");
        auto rows = db_->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            for (QListWidget* list : {ui_->lstPayFirst, ui_->lstRental}) {
                auto* item = new QListWidgetItem(FieldText(*rows, "long_description"), list);
                item->setData(Qt::UserRole, FieldText(*rows, "item_no").toInt());
            }
        }
    });
}

std::int32_t frmRentalUpgradePricingNew::PayFirstItemNo() const {
    return ChosenItem(*ui_->lstPayFirst);
}
QString frmRentalUpgradePricingNew::PayFirstDescription() const {
    return ChosenText(*ui_->lstPayFirst);
}
std::int32_t frmRentalUpgradePricingNew::RentalItemNo() const {
    return ChosenItem(*ui_->lstRental);
}
QString frmRentalUpgradePricingNew::RentalDescription() const {
    return ChosenText(*ui_->lstRental);
}

void frmRentalUpgradePricingNew::cmdOk_Click() {
    const std::string typed = S(ui_->txtUpgradePrice->text().trimmed());
    if (const Verdict refusal = CheckNewUpgrade(PayFirstItemNo(), RentalItemNo(), typed)) {
        ui::ShowRefusal(*refusal, *this);
        return;
    }
    const Currency price = *ParseUpgradePrice(typed);
    bool saved = false;
    trap_.Run(errors_, "cmdOk_Click", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_RENTAL_UPGRADE_PRICE_update",
                                    {{"@pay_first_package_item_no", PayFirstItemNo()},
                                     {"@rental_package_item_no", RentalItemNo()},
                                     {"@upgrade_price", price},
                                     {"@is_new", true}});
        if (!db_->Execute(*command)) {
            return;
        }
        const Value returned = command->Parameters["@return_value"].Value;
        if (!returned.IsNull() && returned.ToLong() < 0) {
            MsgBox(NullToEmpty(command->Parameters["@message"].Value), kInformation,
                   "Error Updating Rental Upgrade Price");
            return;
        }
        rowVersion_ = SavedRowVersion(command->Parameters);
        saved = true;
    });
    if (saved) {
        price_ = Q(Format(Value(price), "0.0000"));
        accept();
    }
}

}  // namespace vym
