#pragma once

#include <cstdint>
#include <string>

namespace vym {

// An add-on item sold with its parent, with its own print format, access
// rule and price (0 format or rule: the child's own).
struct CItemAddOn {
    std::int32_t ParentItemNo = 0;
    std::int32_t ChildItemNo = 0;
    std::string ChildItemDescription;
    std::int32_t FormatNo = 0;
    std::string FormatDescription;
    std::int32_t AccessRuleNo = 0;
    std::string AccessRuleDesc;
    double Price = 0.0;
};

}  // namespace vym
