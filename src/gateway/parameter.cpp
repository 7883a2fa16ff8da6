#include "gateway/parameter.h"

#include <utility>

#include "base/error.h"
#include "gateway/connection.h"

namespace vym {

namespace {

constexpr const char* kSource = "Parameters";

}  // namespace

void ParameterList::Refresh() {
    if (connection_ == nullptr) {
        throw Error(errc::kObjectClosed, kSource,
                    "Operation is not allowed when the object is closed (" + commandText_ + ").");
    }
    SharedDeclarations declared = connection_->DescribeProcedureShared(commandText_);
    values_.clear();
    values_.reserve(declared.parameters->size());
    for (const Parameter& parameter : *declared.parameters) {
        values_.push_back(parameter.Value);
    }
    declared_ = std::move(declared);
    nextSet_ = 1;
    items_.clear();
    index_.Clear();
}

void ParameterList::Clear() {
    declared_ = {};
    values_.clear();
    items_.clear();
    index_.Clear();
}

std::vector<Parameter>& ParameterList::Own() const {
    if (declared_.parameters) {
        items_ = *declared_.parameters;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            items_[i].Value = std::move(values_[i]);
        }
        index_ = *declared_.names;
        declared_ = {};
        values_.clear();
    }
    return items_;
}

void ParameterList::Append(Parameter parameter) {
    if (!parameter.Name.empty() && Find(parameter.Name) != nullptr) {
        throw Error(errc::kInvalidProcedureCall, kSource,
                    "Parameter " + parameter.Name + " is already in the parameters of " +
                        commandText_ + ".");
    }
    index_.Add(parameter.Name, Own().size());
    items_.push_back(std::move(parameter));
}

void ParameterList::SetValue(std::string_view name, vym::Value value) {
    if (declared_.parameters) {
        if (const auto found = declared_.names->Find(*declared_.parameters, name, nextSet_)) {
            values_[*found] = std::move(value);
            return;
        }
    }
    Item(name).Value = std::move(value);
}

const vym::Value& ParameterList::ValueOf(std::string_view name) const {
    if (declared_.parameters) {
        if (const auto found = declared_.names->Find(*declared_.parameters, name)) {
            return values_[*found];
        }
    }
    return Item(name).Value;
}

const vym::Value& ParameterList::ValueAt(std::size_t index) const {
    return declared_.parameters && index < values_.size() ? values_[index] : Item(index).Value;
}

void ParameterList::SetValueAt(std::size_t index, vym::Value value) {
    if (declared_.parameters && index < values_.size()) {
        values_[index] = std::move(value);
    } else {
        Item(index).Value = std::move(value);
    }
}

Parameter& ParameterList::Item(std::size_t index) {
    return const_cast<Parameter&>(std::as_const(*this).Item(index));
}

const Parameter& ParameterList::Item(std::size_t index) const {
    if (index >= Own().size()) {
        throw Error(errc::kItemNotFound, kSource,
                    "Item cannot be found in the collection corresponding to the requested name "
                    "or ordinal: parameter " +
                        std::to_string(index) + " of " + commandText_ + ".");
    }
    return items_[index];
}

Parameter& ParameterList::Item(std::string_view name) {
    return const_cast<Parameter&>(std::as_const(*this).Item(name));
}

const Parameter& ParameterList::Item(std::string_view name) const {
    const Parameter* found = Find(name);
    if (found == nullptr) {
        throw Error(errc::kItemNotFound, kSource,
                    "Item cannot be found in the collection corresponding to the requested name "
                    "or ordinal: parameter " +
                        std::string(name) + " of " + commandText_ + ".");
    }
    return *found;
}

Parameter* ParameterList::Find(std::string_view name) {
    return const_cast<Parameter*>(std::as_const(*this).Find(name));
}

const Parameter* ParameterList::Find(std::string_view name) const {
    const auto found = index_.Find(Own(), name);
    return found ? &items_[*found] : nullptr;
}

}  // namespace vym
