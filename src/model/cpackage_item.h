#pragma once

#include <cstdint>
#include <string>

#include "gateway/connection.h"
#include "gateway/error_object.h"
#include "gateway/error_trap.h"

namespace vym {

class CPackage;

// One line of a package: an item with its quantity, an optional print format
// overriding the item's, and the line of the redemption package it is
// redeemed as. A line is removed by saving it with a quantity of 0.
class CPackageItem {
  public:
    std::int32_t ItemNo = 0;
    std::int16_t Qty = 0;
    std::int16_t SeqNo = 0;  // 0: a line not yet saved
    std::string LongDescription;
    std::string ItemType;
    std::int32_t FormatNo = 0;     // 0: the item's own format
    std::int32_t RedeemSeqNo = 0;  // 0: not mapped
    // The package the line belongs to (not owned); set by the package when it
    // loads or adds the line.
    CPackage* PackageParent = nullptr;

    // Saves the line under its parent package: a quantity above 0 adds or
    // changes it (a new line then holds the sequence number the database
    // gave it); a quantity of 0 or less deletes a saved line (SeqNo becomes 0)
    // and skips a line that was never saved. A refusal shows the procedure's
    // message and returns False; errors are reported under "CPackageItem".
    bool UpdatePackageItem(Connection* oDB, ErrorObject* oError);

  private:
    ErrorTrap trap_{"CPackageItem"};
};

}  // namespace vym
