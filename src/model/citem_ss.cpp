#include "model/citem_ss.h"

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
    PrepareProcedure(cmd, "VYM_SP_ITEM_UpdateItemSS");
    cmd.Parameters["@format_no"].Value = fields::NullIfZero(formatNo_);
    cmd.Parameters["@labor_code_id"].Value = NullIfEmpty(LaborCodeId);
    cmd.Parameters["@event_type_id"].Value = NullIfEmpty(EventTypeId);
    cmd.Parameters["@serialized"].Value = Serialized;
    cmd.Parameters["@access_rule_no"].Value = AccessRuleNo;
    cmd.Parameters["@access_trans_type_id"].Value = NullIfEmpty(AccessTransTypeId);
    cmd.Parameters["@confirmation_letter_report"].Value = NullIfEmpty(ConfirmationLetter);
    cmd.Parameters["@resource_type_id"].Value = NullIfEmpty(ResourceTypeId);
    cmd.Parameters["@lesson_code_id"].Value = NullIfEmpty(LessonCodeId);
    cmd.Parameters["@labor_hours"].Value = LaborHours;
    cmd.Parameters["@schedule_hours"].Value = ScheduledHours;
}

}  // namespace vym
