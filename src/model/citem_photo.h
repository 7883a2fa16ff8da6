#pragma once

#include <cstdint>
#include <string>

#include "model/citem_detail.h"

namespace vym {

// The detail of a photo product: print size, lab, rush and shipping rules.
class CItemPhoto : public CItemDetail {
  public:
    CItemPhoto() : CItemDetail("CItemPhoto") {}

    std::string PhotoSize;
    bool AutoRush = false;
    bool MailNotAllowed = false;
    bool RequireShipCharge = false;
    std::string LabCode;

    bool PromptForAccessNo() const override { return false; }

    // Reads VYM_SP_ITEM_GetItemPhoto; False when there is no row (fields
    // unchanged) or on an error.
    bool OpenItem(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo);
    bool Open(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
              const std::string& sLocationID) override;

  protected:
    void PrepareUpdate(Command& cmd) override;
};

}  // namespace vym
