#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"

namespace Ui {
class frmRentalUpgradePricingNew;
}

namespace vym {

class Connection;
class ErrorObject;
class ScreenContext;

// A new upgrade price between two rental package items, saved on Ok; a pair
// that already has a price is refused, never overwritten.
class frmRentalUpgradePricingNew : public QDialog {
    Q_OBJECT

  public:
    explicit frmRentalUpgradePricingNew(QWidget* parent = nullptr);
    ~frmRentalUpgradePricingNew() override;

    // Fills both lists with the rental package items. False when they could
    // not be read (reported).
    bool Setup(ScreenContext* itemMaint);

    // The saved pair, once accepted: item numbers, descriptions and price.
    std::int32_t PayFirstItemNo() const;
    QString PayFirstDescription() const;
    std::int32_t RentalItemNo() const;
    QString RentalDescription() const;
    QString UpgradePrice() const { return price_; }
    // The version the new pair was stored at.
    std::int32_t RowVersion() const { return rowVersion_; }

  private:
    void cmdOk_Click();

    std::unique_ptr<Ui::frmRentalUpgradePricingNew> ui_;
    ErrorTrap trap_{"frmRentalUpgradePricingNew"};
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    QString price_;
    std::int32_t rowVersion_ = 0;
};

}  // namespace vym
