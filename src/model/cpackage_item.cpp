#include "model/cpackage_item.h"

#include "base/prompter.h"
#include "gateway/procedure_call.h"
#include "model/cpackage.h"
#include "model/record_fields.h"

namespace vym {

bool CPackageItem::UpdatePackageItem(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr || PackageParent == nullptr) {
        return false;
    }
    if (Qty <= 0 && SeqNo == 0) {
        return true;  // removed before it was ever saved
    }
    bool saved = false;
    trap_.Run(oError, "UpdatePackageItem", oDB, [&] {
        using fields::NullIfZero;
        const bool remove = Qty <= 0;
        auto cmd = NewProcedure(
            *oDB, remove ? "VYM_SP_ITEM_DeletePackageDetail" : "VYM_SP_ITEM_UpdatePackageDetail");
        ParameterList& p = cmd->Parameters;
        p["@package_no"].Value = PackageParent->PackageNo;
        p["@seq_no"].Value = remove ? vym::Value(SeqNo) : NullIfZero(SeqNo);
        if (!remove) {
            p["@item_no"].Value = ItemNo;
            p["@qty"].Value = Qty;
            p["@format_no"].Value = NullIfZero(FormatNo);
            p["@redeem_seq_no"].Value = NullIfZero(RedeemSeqNo);
        }
        if (!oDB->Execute(*cmd)) {
            return;
        }
        const std::string message = NullToEmpty(p["@Message"].Value);
        if (!message.empty()) {
            MsgBox(message, kInformation, "Update Package Message");
            return;
        }
        SeqNo = remove ? std::int16_t{0} : NullToZero(p["@seq_no"].Value).ToInteger();
        saved = true;
    });
    return saved;
}

}  // namespace vym
