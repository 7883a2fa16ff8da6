#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "gateway/error_trap.h"

namespace Ui {
class frmRentalPackageUpgradePricing;
}

namespace vym {

class Connection;
class ErrorObject;
class ScreenContext;

// The upgrade prices from a pay-first rental package item to another rental
// package item: prices are changed in the grid and saved together on Ok;
// pairs are added (saved at once) and deleted.
class frmRentalPackageUpgradePricing : public QDialog {
    Q_OBJECT

  public:
    explicit frmRentalPackageUpgradePricing(QWidget* parent = nullptr);
    ~frmRentalPackageUpgradePricing() override;

    // Loads the upgrade prices. False when they could not be read (reported).
    bool Setup(ScreenContext* itemMaint);

  private:
    bool LoadUpgrades();
    void AppendUpgrade(const QString& payFirstNo, const QString& payFirst, const QString& rentalNo,
                       const QString& rental, const QString& price);
    // Runs the procedure for the row's pair (and price); False after a
    // refusal (shown).
    bool CallForRow(const char* procedure, int row, const char* errorTitle, bool withPrice);
    void fgUpgrades_ValidateEdit(int row, int col, const QString& text, bool& cancel);
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdOk_Click();

    std::unique_ptr<Ui::frmRentalPackageUpgradePricing> ui_;
    ErrorTrap trap_{"frmRentalPackageUpgradePricing"};
    ScreenContext* itemMaint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
};

}  // namespace vym
