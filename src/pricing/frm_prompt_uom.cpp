#include "pricing/frm_prompt_uom.h"

#include "base/prompter.h"
#include "gateway/connection.h"
#include "gateway/recordset.h"
#include "ui/qt_text.h"
#include "ui_frm_prompt_uom.h"

namespace vym {

using ui::FieldText;

frmPromptUOM::frmPromptUOM(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmPromptUOM>()) {
    ui_->setupUi(this);
    ui_->txtQty->setText("1");
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmPromptUOM::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmPromptUOM::~frmPromptUOM() = default;

bool frmPromptUOM::LoadUOM(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    return trap_.Run(oError, "LoadUOM", &oDB->Native(), [&] {
        auto rows = oDB->OpenRecordset("SELECT * FROM vym_uom ORDER BY description");
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            ui_->cmbUOM->AddEntry(FieldText(*rows, "uom_id"), FieldText(*rows, "Description"));
        }
    });
}

QString frmPromptUOM::UomId() const {
    return ui_->cmbUOM->Key();
}

// A row is one quantity of one unit of measure: a whole number of at least one.
void frmPromptUOM::cmdOk_Click() {
    bool whole = false;
    const int qty = ui_->txtQty->text().trimmed().toInt(&whole);
    if (!whole || qty < 1) {
        MsgBox("Please enter a whole number of 1 or more for the quantity.", kInformation,
               "InValid Quantity");
        ui_->txtQty->setFocus();
        ui_->txtQty->selectAll();
        return;
    }
    qty_ = qty;
    cancelled_ = false;
    accept();
}

}  // namespace vym
