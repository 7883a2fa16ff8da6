#pragma once

#include <cstdint>
#include <string>

#include "base/currency.h"
#include "base/date.h"
#include "gateway/connection.h"
#include "gateway/error_object.h"
#include "gateway/error_trap.h"
#include "gateway/recordset.h"

namespace vym {

class CSale;

// One department line of a department sale: every stock item of its
// department, report department and sub-department, model, vendor and
// rental type gets its percentage or its flat discount (at most one; 0 is
// not set). Lines live in their sale's SaleDepts; errors are reported under
// "CSaleDept".
class CSaleDept {
  public:
    std::string ModelId;
    bool DataChanged = false;   // set by screens, cleared by a successful save
    bool DeleteRecord = false;  // Update deletes the line instead of saving it
    std::string ReportDepartmentId;
    std::string ReportSubDepartmentId;

    std::int32_t SaleNo = 0;
    std::int16_t SeqNo = 0;  // from 1 within the sale; 0 until numbered
    std::string DepartmentId;
    std::string RentalType;
    vym::Date SaleStartDate;
    vym::Date SaleEndDate;
    double SaleFixedPercentage = 0.0;  // a fraction: 0.15 is 15 %
    vym::Currency SaleFixedAmount;
    bool ItemQualified = false;
    std::string VendorId;
    std::string VendorName;
    // The sale that owns the line through its SaleDepts (not owned).
    CSale* ParentSale = nullptr;
    // The version of the line as read or last saved (0: never saved): a save
    // or delete names it, so that a line another station saved since is
    // refused (RowConflict).
    std::int32_t RowVersion = 0;
    // Why the last Update was refused because another station saved or
    // deleted the line since it was read; "" otherwise. Nothing is shown.
    const std::string& RowConflict() const { return rowConflict_; }

    // Accepted and discarded; always reads as "".
    std::string UnitQty() const { return {}; }
    void SetUnitQty(const std::string&) {}
    const std::string& LocationId() const { return locationId_; }
    // An empty location (every location) also clears the description.
    void SetLocationId(const std::string& id);
    const std::string& LocationDescription() const { return locationDescription_; }
    void SetLocationDescription(const std::string& text) { locationDescription_ = text; }

    // Loads line iSeqNo of sale lSaleNo. True when it was found.
    bool OpenSaleDept(Connection* oDB, ErrorObject* oError, std::int32_t lSaleNo,
                      std::int16_t iSeqNo);
    // Fills the line from the current row of a department-line result set.
    bool ReadSaleDept(Recordset& rsTemp);
    // Saves the line; SaleNo and SeqNo then hold what the database gave it.
    // A refusal shows the procedure's message titled "Update Stock Dept Sale
    // Error" and returns False; one because the line changed since it was
    // read shows nothing and is kept in RowConflict.
    //
    // With DeleteRecord set, deletes a saved line instead and takes the line
    // out of its parent's SaleDepts, which destroys it: the caller must not
    // use the line afterwards. That branch always returns False.
    bool Update(Connection* oDB, ErrorObject* oError);

  private:
    bool DeleteLine(Connection* oDB, ErrorObject* oError);

    std::string locationId_;
    std::string locationDescription_;
    std::string rowConflict_;
    ErrorTrap trap_{"CSaleDept"};
};

}  // namespace vym
