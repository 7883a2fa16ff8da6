#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "base/value.h"
#include "gateway/connection.h"

namespace vym {

// Text as the value of a double-quoted XML attribute: &, <, > and " are
// written as entities, so that a value can never end its attribute early or
// break the document the procedures parse.
std::string XmlEscape(std::string_view text);

// How a list document lays out its rows: what stands before a row, how its
// element closes and what ends it. The records send indented rows ending in
// CR LF, the stock screen's change rows stand flush, close with " />" and end
// in CR; the procedures read both.
struct XmlRowLayout {
    std::string_view indent;
    std::string_view close;
    std::string_view lineEnd;
};
inline constexpr XmlRowLayout kXmlListRow{"    ", "/>", "\r\n"};
inline constexpr XmlRowLayout kXmlChangeRow{"", " />", "\r"};

using XmlAttributes = std::initializer_list<std::pair<std::string_view, std::string_view>>;

// One row of a list document: the element with its attributes in order, each
// value escaped.
std::string XmlRow(std::string_view element, XmlAttributes attributes,
                   const XmlRowLayout& layout = kXmlListRow);

// What an XML-document procedure answered.
struct XmlCallResult {
    bool Executed = false;  // False: the failure was reported by the connection
    vym::Value ReturnValue;
    std::string Message;  // @Message, Null as ""
};

// Runs an XML-document procedure with its parameters declared here rather
// than refreshed: the return value `returnName` (32-bit integer), the
// document `documentName` (long text sized to the document) and @Message
// (wide text of 256, returned). Errors other than a failed execution throw.
XmlCallResult ExecuteXmlProcedure(Connection& db, std::string procedure,
                                  std::string_view returnName, std::string_view documentName,
                                  const std::string& document);

}  // namespace vym
