#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"

namespace Ui {
class frmEditProfilePrompt;
}

namespace vym {

class ScreenContext;
class Connection;
class ErrorObject;

// The editor of one prompt of a profile ("Profile Prompt"): the prompt, its
// reason type, filter list code and the validation codes the prompt allows.
// It saves nothing itself: on "&Ok" it checks the choice and closes accepted,
// and the opener saves what it reads back.
class frmEditProfilePrompt : public QDialog {
    Q_OBJECT

  public:
    explicit frmEditProfilePrompt(QWidget* parent = nullptr);
    ~frmEditProfilePrompt() override;

    // Loads the lists from itemMaint's connection (not owned). For a seqNo
    // other than 0 it shows that prompt of the profile's module as saved;
    // otherwise no prompt is chosen.
    void Setup(ScreenContext* itemMaint, const QString& profileId, const QString& moduleId,
               std::int32_t seqNo = 0);

    // The choice, read back after "&Ok"; empty texts for no reason type and
    // no filter list code.
    QString PromptId() const;
    QString ReasonTypeId() const;
    QString ListCode() const;
    // The checked codes joined with ",".
    const QString& ValidationCodes() const { return validationCodes_; }
    bool UserCancelled() const { return cancelled_; }
    // The version the prompt was read at (0 for a new one), for its save.
    std::int32_t RowVersion() const { return rowVersion_; }
    // Cancel, Esc or closing the window.
    void reject() override;

  private:
    void LoadCombos();
    void GetProfilePrompt(const QString& profileId, const QString& moduleId, std::int32_t seqNo);
    // Lists the chosen prompt's codes, checking those the prompt had.
    void DisplayPrompt();
    void cmdOk_Click();

    std::unique_ptr<Ui::frmEditProfilePrompt> ui_;
    ErrorTrap trap_{"frmEditProfilePrompt"};
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    bool requireReasonType_ = false;
    bool cancelled_ = true;
    std::int32_t rowVersion_ = 0;
    QString validationCodes_;
};

}  // namespace vym
