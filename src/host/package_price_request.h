#pragma once

#include <QString>
#include <cstdint>

namespace vym {

class CPackage;

// One package price of the price list (a season, a discount and a unit of
// the package), as the package detail pricing is opened on it.
struct PackagePriceRequest {
    CPackage* package = nullptr;  // not owned
    std::int32_t priceNo = 0;     // 0 for a price not saved yet
    std::int32_t seasonNo = 0;    // 0 for any season
    QString seasonDescription;
    QString discountId;  // empty for the base price
    QString unitId;
    QString unitDescription;
    std::int32_t unitQty = 0;
    bool sellerDisc = false;   // what a line not priced yet starts with
    bool sellerPrice = false;  // sent with every line
};

// The package price once its lines are saved.
struct PackagePriceResult {
    std::int32_t priceNo = 0;
    QString price;         // the package total, "0.0000"
    bool deleted = false;  // the package price and its lines were deleted
};

}  // namespace vym
