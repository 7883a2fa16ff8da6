#include "gateway/row_version.h"

#include "gateway/field.h"

namespace vym {

std::int32_t ReadRowVersion(Recordset& rs) {
    return rs.Fields(kRowVersionColumn).Long();
}

void SendRowVersion(ParameterList& parameters, std::int32_t version) {
    parameters.SetValue(kRowVersionParameter,
                        version == 0 ? vym::Value::Null() : vym::Value(version));
}

bool RowChanged(const ParameterList& parameters) {
    const vym::Value& returned = parameters.ValueOf("@RETURN_VALUE");
    return !returned.IsNull() && !returned.IsEmpty() && returned.ToLong() == kRowChanged;
}

std::int32_t SavedRowVersion(const ParameterList& parameters) {
    return NullToZero(parameters.ValueOf(kRowVersionParameter)).ToLong();
}

}  // namespace vym
