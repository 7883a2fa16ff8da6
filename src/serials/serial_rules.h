#pragma once

#include <string>

#include "base/refusal.h"

namespace vym {

// A unit as the serial properties editor is about to save it: the texts of
// its fields, trimmed, and what the assigned item says of it.
struct SerialEntry {
    std::string itemNo;
    std::string serialId;
    std::string statusId;
    std::string stockTypeId;  // of the assigned item; "RENTAL" for the rental fleet
    std::string serialTypeId;
    std::string locationId;
    std::string bootLength;
};

// The first rule the unit breaks, in the order the editor checks them; the
// refusal names the widget at fault.
Verdict CheckSerialSave(const SerialEntry& entry);

// A map id typed for a unit: the unit needs an item and a serial id first,
// and the first character may not be one the scanners reserve (case counts).
Verdict CheckMapId(bool hasItem, const std::string& serialId, const std::string& mapId);

// A price typed into the console's optional price cells: empty, or an amount.
Verdict CheckOptionalPrice(const std::string& text);

// The transfer batch dialog's entry.
Verdict CheckBatchFormat(const std::string& batchNo, bool formatChosen);

}  // namespace vym
