#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

#include "base/currency.h"
#include "gateway/error_trap.h"

namespace Ui {
class frmSelectPrice;
}

namespace vym {

class ScreenContext;

// "Select Price": the own prices of one item or package, one of which the
// user picks.
class frmSelectPrice : public QDialog {
    Q_OBJECT

  public:
    explicit frmSelectPrice(QWidget* parent = nullptr);
    ~frmSelectPrice() override;

    // Lists the prices of the item, or of the package when lItemNo is 0
    // (connection and error object from itemMaint). False when they could not
    // be read (reported).
    bool Setup(ScreenContext* itemMaint, std::int32_t lItemNo, std::int32_t lPackageNo);

    // After Ok or a double click: the chosen price; Cancel chooses nothing.
    bool Cancelled() const { return cancelled_; }
    std::int32_t PriceNo() const { return priceNo_; }
    Currency Price() const { return price_; }
    std::int32_t UnitQty() const { return unitQty_; }

  private:
    void Choose(int row);

    std::unique_ptr<Ui::frmSelectPrice> ui_;
    ErrorTrap trap_{"frmSelectPrice"};
    bool cancelled_ = true;
    std::int32_t priceNo_ = 0;
    Currency price_;
    std::int32_t unitQty_ = 0;
};

}  // namespace vym
