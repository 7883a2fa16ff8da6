#include "model/citem_ticket.h"

#include "gateway/procedure_call.h"
#include "model/record_fields.h"

namespace vym {

bool CItemTicket::OpenTicket(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo) {
    return OpenRow(oDB, oError, lItemNo, "OpenTicket", "VYM_SP_ITEM_GetItemTicket",
                   [this](Recordset& rs) {
                       AccessRuleNo = fields::Long(rs, "access_rule_no");
                       AccessTransTypeId = fields::Text(rs, "access_trans_type_id");
                       formatNo_ = fields::Long(rs, "format_no");
                       useNegativeFormat_ = fields::Flag(rs, "use_negative_format");
                       Serialized = fields::Flag(rs, "Serialized");
                   });
}

bool CItemTicket::Open(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                       const std::string&) {
    return OpenTicket(oDB, oError, lItemNo);
}

void CItemTicket::PrepareUpdate(Command& cmd) {
    PrepareProcedure(cmd, "VYM_SP_ITEM_UpdateItemTicket",
                     {{"@access_rule_no", AccessRuleNo},
                      {"@access_trans_type_id", AccessTransTypeId},
                      {"@format_no", formatNo_},
                      {"@use_negative_format", useNegativeFormat_},
                      {"@serialized", Serialized}});
}

}  // namespace vym
