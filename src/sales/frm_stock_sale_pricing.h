#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "base/currency.h"
#include "gateway/error_trap.h"
#include "host/row_conflict.h"
#include "sales/sale_pricing_header.h"

namespace Ui {
class frmStockSalePricing;
}

namespace vym {

class CSale;
class ScreenContext;

// "Stock Sale Pricing": the sale price of every stock item of a sale priced
// by item, set row by row or for the selected rows at once by a percentage,
// a flat amount or a price. Ok saves the header, the changed rows and the
// removed rows together.
class frmStockSalePricing : public QDialog {
    Q_OBJECT

  public:
    explicit frmStockSalePricing(QWidget* parent = nullptr);
    ~frmStockSalePricing() override;

    // Shows `sale` (not owned; it must outlive the screen) and its priced
    // items. Connection, error object and pickers come from itemMaint.
    void Setup(ScreenContext* itemMaint, CSale* sale);
    // True unless Ok saved.
    bool UserCanceled() const { return userCanceled_; }

  private:
    enum Column { kItemNo, kDescription, kSale, kOriginal, kDisc, kChanged };

    void LoadStock();
    void AppendStock(std::int32_t itemNo, const QString& description, Currency sale,
                     Currency original, Currency disc, bool changed);
    void AddItem(std::int32_t itemNo, const QString& description, Currency original);
    // Applies `price` to every selected row: its sale price from its
    // original one.
    template <class Price>
    void ApplyToSelected(Price price);
    void cmdApplyPercent_Click();
    void cmdApplyFlat_Click();
    void cmdApplyPrice_Click();
    void cmdAdd_Click();
    void txtStock_Enter();
    void DeleteRows();
    void fgStock_ValidateEdit(int row, int col, const QString& text, bool& cancel);
    void fgStock_AfterEdit(int row, int col);
    bool SaveData();
    bool SavePrices(std::map<std::int32_t, std::int32_t>& versions);
    void cmdOk_Click();

    std::unique_ptr<Ui::frmStockSalePricing> ui_;
    std::unique_ptr<SalePricingHeader> header_;
    ErrorTrap trap_{"frmStockSalePricing"};
    SaleScreen screen_;
    // A save refused because another station saved the sale or a price since.
    RowConflict conflict_;
    // The version of each item's sale price as read or last saved.
    std::map<std::int32_t, std::int32_t> priceVersions_;
    std::vector<std::int32_t> deleted_;
    bool userCanceled_ = true;
};

}  // namespace vym
