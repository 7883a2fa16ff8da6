#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

#include "base/currency.h"
#include "gateway/error_trap.h"
#include "host/row_conflict.h"

namespace Ui {
class frmStockPriceProp;
}

namespace vym {

class Connection;
class ErrorObject;
class ScreenContext;

// "Stock Price Properties": one stock price's unit price and its line
// discount and seller pricing flags, for a location, unit of measure and
// quantity of one stock item, and for a sale when a sale number is given.
class frmStockPriceProp : public QDialog {
    Q_OBJECT

  public:
    explicit frmStockPriceProp(QWidget* parent = nullptr);
    ~frmStockPriceProp() override;

    // Set before Setup. A price number of 0 makes a new price on Ok; an empty
    // location is any location, an empty unit of measure none.
    std::int32_t ItemNo = 0;
    QString StockDescription;
    QString LocationId;
    QString LocationDescription;
    std::int32_t UnitQty = 1;
    QString UomId;
    std::int32_t SaleNo = 0;
    std::int32_t PriceNo = 0;

    // Reads the price (connection and error object from itemMaint, not
    // owned). False when it could not be read (reported).
    bool Setup(ScreenContext* itemMaint);

    // After Ok: the price saved (PriceNo then holds its number).
    bool Saved() const { return saved_; }
    Currency UnitPrice() const { return unitPrice_; }
    // The version of the price as read, and as saved after Ok.
    std::int32_t RowVersion() const { return rowVersion_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool ReadPrice();
    void ReformatPrice();
    // False when refused (said why) or failed (reported). A price another
    // station saved since it was read is reloaded when the user asks to.
    bool SaveData();
    void cmdOk_Click();

    std::unique_ptr<Ui::frmStockPriceProp> ui_;
    ErrorTrap trap_{"frmStockPriceProp"};
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    bool saved_ = false;
    Currency unitPrice_;
    std::int32_t rowVersion_ = 0;
    RowConflict conflict_;
};

}  // namespace vym
