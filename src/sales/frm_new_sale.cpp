#include "sales/frm_new_sale.h"

#include "base/prompter.h"
#include "model/csale.h"
#include "ui/qt_text.h"
#include "ui_frm_new_sale.h"

namespace vym {

frmNewSale::frmNewSale(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::frmNewSale>()) {
    ui_->setupUi(this);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmNewSale::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmNewSale::~frmNewSale() = default;

void frmNewSale::Setup(Connection* db, ErrorObject* errors, CSale* sale) {
    db_ = db;
    errors_ = errors;
    sale_ = sale;
    ui_->txtDescription->setText(ui::Q(sale->Description));
    ui_->optDept->setChecked(sale->SaleType == "Dept");
    ui_->optStockNo->setChecked(sale->SaleType == "StockNo");
}

void frmNewSale::cmdOk_Click() {
    if (sale_ == nullptr) {
        return;
    }
    if (ui_->optDept->isChecked()) {
        sale_->SaleType = "Dept";
    } else if (ui_->optStockNo->isChecked()) {
        sale_->SaleType = "StockNo";
    } else {
        MsgBox("Select how the sale is priced: by department and vendor or by item.", kInformation,
               "Sale Type Required");
        ui_->optStockNo->setFocus();
        return;
    }
    sale_->Description = ui::S(ui_->txtDescription->text());
    if (!sale_->Update(db_, errors_)) {
        return;
    }
    userCanceled_ = false;
    accept();
}

}  // namespace vym
