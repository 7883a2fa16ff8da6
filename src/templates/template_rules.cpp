#include "templates/template_rules.h"

#include <utility>

namespace vym {

Verdict CheckTemplateDescription(const std::string& description, const std::string& field) {
    if (description.find_first_not_of(' ') == std::string::npos) {
        return Refusal{"You must enter a template description.", "Description Required", "", field};
    }
    return std::nullopt;
}

Verdict CheckNewTemplate(const NewTemplateEntry& entry) {
    if (entry.printerPage.empty()) {
        return Refusal{"You must select a printer and page size.", "Printer and Page Size Required",
                       "", "cmbPrinterPage"};
    }
    if (entry.templateType.empty()) {
        return Refusal{"You must select a template type.", "Template Type Required", "",
                       "cmbTemplateType"};
    }
    if (auto refusal = CheckTemplateDescription(entry.description, "txtDescription")) {
        return refusal;
    }
    if (entry.customerLevel.empty()) {
        return Refusal{"You must enter a customer level or select NONE.", "Customer Level Required",
                       "", "cmbCustomerLevel"};
    }
    return std::nullopt;
}

std::pair<std::string, std::string> SplitPrinterPage(const std::string& key) {
    const std::size_t colon = key.find(':');
    if (colon == std::string::npos) {
        return {key, ""};
    }
    return {key.substr(0, colon), key.substr(colon + 1)};
}

}  // namespace vym
