#include "model/csale.h"

#include <strings.h>
#include <algorithm>

#include "base/prompter.h"
#include "gateway/procedure_call.h"
#include "gateway/row_version.h"
#include "model/record_fields.h"
#include "model/xml_document.h"

namespace vym {

void CSale::SetLocationId(const std::string& id) {
    locationId_ = id;
    if (id.empty()) {
        locationDescription_.clear();
    }
}

void CSale::SetLocationDescription(const std::string& text) {
    locationDescription_ = strcasecmp(text.c_str(), "<ALL>") == 0 ? std::string() : text;
}

CSaleDept& CSale::AddSaleDept() {
    ++maxSeqNo_;
    CSaleDept& line = saleDepts_[maxSeqNo_];
    line.SeqNo = maxSeqNo_;
    line.SaleNo = SaleNo;
    line.SaleStartDate = SaleStartDate;
    line.SaleEndDate = SaleEndDate;
    line.SetLocationId(locationId_);
    line.SetLocationDescription(locationDescription_);
    line.ItemQualified = ItemQualified;
    line.ParentSale = this;
    return line;
}

bool CSale::OpenSale(Connection* oDB, ErrorObject* oError, std::int32_t lSaleNo) {
    SaleNo = lSaleNo;
    if (oDB == nullptr) {
        return false;
    }
    bool found = false;
    trap_.Run(oError, "OpenSale", oDB, [&] {
        using namespace fields;
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_GetItemStockSale", {{"@sale_no", lSaleNo}});
        auto rs = oDB->ExecuteRecordset(*cmd);
        if (!rs->IsOpen() || rs->Eof()) {
            return;
        }
        Recordset& r = *rs;
        SaleType = Text(r, "sale_type");
        Description = Text(r, "Description");
        SetLocationId(Text(r, "location_id"));
        SaleStartDate = r.Fields("sale_start_date").Date();
        SaleEndDate = r.Fields("sale_end_date").Date();
        SaleFixedAmount = NullToZero(r.Fields("sale_fixed_discount").Value()).ToCurrency();
        SaleFixedPercentage = Double(r, "sale_fixed_percent");
        ItemQualified = Flag(r, "item_qualified");
        SetLocationDescription(Text(r, "loc_desc"));
        RowVersion = ReadRowVersion(r);
        found = true;
    });
    return found;
}

bool CSale::Update(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    bool saved = false;
    rowConflict_.clear();
    trap_.Run(oError, "Update", oDB, [&] {
        using fields::NullIfEmpty;
        auto cmd =
            NewProcedure(*oDB, "VYM_SP_ITEM_UpdateItemStockSale",
                         {{"@sale_no", SaleNo},
                          {"@sale_type", SaleType},
                          {"@description", NullIfEmpty(Description)},
                          {"@location_id", NullIfEmpty(locationId_)},
                          {"@sale_start_date", SaleStartDate},
                          {"@sale_end_date", SaleEndDate},
                          {"@sale_fixed_discount", fields::NullIfZero(SaleFixedAmount)},
                          {"@sale_fixed_percent", fields::NullIfZero(SaleFixedPercentage)},
                          {"@item_qualified", static_cast<std::int16_t>(ItemQualified ? 1 : 0)}});
        SendRowVersion(cmd->Parameters, SaleNo == 0 ? 0 : RowVersion);
        if (!oDB->Execute(*cmd)) {
            return;
        }
        ParameterList& p = cmd->Parameters;
        if (RowChanged(p)) {
            rowConflict_ = NullToEmpty(p["@message"].Value);
            return;
        }
        if (fields::ProcedureRefused(p, "@message", "Update Stock Sale Error")) {
            return;
        }
        SaleNo = NullToZero(p["@sale_no"].Value).ToLong();
        RowVersion = SavedRowVersion(p);
        saved = true;
    });
    return saved;
}

bool CSale::OpenSaleDepts(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    bool complete = false;
    trap_.Run(oError, "OpenSaleDepts", oDB, [&] {
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_GetItemStockDeptSale", {{"@sale_no", SaleNo}});
        auto rs = oDB->ExecuteRecordset(*cmd);
        saleDepts_.clear();
        for (; rs->IsOpen() && !rs->Eof(); rs->MoveNext()) {
            CSaleDept line;
            if (!line.ReadSaleDept(*rs)) {
                return;
            }
            line.ParentSale = this;
            maxSeqNo_ = std::max(maxSeqNo_, line.SeqNo);
            const std::int16_t seqNo = line.SeqNo;
            saleDepts_.insert_or_assign(seqNo, std::move(line));
        }
        complete = true;
    });
    return complete;
}

const std::vector<CSaleItemNo>& CSale::GetSaleItems(Connection* oDB, ErrorObject* oError) {
    ItemNos.assign(1, CSaleItemNo{});
    if (oDB == nullptr) {
        return ItemNos;
    }
    trap_.Run(oError, "GetSaleItems", oDB, [&] {
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_GetItemStockSaleItem", {{"@sale_no", SaleNo}});
        auto rs = oDB->ExecuteRecordset(*cmd);
        if (!rs->IsOpen() || rs->Eof()) {
            return;
        }
        ItemNos.clear();
        for (; !rs->Eof(); rs->MoveNext()) {
            ItemNos.push_back(
                {rs->Fields("item_no").Value().ToString(), fields::Text(*rs, "long_description")});
        }
    });
    return ItemNos;
}

bool CSale::UpdateSaleItems(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    const std::string sale = std::to_string(SaleNo);
    std::string document = "<ROOT>\r\n";
    bool any = false;
    for (const CSaleItemNo& item : ItemNos) {
        if (!item.ItemNo.empty()) {
            document += XmlRow("vym_sale_item", {{"sale_no", sale}, {"item_no", item.ItemNo}});
            any = true;
        }
    }
    if (!any) {
        document += XmlRow("vym_sale_item", {{"sale_no", sale}, {"item_no", "0"}});
    }
    document += "</ROOT>\r\n";
    bool saved = false;
    trap_.Run(oError, "UpdateSaleItems", oDB, [&] {
        const XmlCallResult result = ExecuteXmlProcedure(*oDB, "VYM_SP_ITEM_UpdateItemSaleItem",
                                                         "@RETURN_VALUE", "@DOC", document);
        if (!result.Executed) {
            return;
        }
        if (NullToZero(result.ReturnValue).ToLong() != 0) {
            MsgBox(result.Message, kInformation, "Error Updating Sale Qualifing Item(s)");
            return;
        }
        saved = true;
    });
    return saved;
}

}  // namespace vym
