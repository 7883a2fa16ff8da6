#pragma once

#include <cstdint>
#include <string>

#include "model/citem_detail.h"

namespace vym {

// The detail of a rental item (or rental package): reporting departments,
// price and minimum price, discount rules, package and season flags.
class CItemRent : public CItemDetail {
  public:
    CItemRent() : CItemDetail("CItemRent") {}

    std::string ReportDepartmentId;
    std::string ReportSubDepartmentId;
    double UnitPrice = 0.0;
    double MinPrice = 0.0;
    bool AllowLineDiscount = false;
    bool AllowSellerPricing = false;
    bool IsAPackage = false;
    bool SeasonRental = false;
    bool DataChanged = false;  // the editor's dirty flag

    // Write only: the status is the parent item's.
    void SetStatusId(const std::string& statusId);

    bool PromptForAccessNo() const override { return false; }

    // Reads VYM_SP_ITEM_GetItemRental; False when there is no row (fields
    // unchanged) or on an error.
    bool OpenRent(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo);
    bool Open(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
              const std::string& sLocationID) override;

  protected:
    // Empty reporting departments go as Null.
    void PrepareUpdate(Command& cmd) override;
};

}  // namespace vym
