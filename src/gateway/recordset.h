#pragma once

#include <cstdint>
#include <string_view>

#include "gateway/field.h"

namespace vym {

// Rows of a query, read forward. Rows are fetched as they are read, so a large
// result costs nothing until it is walked. One execution may return several
// result sets: NextRecordset moves to the next one in place.
class Recordset {
  public:
    virtual ~Recordset() = default;

    virtual bool IsOpen() const = 0;
    virtual bool Eof() const = 0;  // past the last row (or no rows)
    virtual void MoveNext() = 0;

    virtual std::int32_t FieldCount() const = 0;
    // Throws Error(kItemNotFound) for an unknown index or name; names are
    // compared without regard to case.
    virtual Field& Fields(std::int32_t index) = 0;
    virtual Field& Fields(std::string_view name) = 0;
    virtual bool HasField(std::string_view name) const = 0;

    // Moves to the next result set of the same execution; False (and the
    // recordset closed) when there is none.
    virtual bool NextRecordset() = 0;
    virtual void Close() = 0;

    // Updatable recordsets (Connection::OpenUpdatableRecordset) only; a
    // read-only recordset throws Error(kNotSupported).
    virtual bool IsUpdatable() const { return false; }
    virtual void AddNew() = 0;  // starts a new row; fields then set and Update()
    virtual void Update() = 0;  // writes the edited or added row
};

}  // namespace vym
