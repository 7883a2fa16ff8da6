#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/currency.h"
#include "gateway/error_trap.h"
#include "pricing/bulk_price_rules.h"

namespace Ui {
class frmBulkPrice;
}

namespace vym {

class Command;
class Connection;
class ErrorObject;
class Recordset;
class ScreenContext;

// "Bulk Price Change": raises or lowers the prices of many items at once (the
// item console's search result, a department, a vendor or a stock type) by a
// percentage or an amount, or sets them from cost by a margin, brought to a
// price ending. Preview lists every price old and new, and why a price cannot
// change; Apply saves the previewed prices in one transaction, or none when
// another station changed one of them since.
class frmBulkPrice : public QDialog {
    Q_OBJECT

  public:
    explicit frmBulkPrice(QWidget* parent = nullptr);
    ~frmBulkPrice() override;

    // Keeps the connection and error object of itemMaint (not owned) and
    // loads the scope lists; vItems, the console's search result, is the
    // first scope offered. False without a connection.
    bool Setup(ScreenContext* itemMaint, const std::vector<std::int32_t>& vItems = {});
    // Fills the preview until every price is listed or Stop is pressed;
    // False when refused, stopped or failed (reported).
    bool Preview();
    // Saves the previewed prices after the user confirms; False when there
    // was nothing to save, the user declined or the save was refused.
    bool Apply();

  private:
    // A previewed price: what Apply sends for it.
    struct PreviewRow {
        std::int32_t priceNo = 0;
        std::int32_t version = 0;
        Currency price;
        bool changes = false;
    };

    void LoadScopes();
    BulkPriceEntry Entry() const;
    PriceRule Rule() const;
    void SetScopeParameters(Command& command) const;
    void AddPreviewRow(Recordset& rows, const PriceRule& rule);
    void LockEntry(bool locked);
    void ShowSummary();
    void Invalidate();

    std::unique_ptr<Ui::frmBulkPrice> ui_;
    ErrorTrap trap_{"frmBulkPrice"};
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    std::vector<std::int32_t> items_;
    std::vector<PreviewRow> rows_;
    int refused_ = 0;
    bool previewed_ = false;  // rows_ holds the whole preview of the entry shown
    bool busy_ = false;
    bool stopRequested_ = false;
};

}  // namespace vym
