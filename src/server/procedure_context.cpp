#include "server/procedure_context.h"

#include "base/error.h"
#include "server/column_type.h"
#include "server/sql_error.h"

namespace vym::server {

ProcedureContext::ProcedureContext(const ParameterDeclarations& declarations,
                                   const ParameterIndex& names, ReadingOrder& order,
                                   std::vector<vym::Value>& values, SqlSession& session,
                                   const std::string& userId)
    : declarations_(declarations),
      names_(names),
      order_(order),
      values_(values),
      session_(session),
      userId_(userId) {}

std::size_t ProcedureContext::Find(std::string_view name, std::size_t turn) const {
    if (const auto found = names_.Find(declarations_, name, next_)) {
        order_.Learn(turn, *found);
        return *found;
    }
    throw vym::Error(errc::kItemNotFound, std::string(kConnectionSource),
                     "The procedure has no parameter " + std::string(name) + ".");
}

std::optional<std::int32_t> ProcedureContext::GetLong(std::string_view name) const {
    const vym::Value& v = Get(name);
    return v.IsNull() ? std::nullopt : std::optional(v.ToLong());
}
std::optional<double> ProcedureContext::GetDouble(std::string_view name) const {
    const vym::Value& v = Get(name);
    return v.IsNull() ? std::nullopt : std::optional(v.ToDouble());
}
std::optional<vym::Currency> ProcedureContext::GetCurrency(std::string_view name) const {
    const vym::Value& v = Get(name);
    return v.IsNull() ? std::nullopt : std::optional(v.ToCurrency());
}
std::optional<vym::Date> ProcedureContext::GetDate(std::string_view name) const {
    const vym::Value& v = Get(name);
    return v.IsNull() ? std::nullopt : std::optional(v.ToDate());
}
std::optional<std::string> ProcedureContext::GetString(std::string_view name) const {
    const vym::Value& v = Get(name);
    return v.IsNull() ? std::nullopt : std::optional(v.ToString());
}
std::optional<bool> ProcedureContext::GetBool(std::string_view name) const {
    const vym::Value& v = Get(name);
    return v.IsNull() ? std::nullopt : std::optional(v.ToBool());
}

void ProcedureContext::SetOutput(std::string_view name, const vym::Value& value) {
    const std::size_t index = IndexOf(name);
    if (declarations_[index].Direction == ParameterDirection::Input) {
        throw vym::Error(errc::kInvalidProcedureCall, std::string(kConnectionSource),
                         "The parameter " + std::string(name) + " is not an output parameter.");
    }
    values_[index] = ConvertToType(value, declarations_[index].Type);
}

void ProcedureContext::SetReturnValue(std::int32_t value) {
    values_[0] = value;
}

void ProcedureContext::EmitResultSet(std::string_view sql, std::initializer_list<vym::Value> args) {
    auto statement = session_.Prepare(sql);
    statement->BindAll(args);
    resultSets_.push_back(std::move(statement));
}

SqlStatement& ProcedureContext::EmitResultSet(std::string_view sql,
                                              const std::vector<vym::Value>& args) {
    return EmitResultSet(session_.Prepare(sql), args);
}

SqlStatement& ProcedureContext::EmitResultSet(const HashedSql& sql,
                                              const std::vector<vym::Value>& args) {
    return EmitResultSet(session_.Prepare(sql), args);
}

SqlStatement& ProcedureContext::EmitResultSet(StatementRef statement,
                                              const std::vector<vym::Value>& args) {
    statement->BindAll(args);
    resultSets_.push_back(std::move(statement));
    return *resultSets_.back();
}

vym::Value TextOrNull(const ProcedureContext& call, std::string_view name) {
    const auto text = call.GetString(name);
    return text && !text->empty() ? vym::Value(*text) : vym::Value::Null();
}

void Refuse(ProcedureContext& call, std::string_view messageParameter, const std::string& message) {
    call.SetOutput(messageParameter, message);
    call.SetReturnValue(-1);
}

void Refuse(ProcedureContext& call, const std::string& message) {
    Refuse(call, kMessage, message);
}

}  // namespace vym::server
