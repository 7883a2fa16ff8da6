#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "gateway/error_trap.h"

namespace Ui {
class frmSaleCustomerGroups;
}

namespace vym {

class Connection;
class ErrorObject;

// "Customer Groups": the groups a buyer must belong to for the sale. Ok
// saves the groups ticked and unticked since the dialog opened.
class frmSaleCustomerGroups : public QDialog {
    Q_OBJECT

  public:
    explicit frmSaleCustomerGroups(QWidget* parent = nullptr);
    ~frmSaleCustomerGroups() override;

    void Setup(Connection* db, ErrorObject* errors, std::int32_t saleNo);
    // Whether the sale is customer-qualified after a save.
    bool CustomerQualified() const { return customerQualified_; }
    bool UserCanceled() const { return userCanceled_; }

  protected:
    // Enter moves on to the next field rather than closing the dialog.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    enum Column { kPreviousValue, kRequired, kGroupId, kDescription };

    // The document of the rows whose tick changed; nullopt when none did.
    std::optional<std::string> ChangeDocument() const;
    bool SaveData();
    void cmdOk_Click();

    std::unique_ptr<Ui::frmSaleCustomerGroups> ui_;
    ErrorTrap trap_{"frmSaleCustomerGroups"};
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    std::int32_t saleNo_ = 0;
    bool customerQualified_ = false;
    bool userCanceled_ = true;
};

}  // namespace vym
