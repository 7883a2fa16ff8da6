#include "gateway/row_version.h"

#include "gateway/field.h"

namespace vym {

std::int32_t ReadRowVersion(Recordset& rs) {
    return rs.Fields(kRowVersionColumn).Long();
}

void SendRowVersion(ParameterList& parameters, std::int32_t version) {
    parameters[kRowVersionParameter].Value =
        version == 0 ? vym::Value::Null() : vym::Value(version);
}

bool RowChanged(const ParameterList& parameters) {
    const vym::Value& returned = parameters["@RETURN_VALUE"].Value;
    return !returned.IsNull() && !returned.IsEmpty() && returned.ToLong() == kRowChanged;
}

std::int32_t SavedRowVersion(const ParameterList& parameters) {
    return NullToZero(parameters[kRowVersionParameter].Value).ToLong();
}

}  // namespace vym
