#pragma once

#include <cstdint>
#include <string>

#include "base/value.h"
#include "gateway/data_type.h"

namespace vym {

// One column of a recordset's current row. Owned by its recordset and valid
// while the recordset is open.
class Field {
  public:
    virtual ~Field() = default;

    virtual const std::string& Name() const = 0;
    // From the column's declared type (money -> Currency, datetime -> DBTimeStamp,
    // bit -> Boolean, long text -> LongVarChar with kFieldLong ...).
    virtual DataType Type() const = 0;
    virtual std::int32_t Attributes() const = 0;
    // Bytes in the current row's value (0 for Null).
    virtual std::int32_t ActualSize() const = 0;
    virtual std::int32_t DefinedSize() const = 0;

    // The current row's value. Throws Error(kObjectClosed) when the recordset is
    // closed and Error(3021) when it is at its end.
    virtual vym::Value Value() const = 0;
    // The current row's value as the records read it: Null as "" or 0,
    // anything else as Value() converts (NullToEmpty, NullToZero then ToLong,
    // ToDouble, ToBool, ToDate), raising what that raises. A recordset over a
    // statement reads a plain cell straight from the row, without a Value.
    virtual std::string Text() const { return NullToEmpty(Value()); }
    virtual std::int32_t Long() const { return NullToZero(Value()).ToLong(); }
    virtual double Double() const { return NullToZero(Value()).ToDouble(); }
    virtual bool Flag() const { return NullToZero(Value()).ToBool(); }
    virtual vym::Date Date() const { return NullToZero(Value()).ToDate(); }

    // Updatable recordsets only: changes the value in the row being edited.
    virtual void SetValue(const vym::Value& value) = 0;

    // Long data: GetChunk reads the next `length` bytes (text for text fields,
    // Bytes for binary) from where the last call stopped; Null at the end.
    // AppendChunk adds to the value being written (updatable recordsets).
    virtual vym::Value GetChunk(std::int32_t length) = 0;
    virtual void AppendChunk(const vym::Value& data) = 0;
};

}  // namespace vym
