#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/currency.h"
#include "base/date.h"
#include "gateway/connection.h"
#include "gateway/error_object.h"
#include "gateway/error_trap.h"
#include "model/csale_dept.h"

namespace vym {

// A qualifying item of a sale; an entry with an empty ItemNo is a blank.
struct CSaleItemNo {
    std::string ItemNo;
    std::string Description;

    bool operator==(const CSaleItemNo&) const = default;
};

// A stock sale: a dated promotion at one location (or every location),
// priced by item ("StockNo") or by department lines ("Dept"), with the items
// a buyer may have to prove ownership of. Holds no connection: each database
// operation takes the connection and the error object, reports errors under
// "CSale" and returns False.
//
// The department lines point back at the sale, so a sale stays where it was
// made.
class CSale {
  public:
    CSale() = default;
    CSale(const CSale&) = delete;
    CSale& operator=(const CSale&) = delete;

    std::int32_t SaleNo = 0;  // 0 until first saved
    vym::Date SaleStartDate;
    vym::Date SaleEndDate;
    std::string Description;
    double SaleFixedPercentage = 0.0;  // a fraction: 0.15 is 15 %; 0 is not set
    vym::Currency SaleFixedAmount;     // 0 is not set
    bool ItemQualified = false;
    std::string SaleType;  // "Dept" or "StockNo"
    // The qualifying items, as GetSaleItems reads them and UpdateSaleItems
    // writes them; an empty list is one blank entry.
    std::vector<CSaleItemNo> ItemNos{CSaleItemNo{}};

    const std::string& LocationId() const { return locationId_; }
    // An empty location (every location) also clears the description.
    void SetLocationId(const std::string& id);
    const std::string& LocationDescription() const { return locationDescription_; }
    // "<ALL>", in any case, stores "".
    void SetLocationDescription(const std::string& text);

    // The department lines by SeqNo.
    std::map<std::int16_t, CSaleDept>& SaleDepts() { return saleDepts_; }
    // A new line numbered after the highest seen, with this sale's number,
    // dates, location and qualification.
    CSaleDept& AddSaleDept();

    // The version of the header as read or last saved: a save names it, so
    // that a sale another station saved since is refused (RowConflict).
    std::int32_t RowVersion = 0;
    // Why the last Update was refused because another station saved or
    // deleted the sale since it was read; "" otherwise. Nothing is shown.
    const std::string& RowConflict() const { return rowConflict_; }

    // Loads the header of sale lSaleNo (SaleNo is set either way). True when
    // it was found.
    bool OpenSale(Connection* oDB, ErrorObject* oError, std::int32_t lSaleNo);
    // Saves the header, adding the sale when SaleNo is 0; SaleNo then holds
    // the number. A refusal shows the procedure's message titled "Update
    // Stock Sale Error" and returns False.
    bool Update(Connection* oDB, ErrorObject* oError);
    // Replaces SaleDepts with the saved lines.
    bool OpenSaleDepts(Connection* oDB, ErrorObject* oError);
    // Reads the qualifying items into ItemNos and returns them.
    const std::vector<CSaleItemNo>& GetSaleItems(Connection* oDB, ErrorObject* oError);
    // Saves ItemNos as the sale's whole list (blank entries skipped; none
    // left clears the list). A refusal shows the message titled "Error
    // Updating Sale Qualifing Item(s)" and returns False.
    bool UpdateSaleItems(Connection* oDB, ErrorObject* oError);

  private:
    std::string locationId_;
    std::string locationDescription_;
    std::map<std::int16_t, CSaleDept> saleDepts_;
    std::string rowConflict_;
    std::int16_t maxSeqNo_ = 0;
    ErrorTrap trap_{"CSale"};
};

}  // namespace vym
