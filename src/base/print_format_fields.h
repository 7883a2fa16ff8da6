#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vym {

// The data fields ("table.field") that templates of a print format type
// ("STOCK", "ITEM" or "CLUB") may use, in the order the designer lists them.
// The programs that fill print records use these names exactly; an unknown
// type has none.
const std::vector<std::string>& PrintFormatFields(std::string_view formatType);

}  // namespace vym
