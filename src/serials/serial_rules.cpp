#include "serials/serial_rules.h"

#include "base/format.h"

namespace vym {

Verdict CheckSerialSave(const SerialEntry& e) {
    if (e.itemNo.empty()) {
        return Refusal{"Purchase Item is required", "Item Required", "", "txtItemNo"};
    }
    if (e.serialId.empty()) {
        return Refusal{"Serial Id is required", "Serial Id Required", "", "txtSerialId"};
    }
    if (e.statusId.empty()) {
        return Refusal{"Status is required", "Status Required", "", "cmbStatus"};
    }
    if (e.stockTypeId != "RENTAL") {
        return std::nullopt;
    }
    if (e.locationId.empty()) {
        return Refusal{"Location is required", "Location Required", "", "cmbLocation"};
    }
    if (e.bootLength.empty() && e.serialTypeId == "SKIBOOT") {
        return Refusal{"Boot Length is required for SKIBOOT serial types.", "Boot Length Required",
                       "", "txtBootLength"};
    }
    if (!e.bootLength.empty() && !ParseNumber(e.bootLength)) {
        return Refusal{"Boot Length must be a number of millimetres.", "Invalid Boot Length", "",
                       "txtBootLength"};
    }
    return std::nullopt;
}

Verdict CheckMapId(bool hasItem, const std::string& serialId, const std::string& mapId) {
    if (!hasItem || serialId.empty()) {
        return Refusal{"Item and Serial Id are required before providing map ids",
                       "Item and Serial Required", "", "txtMapId"};
    }
    if (!mapId.empty() && std::string("SCPI#").find(mapId.front()) != std::string::npos) {
        return Refusal{"Maps can not begin with reserved characters (S,C,P,I,#).", "Invalid Map",
                       "", "txtMapId"};
    }
    return std::nullopt;
}

Verdict CheckOptionalPrice(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    if (!IsNumeric(text)) {
        return Refusal{"The value should be a valid currency.", "Invalid Value", "", ""};
    }
    if (!ParseCurrency(text)) {
        return Refusal{"Invalid currency value.", "Invalid Value", "", ""};
    }
    return std::nullopt;
}

Verdict CheckBatchFormat(const std::string& batchNo, bool formatChosen) {
    if (!IsNumeric(batchNo) || batchNo.find_first_of(".,$-") != std::string::npos) {
        return Refusal{"Please enter the number of the transfer batch.", "Transfer Batch Required",
                       "", "txtBatchNo"};
    }
    if (!formatChosen) {
        return Refusal{"Please select a label format before proceeding.", "Label Format Required",
                       "", "cmbPrintFormat"};
    }
    return std::nullopt;
}

}  // namespace vym
