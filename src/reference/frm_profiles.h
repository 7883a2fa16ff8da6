#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "gateway/error_trap.h"
#include "host/row_conflict.h"

namespace Ui {
class frmProfiles;
}

namespace vym {

class ScreenContext;
class Connection;
class ErrorObject;

// The profile list ("Profile Maintenance"): profiles are added and described
// in the grid, each row saved when the user leaves it, deleted, and opened
// on their prompts.
class frmProfiles : public QDialog {
    Q_OBJECT

  public:
    explicit frmProfiles(QWidget* parent = nullptr);
    ~frmProfiles() override;

    // Connection and error object come from itemMaint (not owned); lists the
    // profiles.
    void Setup(ScreenContext* itemMaint);
    void LoadProfiles();
    // Saves a new or edited row; False after the message that says why not.
    bool UpdateRow(int row);
    // Deletes the selected profile when the database allows it and the user
    // confirms.
    void DeleteRow();

    // Closing saves the row being edited first; when that save fails the
    // user chooses between dropping the row's changes and staying.
    void reject() override;

  private:
    // Leaves the row being edited: saves it, or drops it when it was added
    // and never filled in. False when it could not be saved.
    bool LeaveRow();
    // LeaveRow before closing; a row that cannot be saved is discarded when
    // the user agrees. False when the window stays open.
    bool LeaveRowToClose();
    // After another station's save refused this one and the user chose to
    // reload: the profiles as they are now, on the one with `id`.
    void ReloadAt(const QString& id);
    void grdProfiles_RowColChange(int row);
    void cmdAdd_Click();
    void cmdEdit_Click();
    void cmdClose_Click();

    std::unique_ptr<Ui::frmProfiles> ui_;
    ErrorTrap trap_{"frmProfiles"};
    ScreenContext* maint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    RowConflict conflict_;
    int currentRow_ = 0;
};

}  // namespace vym
