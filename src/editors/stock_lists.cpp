#include "editors/stock_lists.h"

#include <utility>

#include "gateway/connection.h"
#include "gateway/recordset.h"
#include "ui/data_combo.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"

namespace vym {

Rows ReadRows(Recordset& rs, std::initializer_list<std::string_view> names) {
    Rows rows;
    for (; rs.IsOpen() && !rs.Eof(); rs.MoveNext()) {
        QStringList row;
        for (std::string_view name : names) {
            row << ui::FieldText(rs, name);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

Rows QueryRows(Connection& db, const std::string& sql,
               std::initializer_list<std::string_view> names) {
    auto rs = db.OpenRecordset(sql);
    return ReadRows(*rs, names);
}

Rows ProcedureRows(Connection& db, const char* procedure, ProcedureArguments arguments,
                   std::initializer_list<std::string_view> names) {
    auto command = NewProcedure(db, procedure, arguments);
    auto rs = db.ExecuteRecordset(*command);
    return ReadRows(*rs, names);
}

void FillCombo(ui::DataCombo& combo, const Rows& rows, const QStringList& first) {
    combo.ClearRows();
    if (!first.isEmpty()) {
        combo.AddRow(first);
    }
    for (const QStringList& row : rows) {
        combo.AddRow(row);
    }
    combo.setCurrentIndex(-1);  // a filled list chooses its first row by itself
}

bool FillChoiceGrid(ui::FlexGrid& grid, const Rows& rows, const QString& chosen) {
    grid.Clear();
    grid.AddItem("<NONE>\t");
    grid.SetRowData(1, QString());
    for (const QStringList& row : rows) {
        grid.AddItem(row.value(0) + '\t' + row.value(1));
        grid.SetRowData(grid.Rows() - 1, row.value(0));
    }
    int current = 0;
    for (int row = 1; row < grid.Rows() && current == 0; ++row) {
        if (grid.RowData(row).toString() == chosen) {
            current = row;
        }
    }
    grid.SetCurrentCell(current == 0 ? 1 : current, 0);
    grid.AutoSizeColumns();
    return current != 0;
}

}  // namespace vym
