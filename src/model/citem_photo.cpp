#include "model/citem_photo.h"

#include "gateway/procedure_call.h"
#include "model/record_fields.h"

namespace vym {

bool CItemPhoto::OpenItem(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo) {
    return OpenRow(oDB, oError, lItemNo, "OpenItem", "VYM_SP_ITEM_GetItemPhoto",
                   [this](Recordset& rs) {
                       PhotoSize = fields::Text(rs, "photo_size_id");
                       AutoRush = fields::Flag(rs, "auto_rush");
                       MailNotAllowed = fields::Flag(rs, "mail_not_allowed");
                       RequireShipCharge = fields::Flag(rs, "require_ship_charge");
                       LabCode = fields::Text(rs, "lab_code_id");
                   });
}

bool CItemPhoto::Open(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                      const std::string&) {
    return OpenItem(oDB, oError, lItemNo);
}

void CItemPhoto::PrepareUpdate(Command& cmd) {
    PrepareProcedure(cmd, "VYM_SP_ITEM_UpdateItemPhoto",
                     {{"@photo_size_id", PhotoSize},
                      {"@auto_rush", AutoRush},
                      {"@mail_not_allowed", MailNotAllowed},
                      {"@require_ship_charge", RequireShipCharge},
                      {"@lab_code_id", LabCode}});
}

}  // namespace vym
