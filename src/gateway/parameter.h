#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/value.h"
#include "gateway/data_type.h"
#include "gateway/parameter_index.h"

namespace vym {

struct Parameter {
    std::string Name;  // with the leading "@"
    DataType Type = DataType::Variant;
    ParameterDirection Direction = ParameterDirection::Input;
    std::int32_t Size = 0;  // characters or bytes for text and binary; 0 = unlimited
    vym::Value Value;       // Empty until set; sent as Null when Empty
};

class Connection;

// A command's parameters, found by name without regard to case
// ("@RETURN_VALUE" and "@return_value" are one parameter).
class ParameterList {
  public:
    explicit ParameterList(const std::string& commandText, Connection* connection)
        : commandText_(commandText), connection_(connection) {}

    // Replaces the list with the procedure's declarations from the server.
    // Throws Error naming the procedure when the server does not know it.
    void Refresh();
    // Appends a parameter the caller created; a second parameter of the same
    // name is an error.
    void Append(Parameter parameter);
    void Clear() {
        items_.clear();
        index_.Clear();
    }

    std::size_t Count() const { return items_.size(); }
    Parameter& Item(std::size_t index);
    const Parameter& Item(std::size_t index) const;
    // Throws Error(kItemNotFound) naming the parameter and the procedure.
    Parameter& Item(std::string_view name);
    const Parameter& Item(std::string_view name) const;
    Parameter* Find(std::string_view name);
    const Parameter* Find(std::string_view name) const;

    Parameter& operator[](std::string_view name) { return Item(name); }
    const Parameter& operator[](std::string_view name) const { return Item(name); }

    std::vector<Parameter>::iterator begin() { return items_.begin(); }
    std::vector<Parameter>::iterator end() { return items_.end(); }
    std::vector<Parameter>::const_iterator begin() const { return items_.begin(); }
    std::vector<Parameter>::const_iterator end() const { return items_.end(); }

  private:
    const std::string& commandText_;
    Connection* connection_;
    std::vector<Parameter> items_;
    ParameterIndex index_;  // kept in step with items_
};

}  // namespace vym
