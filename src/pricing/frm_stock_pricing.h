#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <memory>

#include "gateway/error_trap.h"
#include "host/row_conflict.h"

class QAction;
class QMenu;

namespace Ui {
class frmStockPricing;
}

namespace vym {

class CItem;
class Connection;
class ErrorObject;
class ScreenContext;

// Stock pricing: the unit prices of one stock or rental item by unit of
// measure and quantity (rows) and location (columns, the first for any
// location). Each edited cell is saved at once; the minimum price is the
// item's own and saved with the item. A price another station saved or
// deleted since it was read is refused, with who and when; the grid reloads
// when the user asks to and otherwise keeps what was typed.
class frmStockPricing : public QDialog {
    Q_OBJECT

  public:
    explicit frmStockPricing(QWidget* parent = nullptr);
    ~frmStockPricing() override;

    // Loads the prices of oItem (an opened stock or rental item, not owned,
    // outliving the window); connection and error object from itemMaint.
    // False when it could not be loaded (reported).
    bool Setup(ScreenContext* itemMaint, CItem* oItem);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool FillUnitandLocation();
    // After a refused save: the prices as they are now, when the user asks.
    void OfferReload();
    void AddPriceRow();
    void UpdatePrice(int row, int col);
    // The cell's price went (cleared) or changed; False when refused or failed.
    bool DeleteCellPrice(int row, int col);
    bool SaveCellPrice(int row, int col);
    void UpdateBasePricing();
    void PriceProperties(int row, int col);
    bool IsBasePrice(int row, int col) const;
    QString LocationOf(int col) const;

    std::unique_ptr<Ui::frmStockPricing> ui_;
    QMenu* mnuPrice_ = nullptr;
    ErrorTrap trap_{"frmStockPricing"};
    ScreenContext* maint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    CItem* item_ = nullptr;
    QStringList locations_;  // the location of each column from the fourth on
    QString baseUom_;
    std::int32_t baseQty_ = 0;
    std::int32_t basePriceNo_ = 0;
    std::map<std::int32_t, std::int32_t> versions_;  // of each price read or saved, by number
    RowConflict conflict_;
};

}  // namespace vym
