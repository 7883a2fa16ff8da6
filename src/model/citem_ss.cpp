#include "model/citem_ss.h"

#include "gateway/procedure_call.h"
#include "model/record_fields.h"

namespace vym {

bool CItemSS::OpenSS(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                     const std::string&) {
    return OpenRow(oDB, oError, lItemNo, "OpenSS", "VYM_SP_ITEM_GetItemSS", [this](Recordset& rs) {
        formatNo_ = fields::Long(rs, "format_no");
        LaborCodeId = fields::Text(rs, "labor_code_id");
        EventTypeId = fields::Text(rs, "event_type_id");
        Serialized = fields::Flag(rs, "Serialized");
        AccessRuleNo = fields::Long(rs, "access_rule_no");
        AccessTransTypeId = fields::Text(rs, "access_trans_type_id");
        ConfirmationLetter = fields::Text(rs, "confirmation_letter_report");
        ResourceTypeId = fields::Text(rs, "resource_type_id");
        LessonCodeId = fields::Text(rs, "lesson_code_id");
        LaborHours = fields::Integer(rs, "labor_hours");
        ScheduledHours = fields::Integer(rs, "schedule_hours");
    });
}

bool CItemSS::Open(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                   const std::string& sLocationID) {
    return OpenSS(oDB, oError, lItemNo, sLocationID);
}

void CItemSS::PrepareUpdate(Command& cmd) {
    using fields::NullIfEmpty;
    PrepareProcedure(cmd, "VYM_SP_ITEM_UpdateItemSS",
                     {{"@format_no", fields::NullIfZero(formatNo_)},
                      {"@labor_code_id", NullIfEmpty(LaborCodeId)},
                      {"@event_type_id", NullIfEmpty(EventTypeId)},
                      {"@serialized", Serialized},
                      {"@access_rule_no", AccessRuleNo},
                      {"@access_trans_type_id", NullIfEmpty(AccessTransTypeId)},
                      {"@confirmation_letter_report", NullIfEmpty(ConfirmationLetter)},
                      {"@resource_type_id", NullIfEmpty(ResourceTypeId)},
                      {"@lesson_code_id", NullIfEmpty(LessonCodeId)},
                      {"@labor_hours", LaborHours},
                      {"@schedule_hours", ScheduledHours}});
}

}  // namespace vym
