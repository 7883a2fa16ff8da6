#include "model/citem.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "base/prompter.h"
#include "base/strings.h"
#include "gateway/procedure_call.h"
#include "gateway/row_version.h"
#include "model/citem_photo.h"
#include "model/citem_rent.h"
#include "model/citem_ship.h"
#include "model/citem_ss.h"
#include "model/citem_stock.h"
#include "model/citem_ticket.h"
#include "model/record_fields.h"
#include "model/xml_document.h"

namespace vym {
namespace {

std::unique_ptr<CItemDetail> MakeDetail(const std::string& itemType) {
    if (itemType == "TICKET") {
        return std::make_unique<CItemTicket>();
    }
    if (itemType == "STOCK") {
        return std::make_unique<CItemStock>();
    }
    if (itemType == "SS") {
        return std::make_unique<CItemSS>();
    }
    if (itemType == "PHOTO") {
        return std::make_unique<CItemPhoto>();
    }
    if (itemType == "SHIP") {
        return std::make_unique<CItemShip>();
    }
    if (itemType == "RENTAL") {
        return std::make_unique<CItemRent>();
    }
    return nullptr;
}

std::string XmlFlag(bool value) {
    return value ? "-1" : "0";
}

std::string Document(const std::string& rows) {
    return "<ROOT>\r\n" + rows + "</ROOT>\r\n";
}

}  // namespace

CItem::CItem() : trap_("CItem") {}
CItem::~CItem() = default;

void CItem::SetItemType(const std::string& itemType) {
    itemType_ = itemType;
    if (!subItem_) {
        SetSubItem(MakeDetail(itemType));
    }
}

void CItem::SetSubItem(std::unique_ptr<CItemDetail> subItem) {
    subItem_ = std::move(subItem);
    if (subItem_) {
        subItem_->SetParentItem(this);
    }
}

template <class Detail>
Detail* CItem::DetailOfType(const char* code) const {
    return itemType_ == code ? dynamic_cast<Detail*>(subItem_.get()) : nullptr;
}

CItemTicket* CItem::TicketItem() const {
    return DetailOfType<CItemTicket>("TICKET");
}
CItemStock* CItem::StockItem() const {
    return DetailOfType<CItemStock>("STOCK");
}
CItemSS* CItem::SSItem() const {
    return DetailOfType<CItemSS>("SS");
}
CItemPhoto* CItem::ItemPhoto() const {
    return DetailOfType<CItemPhoto>("PHOTO");
}
CItemShip* CItem::ItemShip() const {
    return DetailOfType<CItemShip>("SHIP");
}
CItemRent* CItem::RentItem() const {
    return DetailOfType<CItemRent>("RENTAL");
}

bool CItem::PromptForAccessNo() const {
    return subItem_ && subItem_->PromptForAccessNo();
}
bool CItem::UseNegativeFormat() const {
    return subItem_ && subItem_->UseNegativeFormat();
}
std::int32_t CItem::FormatNo() const {
    return subItem_ ? subItem_->FormatNo() : 0;
}

bool CItem::OpenItem(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                     const std::string& sLocationID) {
    ItemNo = lItemNo;
    if (oDB == nullptr) {
        return false;
    }
    bool found = false;
    trap_.Run(oError, "OpenItem", oDB, [&] {
        using namespace fields;
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_GetItem", {{"@item_no", lItemNo}});
        auto rs = oDB->ExecuteRecordset(*cmd);
        if (!rs->IsOpen() || rs->Eof()) {
            return;
        }
        Recordset& r = *rs;
        itemType_ = Text(r, "item_type");
        FunctionID = Text(r, "function_id");
        FunctionDescription = Text(r, "fun_desc");
        CatagoryID = Text(r, "catagory_id");
        CatagoryDescription = Text(r, "cat_desc");
        ShortDescription = Text(r, "short_description");
        LongDescription = Text(r, "long_description");
        TreeIcon = Text(r, "Tree_ICON");
        DepartmentId = Text(r, "department_id");
        HostRequired = Flag(r, "host_required");
        RedeemItem = Long(r, "redeem_item");
        RedeemItemDescription = Text(r, "redeem_item_description");
        RedeemItemType = Text(r, "redeem_item_type");
        Taxable = Flag(r, "Taxable");
        StatusId = Text(r, "status_id");
        InstructionNo = Long(r, "instruction_no");
        Instruction = InstructionNo != 0 ? fields::LongText(r.Fields("Instruction_Body")) : "";
        CommentNote = Text(r, "comment_note");
        ReportNotes = Text(r, "report_note");
        UnitBasedReturn = Flag(r, "unit_based_return");
        ReturnChargeRate = Double(r, "return_charge_rate");
        MaintainInventory = Flag(r, "maintain_inventory");
        ShowOnTree = Flag(r, "show_on_tree");
        SaleProfileId = Text(r, "sale_profile_id");
        ReturnProfileId = Text(r, "return_profile_id");
        RowVersion = ReadRowVersion(r);
        rs->Close();

        SetSubItem(MakeDetail(itemType_));
        if (subItem_) {
            subItem_->Open(oDB, oError, ItemNo, sLocationID);
        }
        found = true;
    });
    return found;
}

bool CItem::Update(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    bool saved = false;
    rowConflict_.clear();
    trap_.Run(oError, "Update", oDB, [&] {
        using fields::NullIfEmpty;
        std::unique_ptr<Command> cmd;
        if (subItem_) {
            cmd = oDB->NewCommand();
            if (!subItem_->Update(*cmd, oError)) {
                return;
            }
        } else {
            cmd = NewProcedure(*oDB, "vym_sp_ITEM_UpdateItem");
        }
        ParameterList& p = cmd->Parameters;
        p.SetValue("@vym_user", oDB->CurrentUserId());
        p.SetValue("@item_no", ItemNo);
        p.SetValue("@item_type", itemType_);
        p.SetValue("@function_id", FunctionID);
        p.SetValue("@catagory_id", CatagoryID);
        p.SetValue("@short_description", ShortDescription);
        p.SetValue("@long_description", LongDescription);
        p.SetValue("@tree_icon", TreeIcon);
        p.SetValue("@department_id", DepartmentId);
        p.SetValue("@host_required", HostRequired);
        p.SetValue("@redeem_item", RedeemItem);
        p.SetValue("@taxable", Taxable);
        p.SetValue("@status_id", StatusId);
        p.SetValue("@comment_note", CommentNote);
        p.SetValue("@report_note", ReportNotes);
        p.SetValue("@unit_based_return", UnitBasedReturn);
        p.SetValue("@return_charge_rate", ReturnChargeRate);
        p.SetValue("@maintain_inventory", MaintainInventory);
        p.SetValue("@show_on_tree", ShowOnTree);
        p.SetValue("@sale_profile_id", SaleProfileId);
        p.SetValue("@return_profile_id", NullIfEmpty(ReturnProfileId));
        p.SetValue("@instruction_no", fields::NullIfZero(InstructionNo));
        if (!Instruction.empty()) {
            p.SetValue("@instruction_body", Instruction);
            if (InstructionNo == 0) {
                p.SetValue("@instruction_no", std::int32_t{-1});
            }
        }
        SendRowVersion(p, RowVersion);
        if (!oDB->Execute(*cmd)) {
            return;
        }
        const std::string message = NullToEmpty(p.ValueOf("@Message"));
        if (RowChanged(p)) {
            rowConflict_ = message;
            return;
        }
        if (!message.empty()) {
            MsgBox(message, kInformation, "Update Item " + itemType_ + " Message");
            return;
        }
        RowVersion = SavedRowVersion(p);
        ItemNo = NullToZero(p.ValueOf("@item_no")).ToLong();
        if (subItem_) {
            subItem_->SetItemNo(ItemNo);
        }
        InstructionNo = NullToZero(p.ValueOf("@instruction_no")).ToLong();
        saved = true;
    });
    return saved;
}

std::int32_t CItem::CreateCopy(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return 0;
    }
    std::int32_t copy = 0;
    trap_.Run(oError, "CreateCopy", oDB, [&] {
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_CreateCopy",
                                {{"@item_no", ItemNo}, {"@new_vym_user", oDB->CurrentUserId()}});
        if (oDB->Execute(*cmd)) {
            copy = NullToZero(cmd->Parameters["@new_item_no"].Value).ToLong();
        }
    });
    return copy;
}

bool CItem::HasExtensions(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    bool any = false;
    trap_.Run(oError, "HasExtensions", oDB, [&] {
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_GetItemExtensions", {{"@item_no", ItemNo}});
        any = oDB->Execute(*cmd) && NullToZero(cmd->Parameters["@RETURN_VALUE"].Value).ToLong() > 0;
    });
    return any;
}

std::string CItem::GetDescription(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo) {
    if (oDB == nullptr) {
        return {};
    }
    std::string description;
    trap_.Run(oError, "GetDescription", oDB, [&] {
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_GetItemDescription", {{"@item_no", lItemNo}});
        if (oDB->Execute(*cmd)) {
            description = NullToEmpty(cmd->Parameters["@description"].Value);
        }
    });
    return description;
}

bool CItem::OpenRegisterGroups(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    return trap_.Run(oError, "OpenRegisterGroups", oDB,
                     [&] { RegisterGroups = ReadRegisterGroups(*oDB, "@item_no", ItemNo); });
}

bool CItem::OpenExtensions(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    return trap_.Run(oError, "OpenExtensions", oDB, [&] {
        using namespace fields;
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_GetItemExtensions", {{"@item_no", ItemNo}});
        auto rs = oDB->ExecuteRecordset(*cmd);
        Extensions.clear();
        for (; rs->IsOpen() && !rs->Eof(); rs->MoveNext()) {
            Recordset& r = *rs;
            Extensions.push_back({ItemNo, Long(r, "child_item_no"), Text(r, "long_description"),
                                  Flag(r, "create_new_product"), Long(r, "max_qty_per_season"),
                                  Long(r, "max_qty_per_trans"), Flag(r, "Activating")});
        }
    });
}

bool CItem::OpenAddOns(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    return trap_.Run(oError, "OpenAddOns", oDB, [&] {
        using namespace fields;
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_ADD_ON_get", {{"@item_no", ItemNo}});
        auto rs = oDB->ExecuteRecordset(*cmd);
        AddOns.clear();
        for (; rs->IsOpen() && !rs->Eof(); rs->MoveNext()) {
            Recordset& r = *rs;
            AddOns.push_back({ItemNo, Long(r, "child_item_no"), Text(r, "long_description"),
                              Long(r, "format_no"), Text(r, "format_description"),
                              Long(r, "access_rule_no"), Text(r, "access_rule_description"),
                              Double(r, "Price")});
        }
    });
}

bool CItem::SaveList(Connection* oDB, ErrorObject* oError, std::string_view operation,
                     std::string procedure, std::string_view returnName,
                     std::string_view documentName, const std::string& document,
                     std::string_view errorTitle, bool requireReturnValue) {
    if (oDB == nullptr) {
        return false;
    }
    bool saved = false;
    trap_.Run(oError, operation, oDB, [&] {
        const XmlCallResult result =
            ExecuteXmlProcedure(*oDB, std::move(procedure), returnName, documentName, document);
        if (!result.Executed) {
            return;
        }
        if (requireReturnValue) {
            const vym::Value& value = result.ReturnValue;
            const std::int32_t returned = value.IsNull() || value.IsEmpty() ? -1 : value.ToLong();
            if (returned < 0) {
                return;
            }
        }
        if (!result.Message.empty()) {
            MsgBox(result.Message, kInformation, errorTitle);
            return;
        }
        saved = true;
    });
    return saved;
}

bool CItem::UpdateRegisterGroups(Connection* oDB, ErrorObject* oError) {
    const std::string item = std::to_string(ItemNo);
    std::string rows;
    if (RegisterGroups.empty()) {
        rows = XmlRow("vym_register_group_item", {{"item_no", item}, {"register_group_id", ""}});
    }
    for (const CRegisterGroup& group : RegisterGroups) {
        rows += XmlRow("vym_register_group_item",
                       {{"item_no", item}, {"register_group_id", group.RegisterGroupId}});
    }
    return SaveList(oDB, oError, "UpdateRegisterGroups", "VYM_SP_ITEM_UpdateRegisterGroupItemsXML",
                    "@@RETURN_VALUE", "@XMLDoc", Document(rows),
                    "Error Updating Register Group Item(s)", false);
}

bool CItem::UpdateExtensions(Connection* oDB, ErrorObject* oError) {
    const std::string item = std::to_string(ItemNo);
    std::string rows;
    if (Extensions.empty()) {
        rows = XmlRow("vym_extension", {{"parent_item_no", item},
                                        {"child_item_no", "0"},
                                        {"create_new_product", "0"},
                                        {"max_qty_per_season", "0"},
                                        {"max_qty_per_trans", "0"},
                                        {"activating", "0"}});
    }
    for (const CItemExtension& e : Extensions) {
        rows += XmlRow("vym_extension", {{"parent_item_no", item},
                                         {"child_item_no", std::to_string(e.ChildItemNo)},
                                         {"create_new_product", XmlFlag(e.CreateNewProduct)},
                                         {"max_qty_per_season", std::to_string(e.MaxQtyPerSeason)},
                                         {"max_qty_per_trans", std::to_string(e.MaxQtyPerTrans)},
                                         {"activating", XmlFlag(e.Activating)}});
    }
    return SaveList(oDB, oError, "UpdateExtensions", "VYM_SP_ITEM_UpdateItemExtensionsXML",
                    "@RETURN_VALUE", "@XMLDoc", Document(rows), "Error Updating Extension Item(s)",
                    true);
}

bool CItem::UpdateAddOns(Connection* oDB, ErrorObject* oError) {
    const std::string item = std::to_string(ItemNo);
    std::string rows;
    if (AddOns.empty()) {
        rows = XmlRow("vym_item_add_on", {{"parent_item_no", item},
                                          {"child_item_no", "0"},
                                          {"format_no", "0"},
                                          {"access_rule_no", "0"},
                                          {"price", "0"}});
    }
    for (const CItemAddOn& a : AddOns) {
        rows += XmlRow("vym_item_add_on", {{"parent_item_no", item},
                                           {"child_item_no", std::to_string(a.ChildItemNo)},
                                           {"format_no", std::to_string(a.FormatNo)},
                                           {"access_rule_no", std::to_string(a.AccessRuleNo)},
                                           {"price", vym::Value(a.Price).ToString()}});
    }
    return SaveList(oDB, oError, "UpdateAddOns", "VYM_SP_ITEM_ADD_ON_update", "@RETURN_VALUE",
                    "@XMLDoc", Document(rows), "Error Updating Add On Item(s)", true);
}

bool CItem::UpdateRentalDetail(Connection* oDB, ErrorObject* oError,
                               const std::string& sXMLDetail) {
    return SaveList(oDB, oError, "UpdateRentalDetail", "VYM_SP_ITEM_UpdateItemRentalDetailXML",
                    "@RETURN_VALUE", "@DOC", "<ROOT>\r\n" + sXMLDetail + "\r\n</ROOT>",
                    "Error Updating Stock Rental Items", false);
}

bool CItem::UpdateMaps(Connection* oDB, ErrorObject* oError, const std::string& sXMLDetail) {
    if (sXMLDetail.empty()) {
        return false;
    }
    return SaveList(oDB, oError, "UpdateMaps", "VYM_SP_ITEM_UpdateItemStockMapsXML",
                    "@RETURN_VALUE", "@DOC", Document(sXMLDetail), "Error Updating Item Map",
                    false);
}

bool CItem::ValidateMapId(Connection* oDB, ErrorObject* oError, std::string& sMapId) {
    bool valid = false;
    trap_.Run(oError, "ValidateMapId", oDB, [&] {
        std::string upper = sMapId;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        sMapId = FilterCharacters(upper, false, false, false);
        if (sMapId.size() != upper.size()) {
            MsgBox(
                "Some of the characters you entered were invalid and have been removed from "
                "the map you entered.",
                kInformation, "Warning - Invalid Characters Were Removed");
        }
        if (sMapId.empty()) {
            MsgBox("Item Map must be at least 1 character.", kInformation, "Invalid Map Error");
            return;
        }
        if (sMapId.size() > 30) {
            MsgBox("Item Map can not be longer than 30 characters.", kInformation,
                   "Invalid Map Error");
            return;
        }
        if (std::string_view("SCIP#").find(sMapId.front()) != std::string_view::npos) {
            MsgBox("Item Map can not begin with a reserved character (S,C,I,P,#).", kInformation,
                   "Invalid Item Map");
            return;
        }
        if (oDB == nullptr) {
            return;
        }
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_GetItemStockMaps", {{"@map_id", sMapId}});
        auto rs = oDB->ExecuteRecordset(*cmd);
        if (rs->IsOpen() && !rs->Eof()) {
            MsgBox("Item Map already exits for item " + fields::Text(*rs, "item_no"), kInformation,
                   "Item Map Error");
            return;
        }
        valid = true;
    });
    return valid;
}

}  // namespace vym
