#include "model/cstock_serial.h"

#include "base/prompter.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/row_version.h"
#include "model/record_fields.h"

namespace vym {

using namespace fields;

namespace {

vym::Date DateOf(Recordset& r, std::string_view name) {
    const vym::Value value = r.Fields(name).Value();
    return value.IsNull() ? vym::Date() : value.ToDate();
}

vym::Currency Money(Recordset& r, std::string_view name) {
    return NullToZero(r.Fields(name).Value()).ToCurrency();
}

}  // namespace

bool CStockSerial::OpenSerial(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                              const std::string& sSerialId) {
    if (oDB == nullptr) {
        return false;
    }
    bool found = false;
    trap_.Run(oError, "OpenSerial", oDB, [&] {
        auto cmd = NewProcedure(*oDB, "VYM_SP_SERIAL_GetItemStockSerial",
                                {{"@item_no", lItemNo}, {"@serial_id", sSerialId}});
        auto rs = oDB->ExecuteRecordset(*cmd);
        if (!rs->IsOpen() || rs->Eof()) {
            return;
        }
        Recordset& r = *rs;
        ItemNo = lItemNo;
        SerialId = sSerialId;
        ItemDesc = Text(r, "long_description");
        StockTypeId = Text(r, "stock_type_id");
        MfgSerial = Text(r, "mfg_serial");
        StatusId = Text(r, "status_id");
        LocationId = Text(r, "location_id");
        LocationDesc = Text(r, "location_desc");
        CurrentLocationId = Text(r, "current_location_id");
        CurrentLocationDesc = Text(r, "current_location_desc");
        CommentNote = Text(r, "comment_note");
        BindingItemNo = Long(r, "binding_item_no");
        BindingItemDesc = Text(r, "binding_item_description");
        // A unit without its own boot length is set for the item's default.
        BootLength = Integer(
            r, r.Fields("boot_length").Value().IsNull() ? "default_boot_length" : "boot_length");
        VendorId = Text(r, "vendor_id");
        VendorName = Text(r, "vendor_name");
        BindingTypeId = Text(r, "binding_type_id");
        BindingTypeDesc = Text(r, "binding_type_desc");
        BindingItemTypeId = Text(r, "binding_item_binding_type_id");
        BindingItemTypeDesc = Text(r, "binding_item_binding_type_desc");
        SerialTypeId = Text(r, "serial_type_id");
        SerialTypeDesc = Text(r, "serial_type_desc");
        StockSize = Text(r, "stock_size");
        ModelId = Text(r, "model_id");
        ModelDesc = Text(r, "model_desc");
        ModelSerialPrefixId = Text(r, "model_serial_prefix");
        RentalItemDesc = Text(r, "rental_item_description");
        MountingLocationId = Text(r, "mounting_location_id");
        PrintFormatNo = Long(r, "print_format_no");
        IsActive = Flag(r, "is_active");
        CreatedBy = Text(r, "created_by");
        CreatedOn = DateOf(r, "created_datetime");
        LastModifiedBy = Text(r, "last_modified_by");
        LastModifiedOn = DateOf(r, "last_modified_datetime");
        OriginalCost = Money(r, "ORIGINAL_COST");
        RetailPrice = Money(r, "RETAIL_Price");
        DepreciatedValue = Money(r, "DEPRECIATED_VALUE");
        RowVersion = ReadRowVersion(r);
        customerNo_ = Long(r, "customer_no");
        customerName_ = Text(r, "full_name");
        contractNo_ = Long(r, "contract_no");
        lineNo_ = Long(r, "line_no");
        seqNo_ = Long(r, "seq_no");
        found = true;
    });
    return found;
}

std::int32_t CStockSerial::CheckQOH(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr || LocationId.empty() || ItemNo == 0) {
        return -1;
    }
    std::int32_t result = -1;
    trap_.Run(oError, "CheckQOH", oDB, [&] {
        auto cmd = NewProcedure(*oDB, "VYM_SP_SERIAL_GetQOH",
                                {{"@item_no", ItemNo},
                                 {"@location_id", LocationId},
                                 {"@serial_id", NullIfEmpty(SerialId)}});
        if (!oDB->Execute(*cmd)) {
            return;
        }
        QOH = NullToZero(cmd->Parameters["@qoh"].Value).ToLong();
        QtySerialized = NullToZero(cmd->Parameters["@qty_serialized"].Value).ToLong();
        result = NullToZero(cmd->Parameters["@RETURN_VALUE"].Value).ToLong();
    });
    return result;
}

bool CStockSerial::Update(Connection* oDB, ErrorObject* oError, bool bNew) {
    if (oDB == nullptr) {
        return false;
    }
    bool saved = false;
    rowConflict_.clear();
    trap_.Run(oError, "Update", oDB, [&] {
        auto cmd = NewProcedure(*oDB, "VYM_SP_SERIAL_UpdateItemStockSerial",
                                {{"@item_no", ItemNo},
                                 {"@serial_id", SerialId},
                                 {"@mfg_serial", NullIfEmpty(MfgSerial)},
                                 {"@mounting_location_id", NullIfEmpty(MountingLocationId)},
                                 {"@print_format_no", PrintFormatNo},
                                 {"@location_id", NullIfEmpty(LocationId)},
                                 {"@comment_note", CommentNote},
                                 {"@binding_item_no", NullIfZero(BindingItemNo)},
                                 {"@boot_length", BootLength},
                                 {"@vym_user", oDB->CurrentUserId()},
                                 {"@insert", std::int16_t(bNew ? -1 : 0)},
                                 {"@status_id", NullIfEmpty(StatusId)},
                                 {"@ORIGINAL_COST", OriginalCost},
                                 {"@RETAIL_PRICE", RetailPrice},
                                 {"@DEPRECIATED_VALUE", DepreciatedValue}});
        ParameterList& p = cmd->Parameters;
        SendRowVersion(p, bNew ? 0 : RowVersion);
        if (!oDB->Execute(*cmd)) {
            return;
        }
        if (RowChanged(p)) {
            rowConflict_ = NullToEmpty(p["@message"].Value);
            return;
        }
        if (ProcedureRefused(p, "@message", "Update Serial Failed")) {
            return;
        }
        RowVersion = SavedRowVersion(p);
        saved = true;
    });
    return saved;
}

void CStockSerial::CopySerial(CStockSerial& o) const {
    o.ItemNo = ItemNo;
    o.ItemDesc = ItemDesc;
    o.StockTypeId = StockTypeId;
    o.SerialId = SerialId;
    o.MfgSerial = MfgSerial;
    o.StatusId = StatusId;
    o.LocationId = LocationId;
    o.LocationDesc = LocationDesc;
    o.CurrentLocationId = CurrentLocationId;
    o.CurrentLocationDesc = CurrentLocationDesc;
    o.CommentNote = CommentNote;
    o.BindingItemNo = BindingItemNo;
    o.BindingItemDesc = BindingItemDesc;
    o.BootLength = BootLength;
    o.VendorId = VendorId;
    o.VendorName = VendorName;
    o.BindingTypeId = BindingTypeId;
    o.BindingTypeDesc = BindingTypeDesc;
    o.SerialTypeId = SerialTypeId;
    o.SerialTypeDesc = SerialTypeDesc;
    o.StockSize = StockSize;
    o.Cost = Cost;
    o.ItemUnitPrice = ItemUnitPrice;
    o.BindingUnitPrice = BindingUnitPrice;
    o.ModelId = ModelId;
    o.ModelDesc = ModelDesc;
    o.ModelSerialPrefixId = ModelSerialPrefixId;
    o.MountingLocationId = MountingLocationId;
    o.PrintFormatNo = PrintFormatNo;
    o.IsActive = IsActive;
    o.OriginalCost = OriginalCost;
    o.RetailPrice = RetailPrice;
    o.DepreciatedValue = DepreciatedValue;
}

void CStockSerial::ClearState() {
    SerialId.clear();
    MfgSerial.clear();
    StatusId = "NEW";
    IsActive = true;
    CreatedBy.clear();
    LastModifiedBy.clear();
    CreatedOn = vym::Date::Now();
    LastModifiedOn = CreatedOn;
}

}  // namespace vym
