#include "model/cpackage.h"

#include <algorithm>
#include <utility>

#include "base/prompter.h"
#include "gateway/procedure_call.h"
#include "gateway/row_version.h"
#include "model/record_fields.h"
#include "model/xml_document.h"

namespace vym {
namespace {

std::string RegisterGroupRow(const std::string& packageNo, const std::string& groupId) {
    return XmlRow("vym_register_group_package",
                  {{"package_no", packageNo}, {"register_group_id", groupId}});
}

}  // namespace

CPackageItem& CPackage::AddItem(CPackageItem item) {
    item.PackageParent = this;
    return items_.emplace_back(std::move(item));
}

CPackageItem* CPackage::FindItem(std::int16_t seqNo) {
    const auto found = std::find_if(items_.begin(), items_.end(),
                                    [&](const CPackageItem& line) { return line.SeqNo == seqNo; });
    return found == items_.end() ? nullptr : &*found;
}

void CPackage::SetItems(std::vector<CPackageItem> items) {
    items_ = std::move(items);
    for (CPackageItem& line : items_) {
        line.PackageParent = this;
    }
}

bool CPackage::OpenPackage(Connection* oDB, ErrorObject* oError, std::int32_t lPackageNo) {
    if (oDB == nullptr) {
        return false;
    }
    bool found = false;
    trap_.Run(oError, "OpenPackage", oDB, [&] {
        using namespace fields;
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_GetPackage", {{"@package_no", lPackageNo}});
        auto rs = oDB->ExecuteRecordset(*cmd);
        if (!rs->IsOpen() || rs->Eof()) {
            return;
        }
        Recordset& r = *rs;
        PackageNo = lPackageNo;
        Description = Text(r, "Description");
        DisplaySeq = Long(r, "display_seq");
        IsActive = Flag(r, "is_active");
        FunctionID = Text(r, "function_id");
        FunctionDescription = Text(r, "fun_desc");
        CatagoryID = Text(r, "catagory_id");
        CatagoryDescription = Text(r, "cat_desc");
        ShowOnTree = Flag(r, "show_on_tree");
        TreeIcon = Text(r, "Tree_ICON");
        InstructionNo = Long(r, "instruction_no");
        Instruction = InstructionNo != 0 ? fields::LongText(r.Fields("Instruction_Body")) : "";
        RedeemPackageNo = Long(r, "redeem_package_no");
        RedeemPackageDesc = Text(r, "redeem_package_desc");
        RowVersion = ReadRowVersion(r);
        found = true;
    });
    return found;
}

bool CPackage::Update(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    bool saved = false;
    rowConflict_.clear();
    trap_.Run(oError, "Update", oDB, [&] {
        using fields::NullIfEmpty;
        using fields::NullIfZero;
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_UpdatePackage");
        ParameterList& p = cmd->Parameters;
        p["@package_no"].Value = NullIfZero(PackageNo);
        p["@description"].Value = Description;
        p["@display_seq"].Value = DisplaySeq;
        p["@is_active"].Value = IsActive;
        p["@function_id"].Value = NullIfEmpty(FunctionID);
        p["@catagory_id"].Value = NullIfEmpty(CatagoryID);
        p["@show_on_tree"].Value = ShowOnTree;
        p["@tree_icon"].Value = TreeIcon;
        p["@redeem_package_no"].Value = NullIfZero(RedeemPackageNo);
        p["@vym_user"].Value = oDB->CurrentUserId();
        p["@instruction_no"].Value = NullIfZero(InstructionNo);
        if (!Instruction.empty()) {
            p["@instruction_body"].Value = Instruction;
        }
        SendRowVersion(p, RowVersion);
        if (!oDB->Execute(*cmd)) {
            return;
        }
        const std::string message = NullToEmpty(p["@Message"].Value);
        if (RowChanged(p)) {
            rowConflict_ = message;
            return;
        }
        if (!message.empty()) {
            MsgBox(message, kInformation, "Update Package Message");
            return;
        }
        RowVersion = SavedRowVersion(p);
        PackageNo = NullToZero(p["@package_no"].Value).ToLong();
        InstructionNo = NullToZero(p["@instruction_no"].Value).ToLong();
        saved = true;
    });
    return saved;
}

bool CPackage::OpenItems(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    return trap_.Run(oError, "OpenItems", oDB, [&] {
        using namespace fields;
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_GetPackageItems", {{"@package_no", PackageNo}});
        auto rs = oDB->ExecuteRecordset(*cmd);
        items_.clear();
        for (; rs->IsOpen() && !rs->Eof(); rs->MoveNext()) {
            Recordset& r = *rs;
            CPackageItem line;
            line.ItemNo = Long(r, "item_no");
            line.LongDescription = Text(r, "long_description");
            line.SeqNo = Integer(r, "seq_no");
            line.ItemType = Text(r, "item_type");
            line.Qty = Integer(r, "pkg_qty");
            line.FormatNo = Long(r, "format_no");
            line.RedeemSeqNo = Long(r, "redeem_seq_no");
            AddItem(std::move(line));
        }
    });
}

bool CPackage::UpdateItems(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    bool saved = false;
    trap_.Run(oError, "UpdateItems", oDB, [&] {
        for (CPackageItem& line : items_) {
            if (!line.UpdatePackageItem(oDB, oError)) {
                return;
            }
        }
        saved = true;
    });
    return saved;
}

bool CPackage::OpenRegisterGroups(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    return trap_.Run(oError, "OpenRegisterGroups", oDB,
                     [&] { RegisterGroups = ReadRegisterGroups(*oDB, "@package_no", PackageNo); });
}

bool CPackage::UpdateRegisterGroups(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    const std::string package = std::to_string(PackageNo);
    std::string document = "<ROOT>\r\n";
    if (RegisterGroups.empty()) {
        document += RegisterGroupRow(package, "");
    }
    for (const CRegisterGroup& group : RegisterGroups) {
        document += RegisterGroupRow(package, group.RegisterGroupId);
    }
    document += "</ROOT>";
    bool saved = false;
    trap_.Run(oError, "UpdateRegisterGroups", oDB, [&] {
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_UpdateRegisterGroupPackageXML",
                                {{"@XMLDOC", document}});
        if (!oDB->Execute(*cmd)) {
            return;
        }
        const vym::Value returned = cmd->Parameters["@RETURN_VALUE"].Value;
        if (!returned.IsNull() && !returned.IsEmpty() && returned.ToLong() < 0) {
            MsgBox(NullToEmpty(cmd->Parameters["@Message"].Value), kInformation,
                   "Error Updating Register Group Item(s)");
            return;
        }
        saved = true;
    });
    return saved;
}

}  // namespace vym
