#pragma once

#include <string>

#include "base/refusal.h"

namespace vym {

// What the checks of a stock record look at: the stock editor's entry as the
// user left the screen, or a row of an import of stock items.
struct StockEntry {
    bool stock = true;  // a stock record; false for a rental item
    std::string stockType;
    std::string rentalType;  // of the stock type: "RETAIL", "RENTAL" or another
    std::string vendorId;
    std::string departmentId;
    std::string reportDepartmentId;
    bool reportDepartmentRequired = false;  // the system's setting
    bool serialized = false;
    std::string serialTypeId;
    std::string modelId;
};

// The first rule the entry breaks, in the order the user is told of them.
Verdict CheckStock(const StockEntry& entry);

}  // namespace vym
