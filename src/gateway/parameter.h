#pragma once

#include <cstdint>
#include <memory>
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

// A procedure's parameters as the server declared them and their names
// indexed, shared by the commands refreshed from them; `keep` holds them.
struct SharedDeclarations {
    std::shared_ptr<const void> keep;
    const std::vector<Parameter>* parameters = nullptr;
    const ParameterIndex* names = nullptr;
};

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
    void Clear();

    std::size_t Count() const {
        return declared_.parameters ? declared_.parameters->size() : items_.size();
    }
    // Values by name or position, which a refreshed list sets and reads
    // without copying the declarations (anything else asked of it copies
    // them). SetValue throws as Item does for an unknown name.
    void SetValue(std::string_view name, vym::Value value);
    const vym::Value& ValueOf(std::string_view name) const;
    const vym::Value& ValueAt(std::size_t index) const;
    void SetValueAt(std::size_t index, vym::Value value);
    // The declarations the list was refreshed from, while it has not copied
    // them: its parameters are theirs, with ValueAt's values.
    const std::vector<Parameter>* Declarations() const { return declared_.parameters; }
    Parameter& Item(std::size_t index);
    const Parameter& Item(std::size_t index) const;
    // Throws Error(kItemNotFound) naming the parameter and the procedure.
    Parameter& Item(std::string_view name);
    const Parameter& Item(std::string_view name) const;
    Parameter* Find(std::string_view name);
    const Parameter* Find(std::string_view name) const;

    Parameter& operator[](std::string_view name) { return Item(name); }
    const Parameter& operator[](std::string_view name) const { return Item(name); }

    std::vector<Parameter>::iterator begin() { return Own().begin(); }
    std::vector<Parameter>::iterator end() { return Own().end(); }
    std::vector<Parameter>::const_iterator begin() const { return Own().begin(); }
    std::vector<Parameter>::const_iterator end() const { return Own().end(); }

  private:
    // The list's own parameters, copied from the declarations it still reads.
    std::vector<Parameter>& Own() const;

    const std::string& commandText_;
    Connection* connection_;
    // A refreshed list reads the procedure's shared declarations and keeps
    // only their values until something else is asked of it; then it copies
    // them into items_ (and declared_ is left empty).
    mutable SharedDeclarations declared_;
    mutable std::vector<vym::Value> values_;  // of declared_, by position
    // Where SetValue looks first: values are mostly set in the order the
    // procedure declares them, after its return value.
    std::size_t nextSet_ = 1;
    mutable std::vector<Parameter> items_;
    mutable ParameterIndex index_;  // kept in step with items_
};

}  // namespace vym
