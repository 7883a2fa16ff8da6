#pragma once

#include <cstdint>
#include <string>

#include "model/citem_detail.h"

namespace vym {

// The detail of a shipping charge: rush delivery or pickup.
class CItemShip : public CItemDetail {
  public:
    CItemShip() : CItemDetail("CItemShip") {}

    bool Rush = false;
    bool Pickup = false;

    bool PromptForAccessNo() const override { return false; }

    // Reads VYM_SP_ITEM_GetItemShip; False when there is no row (fields
    // unchanged) or on an error.
    bool OpenItem(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo);
    bool Open(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
              const std::string& sLocationID) override;

  protected:
    void PrepareUpdate(Command& cmd) override;
};

}  // namespace vym
