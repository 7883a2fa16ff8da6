#include "console/frm_item_type.h"

#include "ui_frm_item_type.h"

namespace vym {

frmItemType::frmItemType(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmItemType>()) {
    ui_->setupUi(this);
    connect(ui_->cmdOk, &QPushButton::clicked, this, [this] {
        cancelled_ = false;
        accept();
    });
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmItemType::~frmItemType() = default;

void frmItemType::Setup(const QString& itemType) {
    cancelled_ = true;
    QRadioButton* option = ui_->optTicket;
    if (itemType == "SHIP") {
        option = ui_->optShip;
    } else if (itemType == "PHOTO") {
        option = ui_->optPhoto;
    } else if (itemType == "STOCK") {
        option = ui_->optStock;
    } else if (itemType == "SS") {
        option = ui_->optSkiSchool;
    } else if (itemType == "RENTAL") {
        option = ui_->optRental;
    }
    option->setChecked(true);
}

QString frmItemType::ItemType() const {
    const std::pair<const QRadioButton*, const char*> options[] = {
        {ui_->optTicket, "TICKET"}, {ui_->optSkiSchool, "SS"}, {ui_->optPhoto, "PHOTO"},
        {ui_->optShip, "SHIP"},     {ui_->optStock, "STOCK"},  {ui_->optRental, "RENTAL"},
    };
    for (const auto& [option, code] : options) {
        if (option->isChecked()) {
            return code;
        }
    }
    return {};
}

}  // namespace vym
