#include "reference/frm_profiles.h"

#include "base/prompter.h"
#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/row_version.h"
#include "host/screen_context.h"
#include "reference/frm_profile_prompt.h"
#include "ui/flex_grid.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui_frm_profiles.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;

namespace {

constexpr int kState = 0;
constexpr int kProfile = 1;
constexpr int kDescription = 2;

// Row states: saved rows have none.
const QString kNew = "N";
const QString kEdited = "E";

}  // namespace

frmProfiles::frmProfiles(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmProfiles>()) {
    ui_->setupUi(this);
    FlexGrid& grid = *ui_->grdProfiles;
    grid.SetFormatString("State|Profile|Description");
    grid.SetColumnHidden(kState, true);
    grid.SetEditable(true);
    grid.setSelectionBehavior(QAbstractItemView::SelectItems);

    // A saved profile keeps its id: renaming it would leave its items and
    // prompts behind.
    connect(&grid, &FlexGrid::BeforeEdit, this, [&grid](int row, int col, bool& cancel) {
        if (col == kProfile && grid.TextMatrix(row, kState) != kNew) {
            cancel = true;
        }
    });
    connect(&grid, &FlexGrid::AfterEdit, this, [&grid](int row, int col) {
        if (col == kProfile) {
            grid.SetTextMatrix(row, col, grid.TextMatrix(row, col).trimmed().toUpper());
        }
        if (grid.TextMatrix(row, kState).isEmpty()) {
            grid.SetTextMatrix(row, kState, kEdited);
        }
    });
    connect(&grid, &FlexGrid::RowColChange, this,
            [this](int row, int) { grdProfiles_RowColChange(row); });
    connect(&grid, &FlexGrid::CellDoubleClicked, this, [this](int row, int) {
        if (row > 0 && !ui_->grdProfiles->IsEditing()) {
            cmdEdit_Click();
        }
    });
    connect(ui_->cmdAdd, &QPushButton::clicked, this, &frmProfiles::cmdAdd_Click);
    connect(ui_->cmdEdit, &QPushButton::clicked, this, &frmProfiles::cmdEdit_Click);
    connect(ui_->cmdDelete, &QPushButton::clicked, this, &frmProfiles::DeleteRow);
    connect(ui_->cmdClose, &QPushButton::clicked, this, &frmProfiles::cmdClose_Click);
}

frmProfiles::~frmProfiles() = default;

void frmProfiles::Setup(ScreenContext* itemMaint) {
    maint_ = itemMaint;
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    LoadProfiles();
}

void frmProfiles::LoadProfiles() {
    FlexGrid& grid = *ui_->grdProfiles;
    currentRow_ = 0;
    grid.Clear();
    if (db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "LoadProfiles", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_PROFILE_get");
        auto rows = db_->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            grid.AddItem('\t' + FieldText(*rows, "profile_id") + '\t' +
                         FieldText(*rows, "Description"));
            // The version the profile was read at goes with its save.
            grid.SetCellData(grid.Rows() - 1, kProfile, ReadRowVersion(*rows));
        }
    });
    grid.AutoSizeColumns();
    if (grid.Rows() > 1) {
        grid.SetCurrentCell(1, kProfile);
    }
}

void frmProfiles::ReloadAt(const QString& id) {
    LoadProfiles();
    FlexGrid& grid = *ui_->grdProfiles;
    if (const int row = grid.FindRow(id, kProfile); row > 0) {
        grid.SetCurrentCell(row, kDescription);
    }
}

void frmProfiles::grdProfiles_RowColChange(int row) {
    if (row == currentRow_) {
        return;
    }
    const int left = currentRow_;
    if (!LeaveRow()) {
        // Back to the row that could not be saved; currentRow_ still names it.
        ui_->grdProfiles->SetCurrentCell(left, ui_->grdProfiles->Col());
        return;
    }
    currentRow_ = ui_->grdProfiles->Row();
}

bool frmProfiles::LeaveRow() {
    FlexGrid& grid = *ui_->grdProfiles;
    const int row = currentRow_;
    if (row < 1 || row >= grid.Rows() || grid.TextMatrix(row, kState).isEmpty()) {
        return true;
    }
    if (grid.TextMatrix(row, kState) == kNew &&
        grid.TextMatrix(row, kProfile).trimmed().isEmpty() &&
        grid.TextMatrix(row, kDescription).trimmed().isEmpty()) {
        currentRow_ = 0;
        grid.RemoveItem(row);
        currentRow_ = grid.Row();
        return true;
    }
    return UpdateRow(row);
}

bool frmProfiles::UpdateRow(int row) {
    FlexGrid& grid = *ui_->grdProfiles;
    if (db_ == nullptr || row < 1 || row >= grid.Rows()) {
        return false;
    }
    const QString id = grid.TextMatrix(row, kProfile).trimmed().toUpper();
    const QString description = grid.TextMatrix(row, kDescription).trimmed();
    if (id.isEmpty()) {
        MsgBox("Profile Id is a required field", kInformation, "Profile Id Required");
        grid.SetCurrentCell(row, kProfile);
        return false;
    }
    if (description.isEmpty()) {
        MsgBox("Description is a required field", kInformation, "Description Required");
        grid.SetCurrentCell(row, kDescription);
        return false;
    }
    // The database adds or renames by id: a new row must not take over another
    // profile.
    if (grid.TextMatrix(row, kState) == kNew) {
        for (int other = 1; other < grid.Rows(); ++other) {
            if (other != row &&
                grid.TextMatrix(other, kProfile).compare(id, Qt::CaseInsensitive) == 0) {
                MsgBox("Profile " + id.toStdString() + " already exists.", kInformation,
                       "Error Updating Profile");
                grid.SetCurrentCell(row, kProfile);
                return false;
            }
        }
    }
    bool saved = false;
    trap_.Run(errors_, "UpdateRow", &db_->Native(), [&] {
        auto command = NewProcedure(
            *db_, "VYM_SP_ITEM_PROFILE_Update",
            {{"@profile_id", id.toStdString()}, {"@description", description.toStdString()}});
        const bool isNew = grid.TextMatrix(row, kState) == kNew;
        SendRowVersion(command->Parameters, isNew ? 0 : grid.CellData(row, kProfile).toInt());
        if (!db_->Execute(*command) || conflict_.Refused(command->Parameters)) {
            return;
        }
        const std::string message = NullToEmpty(command->Parameters["@message"].Value);
        if (!message.empty()) {
            MsgBox(message, kInformation, "Error Updating Profile");
            return;
        }
        grid.SetCellData(row, kProfile, SavedRowVersion(command->Parameters));
        saved = true;
    });
    if (conflict_.OfferReload()) {
        ReloadAt(id);
        return false;
    }
    if (saved) {
        grid.SetTextMatrix(row, kState, QString());
        grid.SetTextMatrix(row, kProfile, id);
        grid.SetTextMatrix(row, kDescription, description);
    }
    return saved;
}

void frmProfiles::DeleteRow() {
    FlexGrid& grid = *ui_->grdProfiles;
    const int row = grid.Row();
    if (db_ == nullptr || row < 1) {
        return;
    }
    if (grid.TextMatrix(row, kState) == kNew) {
        currentRow_ = 0;
        grid.RemoveItem(row);
        currentRow_ = grid.Row();
        return;
    }
    const QString id = grid.TextMatrix(row, kProfile);
    // Asks the database first, so that a profile in use is not even offered.
    auto runDelete = [&](bool validate, const char* errorTitle) {
        bool done = false;
        trap_.Run(errors_, "DeleteRow", &db_->Native(), [&] {
            auto command =
                NewProcedure(*db_, "VYM_SP_ITEM_PROFILE_Delete",
                             {{"@validate", validate}, {"@profile_id", id.toStdString()}});
            SendRowVersion(command->Parameters, grid.CellData(row, kProfile).toInt());
            if (!db_->Execute(*command) || conflict_.Refused(command->Parameters)) {
                return;
            }
            if (NullToZero(command->Parameters["@return_value"].Value).ToLong() < 0) {
                MsgBox(NullToEmpty(command->Parameters["@message"].Value), kInformation,
                       errorTitle);
                return;
            }
            done = true;
        });
        return done;
    };
    if (!runDelete(true, "Delete Profile Cancelled") ||
        MsgBox("Are you sure you want to delete the Profile " + id.toStdString() + "?",
               kQuestionYesNoDefaultNo, "Confirm Delete") != MsgResult::Yes ||
        !runDelete(false, "Error Deleting Profile")) {
        // Another station saved the profile since it was read: nothing was deleted.
        if (conflict_.OfferReload()) {
            ReloadAt(id);
        }
        return;
    }
    currentRow_ = 0;
    grid.RemoveItem(row);
    currentRow_ = grid.Row();
}

void frmProfiles::cmdAdd_Click() {
    if (db_ == nullptr || !LeaveRow()) {
        return;
    }
    FlexGrid& grid = *ui_->grdProfiles;
    grid.AddItem(kNew + "\t\t");
    const int row = grid.Rows() - 1;
    grid.SetCurrentCell(row, kProfile);
    grid.setFocus();
    grid.EditCell(row, kProfile);
}

void frmProfiles::cmdEdit_Click() {
    if (!LeaveRow()) {
        return;
    }
    // An empty new row is dropped on leaving, which may leave none selected.
    FlexGrid& grid = *ui_->grdProfiles;
    const int row = grid.Row();
    if (row < 1) {
        MsgBox("Please select a row before selecting the edit function.", kInformation,
               "Edit Cancelled");
        return;
    }
    frmProfilePrompt prompts(this);
    prompts.Setup(maint_, grid.TextMatrix(row, kProfile));
    ui::RunModal(prompts);
}

bool frmProfiles::LeaveRowToClose() {
    if (LeaveRow()) {
        return true;
    }
    // A row the user cannot complete must not keep the window open.
    if (MsgBox("The profile row is not valid.  Do you want to discard its changes?",
               kQuestionYesNoDefaultNo, "Invalid Profile") != MsgResult::Yes) {
        return false;
    }
    currentRow_ = 0;
    return true;
}

void frmProfiles::cmdClose_Click() {
    if (LeaveRowToClose()) {
        accept();
    }
}

void frmProfiles::reject() {
    if (LeaveRowToClose()) {
        QDialog::reject();
    }
}

}  // namespace vym
