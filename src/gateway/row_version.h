#pragma once

#include <cstdint>
#include <string_view>

#include "gateway/parameter.h"
#include "gateway/recordset.h"

// How a save tells the server which version of a row it read, and how the
// server says that another station saved or deleted the row since.
namespace vym {

// The column a read returns the version in, and the InputOutput parameter a
// save sends it in: the version the caller read goes in (Null: the caller
// read none, nothing is checked) and the row's new version comes back.
inline constexpr std::string_view kRowVersionColumn = "row_version";
inline constexpr std::string_view kRowVersionParameter = "@row_version";

// The return value of a save refused because the row changed after the
// caller read it; the procedure's message says who saved it and when.
inline constexpr std::int32_t kRowChanged = -2;

// The version of the current row of a read; 0 when it has none.
std::int32_t ReadRowVersion(Recordset& rs);
// Sends the version a caller read with a save (0, nothing read: Null).
void SendRowVersion(ParameterList& parameters, std::int32_t version);
// After a save: True when it was refused because the row changed since the
// caller read it.
bool RowChanged(const ParameterList& parameters);
// After a save that went through: the version the row has now.
std::int32_t SavedRowVersion(const ParameterList& parameters);

}  // namespace vym
