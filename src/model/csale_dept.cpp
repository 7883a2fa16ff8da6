#include "model/csale_dept.h"

#include "base/prompter.h"
#include "gateway/procedure_call.h"
#include "gateway/row_version.h"
#include "model/csale.h"
#include "model/record_fields.h"

namespace vym {

void CSaleDept::SetLocationId(const std::string& id) {
    locationId_ = id;
    if (id.empty()) {
        locationDescription_.clear();
    }
}

bool CSaleDept::OpenSaleDept(Connection* oDB, ErrorObject* oError, std::int32_t lSaleNo,
                             std::int16_t iSeqNo) {
    SaleNo = lSaleNo;
    if (oDB == nullptr) {
        return false;
    }
    bool found = false;
    trap_.Run(oError, "OpenSaleDept", oDB, [&] {
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_GetItemStockDeptSale",
                                {{"@sale_no", lSaleNo}, {"@seq_no", iSeqNo}});
        auto rs = oDB->ExecuteRecordset(*cmd);
        found = rs->IsOpen() && !rs->Eof() && ReadSaleDept(*rs);
    });
    return found;
}

bool CSaleDept::ReadSaleDept(Recordset& rsTemp) {
    using namespace fields;
    Recordset& r = rsTemp;
    SaleNo = Long(r, "sale_no");
    SeqNo = Integer(r, "seq_no");
    ModelId = Text(r, "model_id");
    RentalType = Text(r, "rental_type");
    DepartmentId = Text(r, "department_id");
    ReportDepartmentId = Text(r, "report_department_id");
    ReportSubDepartmentId = Text(r, "report_sub_department_id");
    VendorId = Text(r, "vendor_id");
    VendorName = Text(r, "vendor_name");
    SetLocationId(Text(r, "location_id"));
    SaleStartDate = r.Fields("sale_start_date").Date();
    SaleEndDate = r.Fields("sale_end_date").Date();
    SaleFixedAmount = NullToZero(r.Fields("sale_fixed_discount").Value()).ToCurrency();
    SaleFixedPercentage = Double(r, "sale_fixed_percent");
    ItemQualified = Flag(r, "item_qualified");
    SetLocationDescription(Text(r, "loc_desc"));
    RowVersion = ReadRowVersion(r);
    return true;
}

bool CSaleDept::DeleteLine(Connection* oDB, ErrorObject* oError) {
    if (SeqNo < 1 || SaleNo < 1) {
        return true;
    }
    bool deleted = false;
    trap_.Run(oError, "Update", oDB, [&] {
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_DeleteItemStockSaleDept",
                                {{"@sale_no", SaleNo}, {"@seq_no", SeqNo}});
        SendRowVersion(cmd->Parameters, RowVersion);
        if (!oDB->Execute(*cmd)) {
            return;
        }
        if (RowChanged(cmd->Parameters)) {
            rowConflict_ = NullToEmpty(cmd->Parameters["@message"].Value);
            return;
        }
        deleted = NullToZero(cmd->Parameters["@RETURN_VALUE"].Value).ToLong() >= 0;
    });
    return deleted;
}

bool CSaleDept::Update(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    rowConflict_.clear();
    if (DeleteRecord) {
        if (DeleteLine(oDB, oError) && ParentSale != nullptr) {
            ParentSale->SaleDepts().erase(SeqNo);  // destroys this line: nothing may follow
        }
        return false;
    }
    bool saved = false;
    trap_.Run(oError, "Update", oDB, [&] {
        using fields::NullIfEmpty;
        auto cmd =
            NewProcedure(*oDB, "VYM_SP_ITEM_UpdateItemStockSaleDept",
                         {{"@sale_no", SaleNo},
                          {"@seq_no", SeqNo},
                          {"@unit_qty", static_cast<std::int16_t>(1)},
                          {"@rental_type", NullIfEmpty(RentalType)},
                          {"@department_id", NullIfEmpty(DepartmentId)},
                          {"@model_id", NullIfEmpty(ModelId)},
                          {"@report_department_id", NullIfEmpty(ReportDepartmentId)},
                          {"@report_sub_department_id", NullIfEmpty(ReportSubDepartmentId)},
                          {"@vendor_id", NullIfEmpty(VendorId)},
                          {"@location_id", NullIfEmpty(locationId_)},
                          {"@sale_start_date", SaleStartDate},
                          {"@sale_end_date", SaleEndDate},
                          {"@sale_fixed_discount", fields::NullIfZero(SaleFixedAmount)},
                          {"@sale_fixed_percent", fields::NullIfZero(SaleFixedPercentage)},
                          {"@item_qualified", static_cast<std::int16_t>(ItemQualified ? 1 : 0)}});
        SendRowVersion(cmd->Parameters, RowVersion);
        if (!oDB->Execute(*cmd)) {
            return;
        }
        ParameterList& p = cmd->Parameters;
        if (RowChanged(p)) {
            rowConflict_ = NullToEmpty(p["@message"].Value);
            return;
        }
        if (fields::ProcedureRefused(p, "@message", "Update Stock Dept Sale Error")) {
            return;
        }
        SaleNo = NullToZero(p["@sale_no"].Value).ToLong();
        SeqNo = NullToZero(p["@seq_no"].Value).ToInteger();
        RowVersion = SavedRowVersion(p);
        DataChanged = false;
        saved = true;
    });
    return saved;
}

}  // namespace vym
