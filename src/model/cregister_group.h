#pragma once

#include <string>

namespace vym {

// A register group an item (or package) may be sold from.
struct CRegisterGroup {
    std::string RegisterGroupId;
    std::string Description;
};

}  // namespace vym
