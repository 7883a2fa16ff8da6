#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <pugixml.hpp>

// Reading the "<ROOT>" documents of the ...XML procedures (not part of the
// catalog's interface): a document is read and checked whole before anything
// is written, so a malformed one changes nothing.
namespace vym::server::item_catalogue {

// A document the procedure will not apply, with the reason for @Message.
struct Refusal {
    std::string message;
};

// The row elements of a "<ROOT>" document, all named `rowElement`; any other
// element, a document that is not XML or has another root is refused.
std::vector<pugi::xml_node> ReadRows(pugi::xml_document& document, const std::string& text,
                                     const char* rowElement);

// A whole-number attribute; a missing one or one with anything after the
// number ("2x") is refused.
std::int32_t Number(pugi::xml_node row, const char* attribute);

// A text attribute, "" when missing.
std::string Text(pugi::xml_node row, const char* attribute);

}  // namespace vym::server::item_catalogue
