#include "server/column_set.h"

#include "gateway/parameter_index.h"

namespace vym::server {

ColumnSet::ColumnSet(const SqlStatement& statement) {
    const int count = statement.ColumnCount();
    names_.reserve(count);
    types_.reserve(count);
    readers_.reserve(count);
    byName_.Reserve(count);
    for (int i = 0; i < count; ++i) {
        names_.emplace_back(statement.ColumnName(i));
        types_.push_back(ColumnTypeFromDeclaration(statement.ColumnDeclaredType(i)));
        readers_.push_back(statement.Reader(types_.back()));
        if (!types_.back().declared) {
            undeclared_.push_back(i);
        }
        byName_.Add(ParameterIndex::HashName(names_.back()), i);
    }
}

std::shared_ptr<const ColumnSet> ColumnSet::Of(SqlStatement& statement) {
    const std::uint64_t version = statement.ColumnsVersion();
    if (!statement.columnSet_ || statement.columnSetVersion_ != version) {
        statement.columnSet_ = std::shared_ptr<const ColumnSet>(new ColumnSet(statement));
        statement.columnSetVersion_ = version;
    }
    return statement.columnSet_;
}

std::optional<int> ColumnSet::Find(std::string_view name) const {
    const auto found = byName_.Find(ParameterIndex::HashName(name), [&](std::size_t column) {
        return ParameterIndex::SameName(names_[column], name);
    });
    return found ? std::optional<int>(static_cast<int>(*found)) : std::nullopt;
}

std::optional<int> ColumnSet::Find(std::string_view name, int& next) const {
    // With equal names among the columns, only the index knows which comes
    // first. A record often skips a column or two it does not keep.
    if (byName_.Distinct()) {
        for (int at = next; at < Count() && at < next + kSkipped; ++at) {
            if (ParameterIndex::SameName(names_[at], name)) {
                next = at + 1;
                return at;
            }
        }
    }
    const auto found = Find(name);
    if (found) {
        next = *found + 1;
    }
    return found;
}

}  // namespace vym::server
