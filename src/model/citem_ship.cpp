#include "model/citem_ship.h"

#include "gateway/procedure_call.h"
#include "model/record_fields.h"

namespace vym {

bool CItemShip::OpenItem(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo) {
    return OpenRow(oDB, oError, lItemNo, "OpenItem", "VYM_SP_ITEM_GetItemShip",
                   [this](Recordset& rs) {
                       Rush = fields::Flag(rs, "Rush");
                       Pickup = fields::Flag(rs, "Pickup");
                   });
}

bool CItemShip::Open(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                     const std::string&) {
    return OpenItem(oDB, oError, lItemNo);
}

void CItemShip::PrepareUpdate(Command& cmd) {
    PrepareProcedure(cmd, "VYM_SP_ITEM_UpdateItemShip", {{"@rush", Rush}, {"@pickup", Pickup}});
}

}  // namespace vym
