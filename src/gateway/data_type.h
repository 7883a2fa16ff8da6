#pragma once

#include <cstdint>

namespace vym {

// Field and parameter types, numbered as the database gateway numbers them.
enum class DataType : std::int32_t {
    Empty = 0,
    SmallInt = 2,  // Integer
    Integer = 3,   // Long
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    BSTR = 8,
    Boolean = 11,
    Variant = 12,
    TinyInt = 16,
    UnsignedTinyInt = 17,  // Byte
    BigInt = 20,
    Char = 129,
    WChar = 130,
    Numeric = 131,
    DBDate = 133,
    DBTime = 134,
    DBTimeStamp = 135,
    VarChar = 200,
    LongVarChar = 201,
    VarWChar = 202,
    LongVarWChar = 203,
    VarBinary = 204,
    LongVarBinary = 205,
};

enum class ParameterDirection : std::int32_t {
    Input = 1,
    Output = 2,
    InputOutput = 3,
    ReturnValue = 4,
};

enum class CommandTypeEnum : std::int32_t {
    Text = 1,
    StoredProc = 4,
};

// Field attribute bits.
inline constexpr std::int32_t kFieldLong = 128;         // long data: read and write in chunks
inline constexpr std::int32_t kFieldIsNullable = 0x20;  // may hold Null
inline constexpr std::int32_t kFieldUpdatable = 0x04;

bool IsDateType(DataType t);  // Date, DBDate, DBTimeStamp
bool IsTextType(DataType t);

}  // namespace vym
