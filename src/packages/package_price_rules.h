#pragma once

#include <string>

#include "base/refusal.h"
#include "model/package_charge.h"

namespace vym {

// The columns of the package detail pricing grid.
namespace package_price_column {
inline constexpr int kPriceNo = 0;
inline constexpr int kFunction = 1;
inline constexpr int kCatagory = 2;
inline constexpr int kType = 3;
inline constexpr int kDescription = 4;
inline constexpr int kPkgQty = 5;
inline constexpr int kUnit = 6;
inline constexpr int kUnitQty = 7;
inline constexpr int kUnitPrice = 8;
inline constexpr int kSubTotal = 9;
inline constexpr int kGross = 10;
inline constexpr int kLineDiscount = 11;
inline constexpr int kAcctUnits = 12;
inline constexpr int kPrintQty = 13;
inline constexpr int kAccessRule = 14;
inline constexpr int kOrgAccessRule = 15;
inline constexpr int kItemAccessRule = 16;
inline constexpr int kConfirmed = 17;
}  // namespace package_price_column

// A line of the grid as the user left it, texts trimmed.
struct PackageLineEntry {
    int row = 0;
    std::string description;
    std::string unitPrice;
    std::string gross;
    std::string unit;
};

// The first rule the line breaks before it may be saved; the refusal's
// column is the cell at fault.
Verdict CheckPackageLine(const PackageLineEntry& entry);

}  // namespace vym
