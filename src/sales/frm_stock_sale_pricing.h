#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/currency.h"
#include "gateway/error_trap.h"

namespace Ui {
class frmStockSalePricing;
}

namespace vym {

class CSale;
class Connection;
class ErrorObject;
class ScreenContext;
class SalePricingHeader;

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
    void cmdOk_Click();
    // After a save refused because another station saved the sale since:
    // asks, and on Yes shows the sale as it is now.
    void OfferReload();

    std::unique_ptr<Ui::frmStockSalePricing> ui_;
    std::unique_ptr<SalePricingHeader> header_;
    ErrorTrap trap_{"frmStockSalePricing"};
    ScreenContext* itemMaint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    CSale* sale_ = nullptr;
    std::vector<std::int32_t> deleted_;
    bool userCanceled_ = true;
};

}  // namespace vym
