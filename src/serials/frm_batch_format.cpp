#include "serials/frm_batch_format.h"

#include <QLineEdit>
#include <QPushButton>

#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "serials/serial_rules.h"
#include "ui/any_combo.h"
#include "ui/qt_text.h"
#include "ui/show_refusal.h"
#include "ui_frm_batch_format.h"

namespace vym {

frmBatchFormat::frmBatchFormat(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmBatchFormat>()) {
    ui_->setupUi(this);
    ui_->cmbPrintFormat->Reset("<None>");
    ui_->cmdOk->setDefault(true);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmBatchFormat::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmBatchFormat::~frmBatchFormat() = default;

void frmBatchFormat::Setup(Connection* oDB, ErrorObject* oError) {
    ui_->cmbPrintFormat->Reset();
    if (oDB == nullptr) {
        return;
    }
    trap_.Run(oError, "Setup", oDB, [&] {
        auto formats = oDB->ExecuteRecordset(
            *NewProcedure(*oDB, "VYM_SP_SERIAL_GetPrintFormat", {{"@print_format_type", "STOCK"}}));
        for (; !formats->Eof(); formats->MoveNext()) {
            ui_->cmbPrintFormat->AddEntry(ui::FieldText(*formats, "format_no"),
                                          ui::FieldText(*formats, "Description"));
        }
    });
}

void frmBatchFormat::cmdOk_Click() {
    const QString batch = ui_->txtBatchNo->text().trimmed();
    if (const Verdict refusal = CheckBatchFormat(ui::S(batch), !ui_->cmbPrintFormat->IsAny())) {
        ui::ShowRefusal(*refusal, *this);
        return;
    }
    batchNo_ = batch.toInt();
    printFormatNo_ = ui_->cmbPrintFormat->Key().toInt();
    accept();
}

}  // namespace vym
