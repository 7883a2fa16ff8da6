#pragma once

#include <cstdint>
#include <string>

#include "base/currency.h"
#include "base/date.h"
#include "gateway/error_trap.h"

namespace vym {

class Connection;
class ErrorObject;

// One serialized unit of a stock item (a pair of rental skis, boots, a
// board): its identity, where it belongs and is, its status, the binding
// mounted on it, data copied from its stock item, optional prices and audit
// stamps. Each database operation takes the connection and error object;
// unexpected failures go to the error object under "CStockSerial" and the
// operation returns false (-1 for CheckQOH).
//
// Amounts are Currency, so that a price typed as 0.10 stays exactly that.
class CStockSerial {
  public:
    std::int32_t ItemNo = 0;
    std::string ItemDesc;
    std::string StockTypeId;
    std::string SerialId;
    std::string MfgSerial;
    std::string StatusId = "NEW";
    std::string LocationId;
    std::string LocationDesc;
    std::string CurrentLocationId;
    std::string CurrentLocationDesc;
    std::string CommentNote;
    std::int32_t BindingItemNo = 0;  // 0: none
    std::string BindingItemDesc;
    std::int16_t BootLength = 0;
    std::string VendorId;
    std::string VendorName;
    std::string BindingTypeId;
    std::string BindingTypeDesc;
    std::string BindingItemTypeId;
    std::string BindingItemTypeDesc;
    std::string SerialTypeId;
    std::string SerialTypeDesc;
    std::string StockSize;
    vym::Currency Cost;
    vym::Currency ItemUnitPrice;
    vym::Currency BindingUnitPrice;
    std::string ModelId;
    std::string ModelDesc;
    std::string ModelSerialPrefixId;
    std::string RentalItemDesc;
    std::string MountingLocationId;
    std::int32_t PrintFormatNo = 0;
    bool IsActive = false;
    std::string CreatedBy;
    vym::Date CreatedOn;
    std::string LastModifiedBy;
    vym::Date LastModifiedOn;
    std::int32_t QOH = 0;
    std::int32_t QtySerialized = 0;
    vym::Currency OriginalCost;
    vym::Currency RetailPrice;
    vym::Currency DepreciatedValue;
    // The version of the unit as read or last saved: a save names it, so that
    // a unit another station saved since is refused (RowConflict).
    std::int32_t RowVersion = 0;
    // Why the last Update was refused because another station saved or
    // deleted the unit since it was read; "" otherwise. Nothing is shown.
    const std::string& RowConflict() const { return rowConflict_; }

    // The rental contract line the unit is out on, as OpenSerial read it.
    std::int32_t CustomerNo() const { return customerNo_; }
    const std::string& CustomerName() const { return customerName_; }
    std::int32_t ContractNo() const { return contractNo_; }
    std::int32_t LineNo() const { return lineNo_; }
    std::int32_t SeqNo() const { return seqNo_; }
    vym::Currency SalePrice() const { return ItemUnitPrice + BindingUnitPrice; }

    // Loads the unit; false when there is no such unit (or no connection).
    bool OpenSerial(Connection* oDB, ErrorObject* oError, std::int32_t lItemNo,
                    const std::string& sSerialId);
    // The units that may still be serialized at LocationId (on hand less
    // those serialized there, this one left out), with QOH and QtySerialized
    // set; -1 without a connection, location or item.
    std::int32_t CheckQOH(Connection* oDB, ErrorObject* oError);
    // Inserts (bNew) or updates the unit. A refusal of the database is shown
    // in an information box titled "Update Serial Failed" and returns false;
    // one because the unit changed since it was read shows nothing and is
    // kept in RowConflict.
    bool Update(Connection* oDB, ErrorObject* oError, bool bNew);
    // Copies the unit's own attributes, not the binding's type, rental
    // description, stamps, quantities or contract.
    void CopySerial(CStockSerial& oNewCopy) const;
    // Makes the object a new unit with the same attributes.
    void ClearState();

  private:
    std::int32_t customerNo_ = 0;
    std::string customerName_;
    std::int32_t contractNo_ = 0;
    std::int32_t lineNo_ = 0;
    std::int32_t seqNo_ = 0;
    std::string rowConflict_;
    ErrorTrap trap_{"CStockSerial"};
};

}  // namespace vym
