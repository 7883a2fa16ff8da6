#include "model/cregister_group.h"

#include "gateway/procedure_call.h"
#include "model/record_fields.h"

namespace vym {

std::vector<CRegisterGroup> ReadRegisterGroups(Connection& db, const char* keyParameter,
                                               std::int32_t key) {
    auto cmd = NewProcedure(db, "VYM_SP_ITEM_GetRegisterGroups", {{keyParameter, key}});
    auto rs = db.ExecuteRecordset(*cmd);
    std::vector<CRegisterGroup> groups;
    for (; rs->IsOpen() && !rs->Eof(); rs->MoveNext()) {
        groups.push_back(
            {fields::Text(*rs, "register_group_id"), fields::Text(*rs, "Description")});
    }
    return groups;
}

}  // namespace vym
