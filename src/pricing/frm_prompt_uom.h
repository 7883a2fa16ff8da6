#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"

namespace Ui {
class frmPromptUOM;
}

namespace vym {

class Connection;
class ErrorObject;

// "Select UOM and Qty": the unit of measure and quantity of a new row of
// stock prices.
class frmPromptUOM : public QDialog {
    Q_OBJECT

  public:
    explicit frmPromptUOM(QWidget* parent = nullptr);
    ~frmPromptUOM() override;

    // Fills the units of measure (oDB and oError not owned). False when they
    // could not be read (reported).
    bool LoadUOM(Connection* oDB, ErrorObject* oError);

    // After the dialog: whether Ok chose, the unit of measure ("" for none)
    // and the quantity.
    bool Cancelled() const { return cancelled_; }
    QString UomId() const;
    std::int32_t Qty() const { return qty_; }

  private:
    void cmdOk_Click();

    std::unique_ptr<Ui::frmPromptUOM> ui_;
    ErrorTrap trap_{"frmPromptUOM"};
    bool cancelled_ = true;
    std::int32_t qty_ = 0;
};

}  // namespace vym
