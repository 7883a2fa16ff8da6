#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vym {

class Connection;

// A register group an item (or package) may be sold from.
struct CRegisterGroup {
    std::string RegisterGroupId;
    std::string Description;
};

// The register groups of one item or package (VYM_SP_ITEM_GetRegisterGroups):
// keyParameter is "@item_no" or "@package_no". Errors throw.
std::vector<CRegisterGroup> ReadRegisterGroups(Connection& db, const char* keyParameter,
                                               std::int32_t key);

}  // namespace vym
