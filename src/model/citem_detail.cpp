#include "model/citem_detail.h"

#include "gateway/procedure_call.h"

namespace vym {

CItemDetail::~CItemDetail() = default;

bool CItemDetail::Update(Command& cmd, ErrorObject* oError) {
    return trap_.Run(oError, "Update", &cmd.ActiveConnection(), [&] { PrepareUpdate(cmd); });
}

bool CItemDetail::OpenRow(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                          std::string_view operation, std::string_view procedure,
                          const std::function<void(Recordset&)>& load) {
    SetItemNo(lItemNo);
    if (oDB == nullptr) {
        return false;
    }
    bool found = false;
    trap_.Run(oError, operation, oDB, [&] {
        auto cmd = NewProcedure(*oDB, std::string(procedure), {{"@item_no", lItemNo}});
        auto rs = oDB->ExecuteRecordset(*cmd);
        if (rs->IsOpen() && !rs->Eof()) {
            load(*rs);
            found = true;
        }
        rs->Close();
    });
    return found;
}

}  // namespace vym
