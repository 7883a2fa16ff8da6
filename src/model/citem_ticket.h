#pragma once

#include <cstdint>
#include <string>

#include "model/citem_detail.h"

namespace vym {

// The detail of a ticket item: its access rule and transaction type, the
// ticket's print format and whether it prints negative, serialization.
class CItemTicket : public CItemDetail {
  public:
    CItemTicket() : CItemDetail("CItemTicket") {}

    std::int32_t AccessRuleNo = 0;
    std::string AccessTransTypeId;
    bool Serialized = false;

    std::int32_t FormatNo() const override { return formatNo_; }
    void SetFormatNo(std::int32_t formatNo) { formatNo_ = formatNo; }
    bool UseNegativeFormat() const override { return useNegativeFormat_; }
    void SetUseNegativeFormat(bool useNegativeFormat) { useNegativeFormat_ = useNegativeFormat; }

    // Always True: tickets ask for an access number.
    bool PromptForAccessNo() const override { return true; }

    // Reads VYM_SP_ITEM_GetItemTicket; False when there is no row (fields
    // unchanged) or on an error, reported to oError.
    bool OpenTicket(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo);
    bool Open(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
              const std::string& sLocationID) override;

  protected:
    // Values go as they stand, 0 and "" included.
    void PrepareUpdate(Command& cmd) override;

  private:
    std::int32_t formatNo_ = 0;
    bool useNegativeFormat_ = false;
};

}  // namespace vym
