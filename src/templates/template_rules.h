#pragma once

#include <string>

#include "base/refusal.h"

namespace vym {

// A new template as the user left the "New Template" dialog: the chosen keys
// ("" when none is chosen) and the typed description.
struct NewTemplateEntry {
    std::string printerPage;  // "printer type id:page size id"
    std::string templateType;
    std::string description;
    std::string customerLevel;
};

// The first thing missing from the entry, in the order the dialog checks.
Verdict CheckNewTemplate(const NewTemplateEntry& entry);

// A template's description before it is saved.
Verdict CheckTemplateDescription(const std::string& description, const std::string& field);

// The printer type and page size of a "printer:page" key, split at the first
// colon; the page is "" when there is no colon.
std::pair<std::string, std::string> SplitPrinterPage(const std::string& key);

}  // namespace vym
