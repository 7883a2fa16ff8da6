#pragma once

#include <cstdint>
#include <string>

#include "gateway/connection.h"
#include "gateway/error_object.h"
#include "gateway/error_trap.h"
#include "gateway/recordset.h"

namespace vym {

class CSale;

// One item's sale price line, given as a percentage off the item's regular
// price; for hosts (the module's own screens price items directly). Errors
// are reported under "CSaleStock".
class CSaleStock {
  public:
    std::int32_t SaleNo = 0;
    std::int32_t ItemNo = 0;
    std::string UOMId;
    double SaleFixedPercentage = 0.0;  // a fraction
    std::int32_t PriceNo = 0;          // assigned by the database
    CSale* ParentSale = nullptr;       // not owned
    // The version of the price as read or last saved (0: never saved): a
    // save or delete names it, so that a price another station saved since
    // is refused (RowConflict).
    std::int32_t RowVersion = 0;
    // Why the last Update was refused because another station saved or
    // deleted the price since it was read; "" otherwise. Nothing is shown.
    const std::string& RowConflict() const { return rowConflict_; }

    // The quantity as decimal text; "0" marks the line for deletion.
    std::string UnitQty() const { return std::to_string(unitQty_); }
    // Text that is not a whole number reads as 0.
    void SetUnitQty(const std::string& text);
    const std::string& LocationId() const { return locationId_; }
    void SetLocationId(const std::string& id);
    const std::string& LocationDescription() const { return locationDescription_; }
    void SetLocationDescription(const std::string& text) { locationDescription_ = text; }

    bool OpenSaleStock(Connection* oDB, ErrorObject* oError, std::int32_t lSaleNo,
                       std::int32_t lItemNo, std::int32_t lPriceNo);
    bool ReadSaleStock(Recordset& rsTemp);
    // Saves the line (PriceNo then holds its number), or with a quantity of
    // 0 deletes a saved one. A refusal shows the procedure's message titled
    // "Update Stock Sale Price Error" and returns False; one because the
    // price changed since it was read shows nothing and is kept in
    // RowConflict.
    bool Update(Connection* oDB, ErrorObject* oError);

  private:
    std::int16_t unitQty_ = 1;
    std::string locationId_;
    std::string locationDescription_;
    std::string rowConflict_;
    ErrorTrap trap_{"CSaleStock"};
};

}  // namespace vym
