#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"

namespace Ui {
class frmPriceHistory;
}

namespace vym {

class ScreenContext;

// "Price History": every recorded change of the prices of one item, or of one
// package's own prices, newest first: when, by whom, from which station, the
// price's key and its price before and after. Read only.
class frmPriceHistory : public QDialog {
    Q_OBJECT

  public:
    explicit frmPriceHistory(QWidget* parent = nullptr);
    ~frmPriceHistory() override;

    // Lists the history of the item, or of the package when lItemNo is 0,
    // which the caption calls `description` (connection and error object from
    // itemMaint). False when it could not be read (reported).
    bool Setup(ScreenContext* itemMaint, std::int32_t lItemNo, std::int32_t lPackageNo,
               const QString& description);

  private:
    std::unique_ptr<Ui::frmPriceHistory> ui_;
    ErrorTrap trap_{"frmPriceHistory"};
};

}  // namespace vym
