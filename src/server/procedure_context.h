#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/parameter_index.h"
#include "server/sql_session.h"

namespace vym::server {

// The positions a procedure's body read its parameters at on its last call,
// turn by turn: a body mostly reads them alike call after call. Calls on
// several sessions may write it at once; a position is only a guess, which
// the reader confirms by the parameter's name.
class ReadingOrder {
  public:
    static constexpr std::size_t kTurns = 32;

    std::size_t At(std::size_t turn) const {
        return turn < kTurns ? positions_[turn].load(std::memory_order_relaxed) : 0;
    }
    void Learn(std::size_t turn, std::size_t position) {
        if (turn < kTurns) {
            positions_[turn].store(static_cast<std::uint16_t>(position), std::memory_order_relaxed);
        }
    }

  private:
    std::array<std::atomic<std::uint16_t>, kTurns> positions_{};
};

// What a procedure body gets for one call: its parameters (already converted
// to their declared types; Null when the caller sent nothing), the session,
// the signed-in user, and the places its results go.
class ProcedureContext {
  public:
    // `names` indexes `declarations`; `order` is the procedure's own.
    ProcedureContext(const ParameterDeclarations& declarations, const ParameterIndex& names,
                     ReadingOrder& order, std::vector<vym::Value>& values, SqlSession& session,
                     const std::string& userId);

    // The value sent for an input parameter. Throws for a name the procedure
    // does not declare (a fault in the procedure, not in the caller).
    const vym::Value& Get(std::string_view name) const { return values_[IndexOf(name)]; }
    bool IsNull(std::string_view name) const { return Get(name).IsNull(); }
    // Typed reads: std::nullopt for Null.
    std::optional<std::int32_t> GetLong(std::string_view name) const;
    std::optional<double> GetDouble(std::string_view name) const;
    std::optional<vym::Currency> GetCurrency(std::string_view name) const;
    std::optional<vym::Date> GetDate(std::string_view name) const;
    std::optional<std::string> GetString(std::string_view name) const;
    std::optional<bool> GetBool(std::string_view name) const;

    // Output and InputOutput parameters; throws for an input parameter.
    void SetOutput(std::string_view name, const vym::Value& value);
    void SetReturnValue(std::int32_t value);

    SqlSession& Session() { return session_; }
    const std::string& UserId() const { return userId_; }

    // A result set for the caller: the statement is prepared and bound now and
    // read after the call commits. Result sets reach the caller in the order
    // they were emitted.
    void EmitResultSet(std::string_view sql, std::initializer_list<vym::Value> args = {});
    // The same for a statement whose values are only known at run time (a
    // search with a varying set of criteria); returns the statement, for a
    // hint such as FetchInBatches.
    SqlStatement& EmitResultSet(std::string_view sql, const std::vector<vym::Value>& args);
    // The same for a text prepared call after call.
    SqlStatement& EmitResultSet(const HashedSql& sql, const std::vector<vym::Value>& args);
    std::vector<StatementRef> TakeResultSets() { return std::move(resultSets_); }

  private:
    // The position read at this turn on the procedure's last call is tried
    // first, inline.
    std::size_t IndexOf(std::string_view name) const {
        const std::size_t turn = turn_++;
        const std::size_t guess = order_.At(turn);
        if (guess < declarations_.size() && names_.Distinct() &&
            ParameterIndex::SameName(declarations_[guess].Name, name)) {
            return guess;
        }
        return Find(name, turn);
    }
    std::size_t Find(std::string_view name, std::size_t turn) const;
    SqlStatement& EmitResultSet(StatementRef statement, const std::vector<vym::Value>& args);

    const ParameterDeclarations& declarations_;
    const ParameterIndex& names_;
    ReadingOrder& order_;
    mutable std::size_t turn_ = 0;  // parameters read so far
    // Where Find looks first, after the last it found (0 is the return value):
    // a body mostly reads its parameters in the order it declares them.
    mutable std::size_t next_ = 1;
    std::vector<vym::Value>& values_;
    SqlSession& session_;
    const std::string& userId_;
    std::vector<StatementRef> resultSets_;
};

// The output parameter a business refusal goes to (parameter names match
// without regard to case).
inline constexpr const char* kMessage = "@message";

// The parameter's text, or Null when it is Null or empty: the screens send
// "" for "none" in many id parameters.
vym::Value TextOrNull(const ProcedureContext& call, std::string_view name);

// A business refusal the caller shows: the message in `messageParameter`
// (else @message) and -1 as the return value, with nothing written.
void Refuse(ProcedureContext& call, std::string_view messageParameter, const std::string& message);
void Refuse(ProcedureContext& call, const std::string& message);

}  // namespace vym::server
