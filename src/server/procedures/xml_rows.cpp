#include "server/procedures/xml_rows.h"

#include <charconv>
#include <string_view>

namespace vym::server::item_catalogue {

std::vector<pugi::xml_node> ReadRows(pugi::xml_document& document, const std::string& text,
                                     const char* rowElement) {
    const pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size());
    if (!parsed) {
        throw Refusal{"The document could not be read: " + std::string(parsed.description()) + "."};
    }
    const pugi::xml_node root = document.document_element();
    if (std::string_view(root.name()) != "ROOT") {
        throw Refusal{"The document must begin with <ROOT>."};
    }
    std::vector<pugi::xml_node> rows;
    for (pugi::xml_node row : root.children()) {
        if (row.type() != pugi::node_element) {
            continue;
        }
        if (std::string_view(row.name()) != rowElement) {
            throw Refusal{"Unexpected element " + std::string(row.name()) + " in the document."};
        }
        rows.push_back(row);
    }
    return rows;
}

std::int32_t Number(pugi::xml_node row, const char* attribute) {
    const std::string_view text = row.attribute(attribute).as_string();
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        throw Refusal{"The " + std::string(attribute) + " \"" + std::string(text) +
                      "\" is not a number."};
    }
    return value;
}

std::string Text(pugi::xml_node row, const char* attribute) {
    return row.attribute(attribute).as_string();
}

}  // namespace vym::server::item_catalogue
