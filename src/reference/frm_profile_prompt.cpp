#include "reference/frm_profile_prompt.h"

#include "base/prompter.h"
#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/row_version.h"
#include "host/screen_context.h"
#include "reference/frm_edit_profile_prompt.h"
#include "ui/flex_grid.h"
#include "ui/key_tab_bar.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui_frm_profile_prompt.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::NullIfEmpty;

namespace {

constexpr int kModule = 0;
constexpr int kSeq = 1;

// The failure every write of this screen reports the same way.
void ShowUpdateError() {
    MsgBox("Error updating profile prompt", kInformation, "Update Error");
}

// Runs a write and tells whether it was good: executed, and no negative
// return value.
bool Succeeded(Connection& db, Command& command) {
    return db.Execute(command) &&
           NullToZero(command.Parameters["@return_value"].Value).ToLong() >= 0;
}

}  // namespace

frmProfilePrompt::frmProfilePrompt(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmProfilePrompt>()) {
    ui_->setupUi(this);
    FlexGrid& grid = *ui_->grdPrompts;
    grid.SetFormatString("Module|Seq|Prompt|Reason Type|Filter Code|Validations");

    connect(ui_->tabModules, &ui::KeyTabBar::CurrentKeyChanged, this,
            &frmProfilePrompt::ShowModule);
    connect(&grid, &FlexGrid::CellDoubleClicked, this, [this](int row, int) {
        if (row > 0) {
            cmdEdit_Click();
        }
    });
    connect(ui_->cmdAdd, &QPushButton::clicked, this, &frmProfilePrompt::cmdAdd_Click);
    connect(ui_->cmdEdit, &QPushButton::clicked, this, &frmProfilePrompt::cmdEdit_Click);
    connect(ui_->cmdDelete, &QPushButton::clicked, this, &frmProfilePrompt::DeleteProfilePrompt);
    connect(ui_->cmdUp, &QToolButton::clicked, this, [this] { ChangeSortOrder(-1); });
    connect(ui_->cmdDown, &QToolButton::clicked, this, [this] { ChangeSortOrder(1); });
    connect(ui_->cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

frmProfilePrompt::~frmProfilePrompt() = default;

void frmProfilePrompt::Setup(ScreenContext* itemMaint, const QString& profileId) {
    maint_ = itemMaint;
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    profileId_ = profileId;
    setWindowTitle("Prompts for Profile " + profileId);
    if (db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetModule");
        auto rows = db_->ExecuteRecordset(*command);
        const QSignalBlocker quiet(ui_->tabModules);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            ui_->tabModules->AddTab(FieldText(*rows, "module_id"), FieldText(*rows, "Description"));
        }
    });
    LoadProfilePrompts();
}

void frmProfilePrompt::LoadProfilePrompts() {
    FlexGrid& grid = *ui_->grdPrompts;
    grid.Clear();
    if (db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "LoadProfilePrompts", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetProfilePrompt",
                                    {{"@profile_id", profileId_.toStdString()}});
        auto rows = db_->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            QStringList cells;
            for (const char* field : {"module_id", "seq_no", "prompt_id", "reason_type_id",
                                      "list_code", "validation_codes"}) {
                cells << FieldText(*rows, field);
            }
            grid.AddItem(cells.join('\t'));
        }
    });
    grid.AutoSizeColumns();
    ShowModule();
}

void frmProfilePrompt::ShowModule() {
    FlexGrid& grid = *ui_->grdPrompts;
    const QString module = ui_->tabModules->CurrentKey();
    int first = 0;
    for (int row = 1; row < grid.Rows(); ++row) {
        const bool shown = grid.TextMatrix(row, kModule).compare(module, Qt::CaseInsensitive) == 0;
        grid.SetRowHidden(row, !shown);
        if (shown && first == 0) {
            first = row;
        }
    }
    if (first > 0) {
        grid.SetCurrentCell(first, 0);
    }
}

int frmProfilePrompt::SelectedRow() const {
    const FlexGrid& grid = *ui_->grdPrompts;
    const int row = grid.Row();
    return row > 0 && row < grid.Rows() && !grid.IsRowHidden(row) ? row : 0;
}

void frmProfilePrompt::SelectPrompt(const QString& moduleId, std::int32_t seqNo) {
    FlexGrid& grid = *ui_->grdPrompts;
    for (int row = 1; row < grid.Rows(); ++row) {
        if (grid.TextMatrix(row, kModule) == moduleId &&
            grid.TextMatrix(row, kSeq).toInt() == seqNo) {
            grid.SetCurrentCell(row, 0);
            return;
        }
    }
}

bool frmProfilePrompt::EditProfilePrompt(const QString& moduleId, std::int32_t& seqNo,
                                         const frmEditProfilePrompt& editor) {
    bool saved = false;
    trap_.Run(errors_, "EditProfilePrompt", &db_->Native(), [&] {
        auto command =
            NewProcedure(*db_, "VYM_SP_ITEM_UpdateProfilePrompt",
                         {{"@profile_id", profileId_.toStdString()},
                          {"@module_id", moduleId.toStdString()},
                          {"@seq_no", seqNo == 0 ? vym::Value::Null() : vym::Value(seqNo)},
                          {"@prompt_id", editor.PromptId().toStdString()},
                          {"@validation_codes", editor.ValidationCodes().toStdString()},
                          {"@reason_type_id", NullIfEmpty(editor.ReasonTypeId())},
                          {"@list_code", NullIfEmpty(editor.ListCode())}});
        SendRowVersion(command->Parameters, seqNo == 0 ? 0 : editor.RowVersion());
        if (!Succeeded(*db_, *command)) {
            if (conflict_.Refused(command->Parameters)) {
                return;
            }
            ShowUpdateError();
            return;
        }
        seqNo = NullToZero(command->Parameters["@seq_no"].Value).ToLong();
        saved = true;
    });
    return saved;
}

void frmProfilePrompt::cmdAdd_Click() {
    const QString module = ui_->tabModules->CurrentKey();
    if (db_ == nullptr || module.isEmpty()) {
        return;
    }
    frmEditProfilePrompt editor(this);
    editor.Setup(maint_, profileId_, module);
    RunEditor(editor, module, 0);
}

void frmProfilePrompt::cmdEdit_Click() {
    const int row = SelectedRow();
    if (db_ == nullptr || row == 0) {
        return;
    }
    const QString module = ui_->grdPrompts->TextMatrix(row, kModule);
    const std::int32_t seq = ui_->grdPrompts->TextMatrix(row, kSeq).toInt();
    frmEditProfilePrompt editor(this);
    editor.Setup(maint_, profileId_, module, seq);
    RunEditor(editor, module, seq);
}

void frmProfilePrompt::RunEditor(frmEditProfilePrompt& editor, const QString& moduleId,
                                 std::int32_t seqNo) {
    for (;;) {
        ui::RunModal(editor);
        if (editor.UserCancelled()) {
            return;
        }
        const bool saved = EditProfilePrompt(moduleId, seqNo, editor);
        if (!saved && !conflict_.Pending()) {
            return;
        }
        if (saved || conflict_.OfferReload()) {
            LoadProfilePrompts();
            SelectPrompt(moduleId, seqNo);
            return;
        }
    }
}

void frmProfilePrompt::DeleteProfilePrompt() {
    const int row = SelectedRow();
    if (db_ == nullptr || row == 0) {
        return;
    }
    const QString module = ui_->grdPrompts->TextMatrix(row, kModule);
    const std::int32_t seq = ui_->grdPrompts->TextMatrix(row, kSeq).toInt();
    if (MsgBox("Are you sure you want to delete the selected profile prompt for module " +
                   module.toStdString() + " and seq " + std::to_string(seq) + "?",
               kQuestionYesNoDefaultNo, "Confirm Delete") != MsgResult::Yes) {
        return;
    }
    bool deleted = false;
    trap_.Run(errors_, "DeleteProfilePrompt", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_DeleteProfilePrompt",
                                    {{"@profile_id", profileId_.toStdString()},
                                     {"@module_id", module.toStdString()},
                                     {"@seq_no", seq}});
        deleted = Succeeded(*db_, *command);
        if (!deleted) {
            ShowUpdateError();
        }
    });
    if (deleted) {
        // The prompts after it have moved up: the one in its place is selected.
        LoadProfilePrompts();
        SelectPrompt(module, seq);
    }
}

void frmProfilePrompt::ChangeSortOrder(int direction) {
    const int row = SelectedRow();
    if (db_ == nullptr || row == 0) {
        return;
    }
    const QString module = ui_->grdPrompts->TextMatrix(row, kModule);
    std::int32_t seq = ui_->grdPrompts->TextMatrix(row, kSeq).toInt();
    trap_.Run(errors_, "ChangeSortOrder", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_SortProfilePrompt",
                                    {{"@profile_id", profileId_.toStdString()},
                                     {"@module_id", module.toStdString()},
                                     {"@seq_no", seq},
                                     {"@direction", static_cast<std::int16_t>(direction)}});
        if (Succeeded(*db_, *command)) {
            seq = NullToZero(command->Parameters["@seq_no"].Value).ToLong();
        }
    });
    LoadProfilePrompts();
    SelectPrompt(module, seq);
}

}  // namespace vym
