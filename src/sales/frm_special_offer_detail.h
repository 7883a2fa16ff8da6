#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "gateway/error_trap.h"
#include "host/row_conflict.h"
#include "sales/special_offer_rules.h"

namespace Ui {
class frmSpecialOfferDetail;
}

namespace vym {

class Connection;
class ErrorObject;
class ScreenContext;

// "Special Offer Detail": one line of an offer, what qualifies and what it
// takes off, written on Ok in one call together with its package breakdown.
class frmSpecialOfferDetail : public QDialog {
    Q_OBJECT

  public:
    explicit frmSpecialOfferDetail(QWidget* parent = nullptr);
    ~frmSpecialOfferDetail() override;

    // Opens line seqNo of the offer, or a new line for 0 (itemMaint not
    // owned; offerCode is what the screen calls the offer).
    void Setup(ScreenContext* itemMaint, std::int32_t offerNo, const QString& offerCode,
               std::int32_t seqNo);
    // The line's number once saved; 0 before.
    std::int32_t SeqNo() const { return seqNo_; }

  private:
    void LoadLists();
    void LoadLine();
    void LoadGroups();
    void LoadProducts();
    void LoadProductItems();
    void SetItem(std::int32_t itemNo, const QString& text);
    void SetPackage(std::int32_t packageNo, const QString& text);
    void SetPrice(std::int32_t priceNo, const QString& text);
    void chkExclude_Click();
    void cmdItem_Click();
    void cmdPackage_Click();
    void cmdPrice_Click();
    void cmdBreakdown_Click();
    bool SaveLine();

    std::unique_ptr<Ui::frmSpecialOfferDetail> ui_;
    ErrorTrap trap_{"frmSpecialOfferDetail"};
    ScreenContext* itemMaint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    std::int32_t offerNo_ = 0;
    std::int32_t seqNo_ = 0;
    std::int32_t itemNo_ = 0;
    std::int32_t packageNo_ = 0;
    std::int32_t priceNo_ = 0;
    // The line's version as read or last saved; 0 for a new line.
    std::int32_t rowVersion_ = 0;
    // A save refused because another station saved the line since.
    RowConflict conflict_;
    // The per-unit discounts once the breakdown screen handed them back.
    std::optional<std::vector<special_offer::BreakdownRow>> breakdown_;
};

}  // namespace vym
