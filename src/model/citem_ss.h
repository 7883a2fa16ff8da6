#pragma once

#include <cstdint>
#include <string>

#include "model/citem_detail.h"

namespace vym {

// The detail of a ski-school lesson or service: ticket format, labor and
// scheduling, access rule, confirmation letter, resource and lesson codes.
class CItemSS : public CItemDetail {
  public:
    CItemSS() : CItemDetail("CItemSS") {}

    std::string LaborCodeId;
    std::string EventTypeId;
    bool Serialized = false;
    std::int32_t AccessRuleNo = 0;
    std::string AccessTransTypeId;
    std::string ConfirmationLetter;
    std::string ResourceTypeId;
    std::string LessonCodeId;
    std::int16_t LaborHours = 0;
    std::int16_t ScheduledHours = 0;

    std::int32_t FormatNo() const override { return formatNo_; }
    void SetFormatNo(std::int32_t formatNo) { formatNo_ = formatNo; }

    // Always True: lessons ask for an access number.
    bool PromptForAccessNo() const override { return true; }

    // Reads VYM_SP_ITEM_GetItemSS; the location is accepted but not used.
    // False when there is no row (fields unchanged) or on an error.
    bool OpenSS(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                const std::string& sLocationID = {});
    bool Open(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
              const std::string& sLocationID) override;

  protected:
    // Format 0 and empty codes go as Null.
    void PrepareUpdate(Command& cmd) override;

  private:
    std::int32_t formatNo_ = 0;
};

}  // namespace vym
