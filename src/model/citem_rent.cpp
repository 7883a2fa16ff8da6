#include "model/citem_rent.h"

#include "gateway/procedure_call.h"
#include "model/citem.h"
#include "model/record_fields.h"

namespace vym {

void CItemRent::SetStatusId(const std::string& statusId) {
    if (CItem* parent = ParentItem()) {
        parent->StatusId = statusId;
    }
}

bool CItemRent::OpenRent(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo) {
    return OpenRow(oDB, oError, lItemNo, "OpenRent", "VYM_SP_ITEM_GetItemRental",
                   [this](Recordset& rs) {
                       ReportDepartmentId = fields::Text(rs, "report_department_id");
                       ReportSubDepartmentId = fields::Text(rs, "report_sub_department_id");
                       UnitPrice = fields::Double(rs, "unit_price");
                       MinPrice = fields::Double(rs, "min_price");
                       AllowLineDiscount = fields::Flag(rs, "allow_line_discount");
                       AllowSellerPricing = fields::Flag(rs, "allow_seller_pricing");
                       IsAPackage = fields::Flag(rs, "is_package");
                       SeasonRental = fields::Flag(rs, "Season_Rental");
                   });
}

bool CItemRent::Open(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                     const std::string&) {
    return OpenRent(oDB, oError, lItemNo);
}

void CItemRent::PrepareUpdate(Command& cmd) {
    PrepareProcedure(cmd, "VYM_SP_ITEM_UpdateItemRental",
                     {{"@report_department_id", fields::NullIfEmpty(ReportDepartmentId)},
                      {"@report_sub_department_id", fields::NullIfEmpty(ReportSubDepartmentId)},
                      {"@unit_price", UnitPrice},
                      {"@min_price", MinPrice},
                      {"@allow_line_discount", AllowLineDiscount},
                      {"@allow_seller_pricing", AllowSellerPricing},
                      {"@is_package", IsAPackage},
                      {"@season_rental", SeasonRental}});
}

}  // namespace vym
