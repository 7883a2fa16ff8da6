#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"

namespace Ui {
class frmEditPrices;
}

namespace vym {

class Connection;
class ErrorObject;
class ScreenContext;

// "Edit Prices": every price of every item in one read-only grid, loaded a
// block at a time so that the first prices show at once and Stop ends the
// load. A double click opens the stock price properties of the row.
class frmEditPrices : public QDialog {
    Q_OBJECT

  public:
    explicit frmEditPrices(QWidget* parent = nullptr);
    ~frmEditPrices() override;

    // Keeps the connection and error object of itemMaint (not owned); the
    // prices load once the window shows. False without a connection.
    bool Setup(ScreenContext* itemMaint);
    // Fills the grid until every price is listed or Stop is pressed. False
    // after an error (reported).
    bool LoadPrices();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void PriceProperties(int row);

    std::unique_ptr<Ui::frmEditPrices> ui_;
    ErrorTrap trap_{"frmEditPrices"};
    ScreenContext* maint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    bool loadStarted_ = false;
    bool stopRequested_ = false;
};

}  // namespace vym
