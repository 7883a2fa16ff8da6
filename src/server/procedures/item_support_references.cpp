#include "server/procedures/item_support_references.h"

namespace vym::server::item_support {

std::int64_t Count(SqlSession& session, std::string_view sql,
                   std::initializer_list<vym::Value> args) {
    const vym::Value value = session.QueryValue(sql, args);
    return value.IsNull() ? 0 : static_cast<std::int64_t>(value.ToDouble());
}

std::optional<std::string> UsedBy(std::string_view subject, const std::vector<Reference>& refs) {
    std::vector<std::string> parts;
    for (const Reference& ref : refs) {
        if (ref.count > 0) {
            parts.push_back(std::to_string(ref.count) + " " +
                            (ref.count == 1 ? ref.singular : ref.plural));
        }
    }
    if (parts.empty()) {
        return std::nullopt;
    }
    std::string message = std::string(subject) + " is used by ";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            message += i + 1 == parts.size() ? " and " : ", ";
        }
        message += parts[i];
    }
    return message + ".";
}

}  // namespace vym::server::item_support
