#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "gateway/error_trap.h"
#include "sales/special_offer_rules.h"

namespace Ui {
class frmSpecialOfferPackage;
}

namespace vym {

class ScreenContext;

// "Special Offer Package Detail Breakdown": a package line's fixed discount
// split over the package's items, per unit, with the running total.
class frmSpecialOfferPackage : public QDialog {
    Q_OBJECT

  public:
    explicit frmSpecialOfferPackage(QWidget* parent = nullptr);
    ~frmSpecialOfferPackage() override;

    // Lists the package's items with the line's stored discounts, or with
    // `edited` where the user already changed them. False when the items
    // could not be read (reported).
    bool Setup(ScreenContext* itemMaint, std::int32_t packageNo, std::int32_t offerNo,
               std::int32_t seqNo,
               const std::optional<std::vector<special_offer::BreakdownRow>>& edited);
    // The rows as the user left them.
    std::vector<special_offer::BreakdownRow> Rows() const;

  private:
    void ShowTotal();

    std::unique_ptr<Ui::frmSpecialOfferPackage> ui_;
    ErrorTrap trap_{"frmSpecialOfferPackage"};
};

}  // namespace vym
