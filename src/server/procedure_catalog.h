#pragma once

// The stored procedures of the embedded server.
//
// Adding a procedure
//   Procedures live by area, one file per area and topic:
//   src/server/procedures/<area>_<topic>.cpp (area = item, serial, inv, store).
//   Each area has one registration function, declared in
//   src/server/procedures/<area>_procedures.h:
//
//       void RegisterItemProcedures(ProcedureCatalog& catalog);
//
//   and called from ProcedureCatalog::Standard() (procedure_catalog.cpp).
//   Inside it, each procedure is added with its name exactly as the callers
//   spell it, its parameters in the server's order ("@RETURN_VALUE" is
//   declared first for you) and its body: a function named after the
//   procedure in the file's anonymous namespace.
//
//       void DeleteFunction(ProcedureContext& call) {
//           auto id = call.GetString("@function_id");
//           if (call.Session().QueryValue("SELECT count(*) FROM vym_item "
//                                         "WHERE function_id = ?", {*id})
//                   .ToLong() > 0) {
//               call.SetOutput("@message", "Function is in use.");
//               call.SetReturnValue(-1);
//               return;
//           }
//           call.Session().Run("DELETE FROM vym_function WHERE function_id = ?", {*id});
//       }
//
//       catalog.Add("VYM_SP_ITEM_DeleteFunction",
//                   {In("@function_id", DataType::VarChar, 10),
//                    Out("@message", DataType::VarChar, 255)},
//                   DeleteFunction);
//
//   A body of one short statement, such as a plain read, may stay a lambda
//   in the call. A body longer than 80 lines is split into named steps.
//
//   A sized text parameter (VarChar, Char and their wide forms) refuses a
//   longer value, counted in characters, before the body runs: declare the
//   size of the column it is stored in. Long text (LongVarChar) has no size.
//
//   A body reaches the database only through call.Session() (Prepare, Run,
//   QueryValue) and binds every value. It runs inside one immediate
//   transaction: returning commits, throwing (vym::Error for a refusal the
//   caller must see as a failure) rolls everything back. Rows for the caller
//   go out through call.EmitResultSet(sql, {values}); they are read lazily
//   after the commit, so a large result costs nothing up front. A business
//   refusal that the caller shows (a non-zero @RETURN_VALUE with @message) is
//   a normal return, and commits whatever the body wrote before it.
//
//   Text columns that callers match with "=" from ad-hoc SQL (ids, codes) are
//   declared COLLATE NOCASE in the schema, as the suite's server compares
//   them without regard to case.
//
// Adding demo rows
//   A new database opened with OpenOptions::demoData gets the rows of every
//   area, added after all migrations inside the creating transaction. An
//   area writes its rows in src/server/procedures/<area>_demo.cpp:
//
//       void AddItemDemoRows(SqlSession& session);
//
//   declared in its <area>_procedures.h and called from AddDemoData()
//   (demo_data.cpp), after the areas it refers to. Rows describe a believable
//   ski resort's back office (lift tickets, rental skis, ski school lessons),
//   bind their values like any procedure, and keep keys small and stable so
//   tests and screenshots can name them.

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "gateway/connection.h"
#include "gateway/parameter.h"
#include "gateway/parameter_index.h"
#include "server/procedure_context.h"

namespace vym::server {

using ProcedureBody = std::function<void(ProcedureContext&)>;

struct Procedure {
    std::string Name;
    ParameterDeclarations Parameters;  // "@RETURN_VALUE" first
    ParameterIndex ParameterNames;     // of Parameters
    // How the body read its parameters on its last call.
    std::shared_ptr<ReadingOrder> ParameterOrder = std::make_shared<ReadingOrder>();
    ProcedureBody Body;
    // Runs in a read-only transaction: no write lock, and a write fails.
    bool ReadOnly = false;
};

// Procedures by name, found without regard to case.
class ProcedureCatalog {
  public:
    // Every area's procedures.
    static std::shared_ptr<const ProcedureCatalog> Standard();

    // Registers a procedure; a name registered twice is a programming error
    // and throws.
    void Add(std::string name, std::initializer_list<Parameter> parameters, ProcedureBody body);
    // The same for a procedure that only reads: it never queues behind a
    // writer and costs no lock.
    void AddRead(std::string name, std::initializer_list<Parameter> parameters, ProcedureBody body);
    // nullptr when there is no such procedure.
    const Procedure* Find(std::string_view name) const;

  private:
    // Names compare without regard to case, and a lookup allocates nothing.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view name) const;
    };
    struct NameEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    std::unordered_map<std::string, Procedure, NameHash, NameEqual> byName_;
};

// Parameter declarations for ProcedureCatalog::Add.
Parameter In(std::string name, DataType type, std::int32_t size = 0);
Parameter Out(std::string name, DataType type, std::int32_t size = 0);
Parameter InOut(std::string name, DataType type, std::int32_t size = 0);

}  // namespace vym::server
