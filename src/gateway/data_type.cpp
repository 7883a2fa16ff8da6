#include "gateway/data_type.h"

namespace vym {

bool IsDateType(DataType t) {
    return t == DataType::Date || t == DataType::DBDate || t == DataType::DBTimeStamp;
}

bool IsTextType(DataType t) {
    switch (t) {
        case DataType::BSTR:
        case DataType::Char:
        case DataType::WChar:
        case DataType::VarChar:
        case DataType::LongVarChar:
        case DataType::VarWChar:
        case DataType::LongVarWChar:
            return true;
        default:
            return false;
    }
}

}  // namespace vym
