#include "server/column_set.h"

#include <algorithm>

#include "gateway/parameter_index.h"

namespace vym::server {

ColumnSet::ColumnSet(const SqlStatement& statement) {
    const int count = statement.ColumnCount();
    names_.reserve(count);
    types_.reserve(count);
    readers_.reserve(count);
    byHash_.reserve(count);
    for (int i = 0; i < count; ++i) {
        names_.emplace_back(statement.ColumnName(i));
        types_.push_back(ColumnTypeFromDeclaration(statement.ColumnDeclaredType(i)));
        readers_.push_back(ReaderFor(types_.back()));
        byHash_.emplace_back(ParameterIndex::HashName(names_.back()), i);
    }
    std::sort(byHash_.begin(), byHash_.end());
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
    const std::uint64_t hash = ParameterIndex::HashName(name);
    auto at = std::lower_bound(byHash_.begin(), byHash_.end(), std::pair{hash, 0});
    for (; at != byHash_.end() && at->first == hash; ++at) {
        if (ParameterIndex::SameName(names_[at->second], name)) {
            return at->second;
        }
    }
    return std::nullopt;
}

}  // namespace vym::server
