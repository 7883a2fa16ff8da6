#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"
#include "host/row_conflict.h"

namespace Ui {
class frmProfilePrompt;
}

namespace vym {

class ScreenContext;
class Connection;
class ErrorObject;
class frmEditProfilePrompt;

// The prompts of one profile ("Prompts for Profile " + id), one tab per
// point-of-sale module, in the order the module asks them: added, edited,
// deleted and moved up or down, each saved at once.
class frmProfilePrompt : public QDialog {
    Q_OBJECT

  public:
    explicit frmProfilePrompt(QWidget* parent = nullptr);
    ~frmProfilePrompt() override;

    // Connection and error object come from itemMaint (not owned); lists the
    // modules and the profile's prompts.
    void Setup(ScreenContext* itemMaint, const QString& profileId);
    // Reloads the prompts, showing those of the selected module.
    void LoadProfilePrompts();

  private:
    void ShowModule();
    // The selected prompt's row; 0 when none is selected.
    int SelectedRow() const;
    void SelectPrompt(const QString& moduleId, std::int32_t seqNo);
    // Saves the editor's prompt as prompt seqNo of the module (0 adds one);
    // seqNo receives its number. False after the message of a failure, or
    // with a conflict kept when another station saved the prompt since the
    // editor read it.
    bool EditProfilePrompt(const QString& moduleId, std::int32_t& seqNo,
                           const frmEditProfilePrompt& editor);
    // Shows the editor and saves what it holds. After a save refused because
    // of another station's, the user reloads or gets the editor back with
    // what they typed, to try again or cancel.
    void RunEditor(frmEditProfilePrompt& editor, const QString& moduleId, std::int32_t seqNo);
    void ChangeSortOrder(int direction);
    void cmdAdd_Click();
    void cmdEdit_Click();
    void DeleteProfilePrompt();

    std::unique_ptr<Ui::frmProfilePrompt> ui_;
    ErrorTrap trap_{"frmProfilePrompt"};
    ScreenContext* maint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    QString profileId_;
    RowConflict conflict_;
};

}  // namespace vym
