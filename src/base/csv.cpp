#include "base/csv.h"

#include <algorithm>

namespace vym::csv {
namespace {

// "+" and "-" also lead plain numbers, which must stay numbers.
bool IsPlainNumberAfterSign(std::string_view rest) {
    return std::all_of(rest.begin(), rest.end(),
                       [](char c) { return (c >= '0' && c <= '9') || c == '.' || c == ','; });
}

bool NeedsEscape(std::string_view field) {
    if (field.empty()) {
        return false;
    }
    switch (field.front()) {
        case '=':
        case '@':
        case '\t':
        case '\r':
            return true;
        case '+':
        case '-':
            return !IsPlainNumberAfterSign(field.substr(1));
        case '\'':
            return NeedsEscape(field.substr(1));
        default:
            return false;
    }
}

bool NeedsQuotes(std::string_view field) {
    return field.find_first_of(",\"\r\n") != std::string_view::npos;
}

}  // namespace

std::string EscapeFormula(std::string_view field) {
    std::string escaped;
    if (NeedsEscape(field)) {
        escaped.push_back('\'');
    }
    escaped.append(field);
    return escaped;
}

std::string UnescapeFormula(std::string_view field) {
    if (field.size() > 1 && field.front() == '\'' && NeedsEscape(field.substr(1))) {
        field.remove_prefix(1);
    }
    return std::string(field);
}

void AppendRecord(std::string& out, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            out.push_back(',');
        }
        const std::string field = EscapeFormula(fields[i]);
        if (!NeedsQuotes(field)) {
            out.append(field);
            continue;
        }
        out.push_back('"');
        for (char c : field) {
            if (c == '"') {
                out.push_back('"');
            }
            out.push_back(c);
        }
        out.push_back('"');
    }
    out.append("\r\n");
}

}  // namespace vym::csv
