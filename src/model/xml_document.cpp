#include "model/xml_document.h"

namespace vym {

std::string XmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string XmlRow(std::string_view element, XmlAttributes attributes, const XmlRowLayout& layout) {
    std::string row;
    row.append(layout.indent).append("<").append(element);
    for (const auto& [name, value] : attributes) {
        row.append(" ").append(name).append("=\"").append(XmlEscape(value)).append("\"");
    }
    return row.append(layout.close).append(layout.lineEnd);
}

XmlCallResult ExecuteXmlProcedure(Connection& db, std::string procedure,
                                  std::string_view returnName, std::string_view documentName,
                                  const std::string& document) {
    auto cmd = db.NewCommand();
    cmd->CommandText = std::move(procedure);
    cmd->CommandType = CommandTypeEnum::StoredProc;
    cmd->Parameters.Append(Command::CreateParameter(std::string(returnName), DataType::Integer,
                                                    ParameterDirection::ReturnValue));
    cmd->Parameters.Append(Command::CreateParameter(
        std::string(documentName), DataType::LongVarChar, ParameterDirection::Input,
        static_cast<std::int32_t>(document.size()), document));
    cmd->Parameters.Append(Command::CreateParameter("@Message", DataType::VarWChar,
                                                    ParameterDirection::ReturnValue, 256));
    XmlCallResult result;
    result.Executed = db.Execute(*cmd);
    if (result.Executed) {
        result.ReturnValue = cmd->Parameters[returnName].Value;
        result.Message = NullToEmpty(cmd->Parameters["@Message"].Value);
    }
    return result;
}

}  // namespace vym
