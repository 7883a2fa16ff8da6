#pragma once

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "gateway/procedure_call.h"

namespace vym {

class Connection;
class Recordset;

namespace ui {
class DataCombo;
class FlexGrid;
}  // namespace ui

// The lists the stock windows fill from the database: each row the texts of
// the named columns.
using Rows = std::vector<QStringList>;

Rows ReadRows(Recordset& rs, std::initializer_list<std::string_view> names);
Rows QueryRows(Connection& db, const std::string& sql,
               std::initializer_list<std::string_view> names);
Rows ProcedureRows(Connection& db, const char* procedure, ProcedureArguments arguments,
                   std::initializer_list<std::string_view> names);

// Fills a combo with `first` (when given) and the rows, leaving nothing chosen.
void FillCombo(ui::DataCombo& combo, const Rows& rows, const QStringList& first = {});

// A choice grid: "<NONE>" first, each row keyed by its id as row data. The
// row of `chosen` becomes current; False when the list does not have it.
bool FillChoiceGrid(ui::FlexGrid& grid, const Rows& rows, const QString& chosen);

// Sets a flag for as long as it lives and then restores it.
class FlagScope {
  public:
    explicit FlagScope(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = old_; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

  private:
    bool& flag_;
    bool old_;
};

}  // namespace vym
