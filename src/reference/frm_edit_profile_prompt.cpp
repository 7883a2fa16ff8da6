#include "reference/frm_edit_profile_prompt.h"

#include "base/prompter.h"
#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/row_version.h"
#include "host/screen_context.h"
#include "ui/data_combo.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"
#include "ui_frm_edit_profile_prompt.h"

namespace vym {

using ui::DataCombo;
using ui::FieldText;
using ui::FlexGrid;

namespace {

constexpr int kChecked = 0;
constexpr int kCode = 1;

void PrepareList(DataCombo& list, int shownColumn) {
    list.SetColumns({"Id", "Description"});
    list.SetBoundColumn(0);
    list.SetListColumn(shownColumn);
}

void FillList(Connection& db, DataCombo& list, const char* procedure, const char* keyField) {
    auto command = NewProcedure(db, procedure);
    auto rows = db.ExecuteRecordset(*command);
    for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
        list.AddRow({FieldText(*rows, keyField), FieldText(*rows, "Description")});
    }
}

QStringList SplitCodes(const QString& list) {
    QStringList codes;
    for (const QString& code : list.split(',')) {
        if (!code.trimmed().isEmpty()) {
            codes << code.trimmed();
        }
    }
    return codes;
}

}  // namespace

frmEditProfilePrompt::frmEditProfilePrompt(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmEditProfilePrompt>()) {
    ui_->setupUi(this);
    PrepareList(*ui_->cmbPrompt, 1);
    PrepareList(*ui_->cmbReasonType, 1);
    PrepareList(*ui_->cmbFilterListCode, 0);

    FlexGrid& validations = *ui_->vsValidations;
    validations.SetFormatString("|Validation");
    validations.SetColumnKind(kChecked, FlexGrid::ColumnKind::CheckBox);
    validations.SetEditable(true);
    validations.SetColumnEditable(kCode, false);

    connect(ui_->cmbPrompt, &DataCombo::KeyChanged, this, &frmEditProfilePrompt::DisplayPrompt);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmEditProfilePrompt::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmEditProfilePrompt::~frmEditProfilePrompt() = default;

void frmEditProfilePrompt::Setup(ScreenContext* itemMaint, const QString& profileId,
                                 const QString& moduleId, std::int32_t seqNo) {
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    if (db_ == nullptr) {
        return;
    }
    LoadCombos();
    if (seqNo != 0) {
        GetProfilePrompt(profileId, moduleId, seqNo);
    }
}

void frmEditProfilePrompt::LoadCombos() {
    // Nothing is chosen while the lists fill.
    const QSignalBlocker quiet(ui_->cmbPrompt);
    trap_.Run(errors_, "LoadCombos", &db_->Native(), [&] {
        FillList(*db_, *ui_->cmbPrompt, "VYM_SP_ITEM_GetPrompts", "prompt_id");
        ui_->cmbReasonType->AddRow({"", "<None>"});
        FillList(*db_, *ui_->cmbReasonType, "VYM_SP_ITEM_GetReasonType", "reason_type_id");
        ui_->cmbFilterListCode->AddRow({"", "<None>"});
        FillList(*db_, *ui_->cmbFilterListCode, "VYM_SP_ITEM_AUTHORIZER_GROUP_get",
                 "authorizer_group_id");
    });
    // A new prompt starts with none, so that Ok asks for one.
    ui_->cmbPrompt->setCurrentIndex(-1);
    ui_->cmbReasonType->setCurrentIndex(0);
    ui_->cmbFilterListCode->setCurrentIndex(0);
}

void frmEditProfilePrompt::GetProfilePrompt(const QString& profileId, const QString& moduleId,
                                            std::int32_t seqNo) {
    trap_.Run(errors_, "GetProfilePrompt", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetProfilePrompt",
                                    {{"@profile_id", profileId.toStdString()},
                                     {"@module_id", moduleId.toStdString()},
                                     {"@seq_no", seqNo}});
        auto rows = db_->ExecuteRecordset(*command);
        if (!rows->IsOpen() || rows->Eof()) {
            return;
        }
        validationCodes_ = FieldText(*rows, "validation_codes");
        rowVersion_ = ReadRowVersion(*rows);
        ui_->cmbReasonType->SetKey(FieldText(*rows, "reason_type_id"));
        ui_->cmbFilterListCode->SetKey(FieldText(*rows, "list_code"));
        // Last: choosing the prompt lists its codes against the ones just read.
        ui_->cmbPrompt->SetKey(FieldText(*rows, "prompt_id"));
    });
}

void frmEditProfilePrompt::DisplayPrompt() {
    FlexGrid& grid = *ui_->vsValidations;
    grid.Clear();
    requireReasonType_ = false;
    const QString prompt = PromptId();
    if (prompt.isEmpty() || db_ == nullptr) {
        return;
    }
    const QStringList chosen = SplitCodes(validationCodes_);
    trap_.Run(errors_, "DisplayPrompt", &db_->Native(), [&] {
        auto command =
            NewProcedure(*db_, "VYM_SP_ITEM_GetPrompts", {{"@prompt_id", prompt.toStdString()}});
        auto rows = db_->ExecuteRecordset(*command);
        if (!rows->IsOpen() || rows->Eof()) {
            return;
        }
        requireReasonType_ = rows->Fields("require_reason_type").Flag();
        for (const QString& code : SplitCodes(FieldText(*rows, "validation_code_list"))) {
            const bool checked = chosen.contains(code, Qt::CaseInsensitive);
            grid.AddItem(QString(checked ? "-1" : "0") + '\t' + code);
        }
    });
    grid.AutoSizeColumns();
}

QString frmEditProfilePrompt::PromptId() const {
    return ui_->cmbPrompt->Key();
}

QString frmEditProfilePrompt::ReasonTypeId() const {
    return ui_->cmbReasonType->Key();
}

QString frmEditProfilePrompt::ListCode() const {
    return ui_->cmbFilterListCode->Key();
}

void frmEditProfilePrompt::cmdOk_Click() {
    if (PromptId().isEmpty()) {
        MsgBox("A prompt is required to continue.", kInformation, "Prompt Required");
        ui_->cmbPrompt->setFocus();
        return;
    }
    if (requireReasonType_ && ReasonTypeId().isEmpty()) {
        MsgBox("A reason type is required for this prompt.", kInformation, "Reason Type Required");
        ui_->cmbReasonType->setFocus();
        return;
    }
    const FlexGrid& grid = *ui_->vsValidations;
    QStringList codes;
    for (int row = 1; row < grid.Rows(); ++row) {
        if (grid.CellChecked(row, kChecked)) {
            codes << grid.TextMatrix(row, kCode);
        }
    }
    validationCodes_ = codes.join(',');
    cancelled_ = false;
    accept();
}

void frmEditProfilePrompt::reject() {
    // The opener may show the editor again after a refused save.
    cancelled_ = true;
    QDialog::reject();
}

}  // namespace vym
