#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"

class QMenu;

namespace Ui {
class frmStockSales;
}

namespace vym {

class CSale;
class Connection;
class ErrorObject;
class Recordset;
class ScreenContext;

// "Stock Sales": every stock sale, where sales are created, copied to
// another location, renamed, deleted, priced and qualified. The list is
// filled once and then kept in step by each operation.
class frmStockSales : public QDialog {
    Q_OBJECT

  public:
    explicit frmStockSales(QWidget* parent = nullptr);
    ~frmStockSales() override;

    void Setup(ScreenContext* itemMaint);

    // Opens the pricing screen of the sale (a new sale when below 1, after
    // the new-sale dialog). True when the pricing screen was saved.
    bool EditSale(std::int32_t saleNo);
    bool CopySale(std::int32_t saleNo);
    bool EditSaleItems(std::int32_t saleNo);
    bool EditSaleGroups(std::int32_t saleNo);

  private:
    enum Column {
        kSaleId,
        kSaleType,
        kDescription,
        kLocation,
        kStartDate,
        kEndDate,
        kItemQualified,
        kCustomerQualified
    };

    void AddSaleRow(Recordset& row);
    void AddSaleRow(const CSale& sale);
    void StyleRow(int row);
    std::int32_t CurrentSaleNo() const;
    bool IsSet(int row, int col) const;
    void DeleteSale();
    void fgSales_ValidateEdit(int row, int col, const QString& text, bool& cancel);
    void UpdateSaleDescription(int row, int col);
    void mnuItemQualified_Click();
    void mnuCustomerQualified_Click();

    std::unique_ptr<Ui::frmStockSales> ui_;
    QMenu* mnuSale_ = nullptr;
    ErrorTrap trap_{"frmStockSales"};
    ScreenContext* itemMaint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
};

}  // namespace vym
