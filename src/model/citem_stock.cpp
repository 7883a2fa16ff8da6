#include "model/citem_stock.h"

#include "base/format.h"
#include "base/prompter.h"
#include "gateway/procedure_call.h"
#include "gateway/sql_quote.h"
#include "model/citem.h"
#include "model/record_fields.h"
#include "model/xml_document.h"

namespace vym {

CItemStock::CItemStock() : CItemDetail("CItemStock") {}
CItemStock::~CItemStock() = default;

void CItemStock::SetItemNo(std::int32_t itemNo) {
    CItemDetail::SetItemNo(itemNo);
    if (CItem* parent = CItemDetail::ParentItem()) {
        parent->ItemNo = itemNo;
    } else if (ownParent_) {
        ownParent_->ItemNo = itemNo;
    }
}

CItem* CItemStock::ParentItem() {
    if (CItem* parent = CItemDetail::ParentItem()) {
        return parent;
    }
    if (!ownParent_) {
        ownParent_ = std::make_unique<CItem>();
        ownParent_->ItemNo = ItemNo();
    }
    return ownParent_.get();
}

void CItemStock::SetStatusId(const std::string& statusId) {
    statusId_ = statusId;
    ParentItem()->StatusId = statusId;
}

bool CItemStock::OpenStock(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                           const std::string& sLocationID, bool bOpenQOH) {
    SetItemNo(lItemNo);
    LocationId = sLocationID;
    if (oDB == nullptr) {
        return false;
    }
    if (ItemNo() == 0) {
        AllowLineDiscount = true;
        AllowSellerPricing = true;
        return true;
    }
    bool found = false;
    Trap().Run(oError, "OpenStock", oDB, [&] {
        using namespace fields;
        auto cmd =
            NewProcedure(*oDB, "VYM_SP_ITEM_GetItemStock",
                         {{"@item_no", ItemNo()}, {"@location_id", NullIfEmpty(LocationId)}});
        auto rs = oDB->ExecuteRecordset(*cmd);
        if (rs->IsOpen() && !rs->Eof()) {
            Recordset& r = *rs;
            StockId = Text(r, "stock_id");
            Taxable = Flag(r, "taxable");
            StockTypeId = Text(r, "stock_type_id");
            StockTypeDesc = Text(r, "stock_type_desc");
            Serialized = Flag(r, "Serialized");
            formatNo_ = Long(r, "format_no");
            StockSize = Text(r, "stock_size");
            StockAttribute = Text(r, "Attribute");
            Style = Text(r, "Style");
            Manufacturer = Text(r, "Manufacturer");
            Model = Text(r, "Model");
            StockModelDesc = Text(r, "model_description");
            ModelSerialPrefix = Text(r, "model_serial_prefix");
            MinPrice = Double(r, "min_price");
            UnitPrice = Double(r, "unit_price");
            AllowLineDiscount = Flag(r, "allow_line_discount");
            AllowSellerPricing = Flag(r, "allow_seller_pricing");
            BaseUOMId = Text(r, "Base_UOM_Id");
            BaseUOMDesc = Text(r, "uom_desc");
            CurrentAvgCost = Double(r, "Current_Avg_Cost");
            CurrentAvgFreight = Double(r, "Current_Avg_Freight");
            CurrentAvgDiscount = Double(r, "Current_Avg_Discount");
            CurrentCost = Double(r, "Current_Cost");
            MinQty = Integer(r, "Min_Qty");
            VendorId = Text(r, "vendor_id");
            VendorName = Text(r, "vendor_name");
            statusId_ = Text(r, "status_id");
            RentalType = Text(r, "rental_type");
            ReportDepartmentId = Text(r, "report_department_id");
            ReportSubDepartmentId = Text(r, "report_sub_department_id");
            GroupNo = Long(r, "group_no");
            StockSizeTypeId = Text(r, "stock_size_type_id");
            StockSizeTypeDesc = Text(r, "stock_size_type_desc");
            QOH = Integer(r, "qty_on_hand");
            HasSerialNumbers = Flag(r, "has_serial");
            SerialTypeId = Text(r, "serial_type_id");
            SerialTypeDesc = Text(r, "serial_type_desc");
            BindingTypeId = Text(r, "binding_type_id");
            BindingTypeDesc = Text(r, "binding_type_desc");
            BootLength = Integer(r, "boot_length");
            UPC = Text(r, "upc_code");
            found = true;
        }
        rs->Close();
        if (bOpenQOH && !LocationId.empty()) {
            auto qoh = oDB->OpenRecordset(
                "SELECT qty_on_hand from vym_item_stock_location WHERE item_no = " +
                std::to_string(ItemNo()) + " AND location_id = " + SqlQuote(LocationId));
            if (qoh->IsOpen() && !qoh->Eof()) {
                QOH = Integer(*qoh, "qty_on_hand");
            }
            qoh->Close();
        }
        DataChanged = false;
    });
    return found;
}

bool CItemStock::Open(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                      const std::string& sLocationID) {
    return OpenStock(oDB, oError, lItemNo, sLocationID);
}

double CItemStock::LandedCost() const {
    return CurrentAvgCost + CurrentAvgFreight - CurrentAvgDiscount;
}

std::string CItemStock::CalculateUnitPrice() {
    std::string shown;
    Trap().Run(nullptr, "CalculateUnitPrice", nullptr, [&] {
        UnitPrice = 1.0 - Margin != 0.0 ? RoundHalfEven(LandedCost() / (1.0 - Margin), 4) : 0.0;
        shown = Format(UnitPrice, "$0.0000");
    });
    return shown;
}

std::string CItemStock::CalculateMargin() {
    std::string shown;
    Trap().Run(nullptr, "CalculateMargin", nullptr, [&] {
        Margin = UnitPrice != 0.0 ? RoundHalfEven((UnitPrice - LandedCost()) / UnitPrice, 4) : 0.0;
        shown = Format(Margin, "Percent");
    });
    return shown;
}

std::string CItemStock::MakeLongDescription() {
    CItem& parent = *ParentItem();
    parent.LongDescription =
        parent.ShortDescription + "," + Model + "," + StockAttribute + "," + StockSize;
    return parent.LongDescription;
}

bool CItemStock::UpdateRentalItems(Connection* oDB, ErrorObject* oError,
                                   const std::string& sRentalXML) {
    if (oDB == nullptr) {
        return false;
    }
    bool saved = false;
    Trap().Run(oError, "UpdateRentalItems", oDB, [&] {
        const XmlCallResult result =
            ExecuteXmlProcedure(*oDB, "VYM_SP_ITEM_UpdateItemStockRentalItemXML", "@RETURN_VALUE",
                                "@DOC", "<ROOT>\r\n" + sRentalXML + "\r\n</ROOT>");
        if (!result.Executed) {
            return;
        }
        if (NullToZero(result.ReturnValue).ToLong() != 0) {
            MsgBox(result.Message, kInformation, "Error Updating Stock Rental Items");
            return;
        }
        saved = true;
    });
    return saved;
}

void CItemStock::PrepareUpdate(Command& cmd) {
    using fields::NullIfEmpty;
    using fields::NullIfZero;
    PrepareProcedure(
        cmd, "vym_sp_ITEM_UpdateItemStock",
        {{"@stock_type_id", NullIfEmpty(StockTypeId)},
         {"@serialized", static_cast<std::int16_t>(Serialized ? 1 : 0)},
         {"@format_no", NullIfZero(formatNo_)},
         {"@stock_size", NullIfEmpty(StockSize)},
         {"@attribute", NullIfEmpty(StockAttribute)},
         {"@style", NullIfEmpty(Style)},
         {"@manufacturer", NullIfEmpty(Manufacturer)},
         {"@model_id", NullIfEmpty(Model)},
         {"@min_price", MinPrice},
         {"@unit_price", UnitPrice},
         {"@allow_line_discount", static_cast<std::int16_t>(AllowLineDiscount ? -1 : 0)},
         {"@allow_seller_pricing", static_cast<std::int16_t>(AllowSellerPricing ? -1 : 0)},
         {"@base_uom_id", BaseUOMId},
         {"@current_cost", CurrentCost},
         {"@min_qty", MinQty},
         {"@vendor_id", NullIfEmpty(VendorId)},
         {"@status_id", statusId_.empty() ? std::string("ACTIVE") : statusId_},
         {"@rental_type", NullIfEmpty(RentalType)},
         {"@report_department_id", NullIfEmpty(ReportDepartmentId)},
         {"@report_sub_department_id", NullIfEmpty(ReportSubDepartmentId)},
         {"@group_no", NullIfZero(GroupNo)},
         {"@stock_size_type_id", NullIfEmpty(StockSizeTypeId)},
         {"@serial_type_id", NullIfEmpty(SerialTypeId)},
         {"@binding_type_id", NullIfEmpty(BindingTypeId)},
         {"@boot_length", BootLength},
         {"@upc_code", NullIfEmpty(UPC)}});
}

}  // namespace vym
