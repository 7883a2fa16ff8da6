#pragma once

#include <cstdint>
#include <string>

namespace vym {

// An extension of an item: a child item that extends the parent, such as a
// further day on a ticket.
struct CItemExtension {
    std::int32_t ParentItemNo = 0;
    std::int32_t ChildItemNo = 0;
    std::string ChildLongDescription;
    bool CreateNewProduct = false;
    std::int32_t MaxQtyPerSeason = 0;
    std::int32_t MaxQtyPerTrans = 0;
    bool Activating = false;
};

}  // namespace vym
