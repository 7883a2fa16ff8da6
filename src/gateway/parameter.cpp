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
    std::vector<Parameter> items;
    ParameterIndex index;
    connection_->DescribeProcedureInto(commandText_, items, index);
    items_ = std::move(items);
    index_ = std::move(index);
}

void ParameterList::Append(Parameter parameter) {
    if (!parameter.Name.empty() && Find(parameter.Name) != nullptr) {
        throw Error(errc::kInvalidProcedureCall, kSource,
                    "Parameter " + parameter.Name + " is already in the parameters of " +
                        commandText_ + ".");
    }
    index_.Add(parameter.Name, items_.size());
    items_.push_back(std::move(parameter));
}

Parameter& ParameterList::Item(std::size_t index) {
    return const_cast<Parameter&>(std::as_const(*this).Item(index));
}

const Parameter& ParameterList::Item(std::size_t index) const {
    if (index >= items_.size()) {
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
    const auto found = index_.Find(items_, name);
    return found ? &items_[*found] : nullptr;
}

}  // namespace vym
