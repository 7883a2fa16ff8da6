#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "model/csale.h"

namespace Ui {
class frmSaleItems;
}

namespace vym {

class ScreenContext;

// "Item Nos": the items a buyer may prove ownership of to get the sale.
class frmSaleItems : public QDialog {
    Q_OBJECT

  public:
    explicit frmSaleItems(QWidget* parent = nullptr);
    ~frmSaleItems() override;

    // Shows the list (one blank entry when empty); the picker comes from
    // itemMaint.
    void Setup(ScreenContext* itemMaint, const std::vector<CSaleItemNo>& itemNos);
    // The rows as Ok left them; an empty list is one blank entry.
    const std::vector<CSaleItemNo>& ItemNos() const { return itemNos_; }
    bool ItemQualified() const;
    bool UserCanceled() const { return userCanceled_; }

  protected:
    // Enter moves on to the next field rather than closing the dialog.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdOk_Click();

    std::unique_ptr<Ui::frmSaleItems> ui_;
    ScreenContext* itemMaint_ = nullptr;
    std::vector<CSaleItemNo> itemNos_;
    bool userCanceled_ = true;
};

}  // namespace vym
