#pragma once

#include <string>

#include "base/refusal.h"
#include "model/stock_rules.h"

namespace vym {

// A vendor about to be saved; ids and names already trimmed.
struct VendorEntry {
    bool isNew = false;
    std::string vendorId;
    std::string vendorName;
};

Verdict CheckVendor(const VendorEntry& entry);

}  // namespace vym
