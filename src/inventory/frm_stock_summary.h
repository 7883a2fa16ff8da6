#pragma once

#include <QDialog>
#include <memory>

#include "gateway/error_trap.h"

class QMenu;

namespace Ui {
class frmStockSummary;
}

namespace vym {

class ScreenContext;
class Connection;
class ErrorObject;

// "Stock Summary": the months that have stock movements, by year, and the
// posting of a month's summary.
class frmStockSummary : public QDialog {
    Q_OBJECT

  public:
    explicit frmStockSummary(QWidget* parent = nullptr);
    ~frmStockSummary() override;

    // Connection and error object come from itemMaint (not owned). Lists the
    // months; tells the user when there are none.
    void Setup(ScreenContext* itemMaint);
    // Asks for the address to notify and posts the month; True when the
    // posting was accepted.
    bool PostStockSummary(int year, int month);

    // The "&Table" menu a right click on a node opens.
    QMenu* TableMenu() const { return mnuTable_; }

  private:
    void FillBranches();
    void mnuAddYearMonth_Click();
    void mnuPost_Click();
    void tvwSummary_ContextMenu(const QPoint& position);

    std::unique_ptr<Ui::frmStockSummary> ui_;
    ErrorTrap trap_{"frmStockSummary"};
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    QMenu* mnuTable_ = nullptr;
};

}  // namespace vym
