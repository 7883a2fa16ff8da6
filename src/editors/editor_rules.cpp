#include "editors/editor_rules.h"

namespace vym {

Verdict CheckVendor(const VendorEntry& entry) {
    if (entry.isNew && entry.vendorId.empty()) {
        return Refusal{"Vendor Id is required to save the new vendor record.", "Vendor Id Require",
                       "", "txtVendorId"};
    }
    if (entry.isNew && entry.vendorName.empty()) {
        return Refusal{"Vendor Name is required to save the new vendor record.",
                       "Vendor Name Require", "", "txtVendorName"};
    }
    return std::nullopt;
}

}  // namespace vym
