#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"
#include "host/row_conflict.h"

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
    // `version` is the version the pair was read or added at.
    void AppendUpgrade(const QString& payFirstNo, const QString& payFirst, const QString& rentalNo,
                       const QString& rental, const QString& price, std::int32_t version);
    // Runs the procedure for the row's pair (and price) with the version it
    // was read at; False after a refusal (shown, or kept in conflict_ when
    // another station saved the pair since).
    bool CallForRow(const char* procedure, int row, const char* errorTitle, bool withPrice);
    void fgUpgrades_ValidateEdit(int row, int col, const QString& text, bool& cancel);
    void cmdAdd_Click();
    void cmdDelete_Click();
    void cmdOk_Click();
    void OfferReload();

    std::unique_ptr<Ui::frmRentalPackageUpgradePricing> ui_;
    ErrorTrap trap_{"frmRentalPackageUpgradePricing"};
    ScreenContext* itemMaint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    RowConflict conflict_;
};

}  // namespace vym
