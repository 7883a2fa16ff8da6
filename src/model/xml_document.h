#pragma once

#include <string>
#include <string_view>

#include "base/value.h"
#include "gateway/connection.h"

namespace vym {

// Text as the value of a double-quoted XML attribute: &, <, > and " are
// written as entities, so that a value can never end its attribute early or
// break the document the procedures parse.
std::string XmlEscape(std::string_view text);

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
