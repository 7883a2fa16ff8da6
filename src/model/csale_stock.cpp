#include "model/csale_stock.h"

#include <charconv>

#include "base/prompter.h"
#include "gateway/procedure_call.h"
#include "gateway/row_version.h"
#include "model/record_fields.h"

namespace vym {

void CSaleStock::SetUnitQty(const std::string& text) {
    std::int16_t qty = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), qty);
    unitQty_ = ec == std::errc{} && end == text.data() + text.size() ? qty : 0;
}

void CSaleStock::SetLocationId(const std::string& id) {
    locationId_ = id;
    if (id.empty()) {
        locationDescription_.clear();
    }
}

bool CSaleStock::OpenSaleStock(Connection* oDB, ErrorObject* oError, std::int32_t lSaleNo,
                               std::int32_t lItemNo, std::int32_t lPriceNo) {
    if (oDB == nullptr) {
        return false;
    }
    bool found = false;
    trap_.Run(oError, "OpenSaleStock", oDB, [&] {
        auto cmd =
            NewProcedure(*oDB, "VYM_SP_ITEM_GetItemStockSalePrice",
                         {{"@sale_no", lSaleNo}, {"@item_no", lItemNo}, {"@price_no", lPriceNo}});
        auto rs = oDB->ExecuteRecordset(*cmd);
        found = rs->IsOpen() && !rs->Eof() && ReadSaleStock(*rs);
    });
    return found;
}

bool CSaleStock::ReadSaleStock(Recordset& rsTemp) {
    using namespace fields;
    PriceNo = Long(rsTemp, "price_no");
    SaleNo = Long(rsTemp, "sale_no");
    ItemNo = Long(rsTemp, "item_no");
    unitQty_ = Integer(rsTemp, "unit_qty");
    UOMId = Text(rsTemp, "uom_id");
    SetLocationId(Text(rsTemp, "location_id"));
    SaleFixedPercentage = Double(rsTemp, "sale_fixed_percent");
    SetLocationDescription(Text(rsTemp, "loc_desc"));
    RowVersion = ReadRowVersion(rsTemp);
    return true;
}

bool CSaleStock::Update(Connection* oDB, ErrorObject* oError) {
    if (oDB == nullptr) {
        return false;
    }
    bool saved = false;
    rowConflict_.clear();
    // Kept when the price changed since it was read: nothing else is said.
    const auto changed = [this](ParameterList& p) {
        if (RowChanged(p)) {
            rowConflict_ = NullToEmpty(p["@message"].Value);
        }
        return !rowConflict_.empty();
    };
    trap_.Run(oError, "Update", oDB, [&] {
        if (unitQty_ == 0) {
            if (PriceNo > 0) {
                auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_DeleteItemStockSalePrice",
                                        {{"@price_no", PriceNo}});
                SendRowVersion(cmd->Parameters, RowVersion);
                if (!oDB->Execute(*cmd) || changed(cmd->Parameters)) {
                    return;
                }
                PriceNo = 0;
                RowVersion = 0;
            }
            saved = true;
            return;
        }
        auto cmd = NewProcedure(*oDB, "VYM_SP_ITEM_UpdateItemStockSalePrice",
                                {{"@sale_no", SaleNo},
                                 {"@item_no", ItemNo},
                                 {"@unit_qty", unitQty_},
                                 {"@uom_id", UOMId},
                                 {"@location_id", fields::NullIfEmpty(locationId_)},
                                 {"@sale_fixed_percent", fields::NullIfZero(SaleFixedPercentage)}});
        SendRowVersion(cmd->Parameters, RowVersion);
        if (!oDB->Execute(*cmd) || changed(cmd->Parameters)) {
            return;
        }
        ParameterList& p = cmd->Parameters;
        if (fields::ProcedureRefused(p, "@message", "Update Stock Sale Price Error")) {
            return;
        }
        PriceNo = NullToZero(p["@price_no"].Value).ToLong();
        RowVersion = SavedRowVersion(p);
        saved = true;
    });
    return saved;
}

}  // namespace vym
