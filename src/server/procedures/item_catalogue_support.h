#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/value.h"
#include "server/procedure_catalog.h"
#include "server/procedure_context.h"

// Helpers shared by the item catalogue procedures (not part of the catalog's
// interface).
namespace vym::server::item_catalogue {

void RegisterReads(ProcedureCatalog& catalog);
void RegisterUpdates(ProcedureCatalog& catalog);
void RegisterListSaves(ProcedureCatalog& catalog);

// The parameter's number, or Null when it is Null or 0.
vym::Value NumberOrNull(const ProcedureContext& call, std::string_view name);

// True when `table` has a row whose `column` equals `value`. Table and
// column are the procedures' own constants, never caller text.
bool RowExists(SqlSession& session, std::string_view table, std::string_view column,
               const vym::Value& value);

// Writes the text of @instruction_body and returns its number, or Null when
// the text is empty. The item's or package's own instruction (`previous`) is
// rewritten in place; the number the caller sent (-1 for a new one) only says
// that there is text.
vym::Value WriteInstruction(ProcedureContext& call, const vym::Value& previous);
// Deletes the previous instruction once the row that had it is saved without.
void DeleteDroppedInstruction(SqlSession& session, const vym::Value& previous,
                              const vym::Value& current);

// An id a save refers to: the parameter that carries it, the table and
// column that must hold it, and what the refusal calls it.
struct Reference {
    const char* parameter;
    const char* table;
    const char* column;
    const char* what;
};
// What a stock record refers to by id, other than its unit of measure.
extern const std::vector<Reference> kStockReferences;
// The refusal for the first reference given whose row does not exist;
// nullopt when every one given exists.
std::optional<std::string> MissingReference(ProcedureContext& call,
                                            const std::vector<Reference>& references);

// A refusal message when the item does not exist, else nullopt.
std::optional<std::string> CheckItemExists(SqlSession& session, std::int32_t itemNo);

}  // namespace vym::server::item_catalogue
