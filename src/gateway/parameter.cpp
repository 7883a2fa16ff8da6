#include "gateway/parameter.h"

#include <utility>

#include "base/error.h"
#include "gateway/connection.h"

namespace vym {

namespace {

constexpr const char* kSource = "Parameters";

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

void ParameterList::Refresh() {
    if (connection_ == nullptr) {
        throw Error(errc::kObjectClosed, kSource,
                    "Operation is not allowed when the object is closed (" + commandText_ + ").");
    }
    items_ = connection_->DescribeProcedure(commandText_);
}

void ParameterList::Append(Parameter parameter) {
    if (!parameter.Name.empty() && Find(parameter.Name) != nullptr) {
        throw Error(errc::kInvalidProcedureCall, kSource,
                    "Parameter " + parameter.Name + " is already in the parameters of " +
                        commandText_ + ".");
    }
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
    for (const Parameter& p : items_) {
        if (SameName(p.Name, name)) {
            return &p;
        }
    }
    return nullptr;
}

}  // namespace vym
