#include "templates/frm_new_template.h"

#include "base/prompter.h"
#include "gateway/procedure_call.h"
#include "host/screen_context.h"
#include "templates/template_lists.h"
#include "ui/qt_text.h"
#include "ui/show_refusal.h"
#include "ui_frm_new_template.h"

namespace vym {

using ui::S;

frmNewTemplate::frmNewTemplate(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmNewTemplate>()) {
    ui_->setupUi(this);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmNewTemplate::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmNewTemplate::~frmNewTemplate() = default;

bool frmNewTemplate::Setup(ScreenContext* itemMaint, std::int32_t formatNo) {
    formatNo_ = formatNo;
    db_ = itemMaint->DBConnection().get();
    errors_ = itemMaint->ErrorObject();
    if (db_ == nullptr) {
        return false;
    }
    return trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        FillTemplateLists(*db_, *ui_->cmbPrinterPage, *ui_->cmbCustomerLevel,
                          *ui_->cmbTemplateType);
    });
}

NewTemplateEntry frmNewTemplate::Entry() const {
    return {S(ui_->cmbPrinterPage->Key()), S(ui_->cmbTemplateType->Key()),
            S(ui_->txtDescription->text()), S(ui_->cmbCustomerLevel->Key())};
}

std::optional<bool> frmNewTemplate::Exists(const NewTemplateEntry& entry) {
    bool exists = false;
    const bool ran = trap_.Run(errors_, "cmdOk_Click", &db_->Native(), [&] {
        const auto [printer, page] = SplitPrinterPage(entry.printerPage);
        auto cmd = NewProcedure(*db_, "VYM_SP_ITEM_GetPrintFormatTemplate",
                                {{"@format_no", formatNo_},
                                 {"@printer_type_id", printer},
                                 {"@page_size_id", page},
                                 {"@customer_level_id", entry.customerLevel}});
        db_->Execute(*cmd);
        exists = NullToZero(cmd->Parameters["@RETURN_VALUE"].Value).ToLong() != 0;
    });
    return ran ? std::optional<bool>(exists) : std::nullopt;
}

void frmNewTemplate::cmdOk_Click() {
    const NewTemplateEntry entry = Entry();
    if (const Verdict refusal = CheckNewTemplate(entry)) {
        ui::ShowRefusal(*refusal, *this);
        return;
    }
    const std::optional<bool> exists = Exists(entry);
    if (!exists) {
        return;  // reported; the dialog stays open with the entry
    }
    if (*exists) {
        MsgBox(
            "The combination of format, printer, page, and customer level already exists.  "
            "There can be only one.\r\nPlease select a different combination or cancel.",
            kInformation, "Unique Key Required");
        return;
    }
    accept();
}

}  // namespace vym
