#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "gateway/error_trap.h"
#include "host/row_conflict.h"

namespace Ui {
class frmSupportTables;
}

namespace vym {

namespace ui {
class FlexGrid;
}

class ScreenContext;
class Connection;
class ErrorObject;

// The support tables ("Support Tables"): functions, and the categories and
// units of the selected function, edited in place. Every edit is saved at
// once through the service object; the last, empty row of each grid takes a
// new entry, whose key can be typed only until it is saved.
class frmSupportTables : public QDialog {
    Q_OBJECT

  public:
    explicit frmSupportTables(QWidget* parent = nullptr);
    ~frmSupportTables() override;

    // Connection, error object and the support-table writes come from
    // itemMaint (not owned); lists the functions and selects the first.
    void Setup(ScreenContext* itemMaint);

  private:
    void FillFunctions();
    void FillCatagories();
    void FillUnits();
    void GetUOMs();
    // Shows the categories and units of the function in that row.
    void Dependant(int row);
    QString DependantFunction() const;

    void fgFunctions_AfterEdit(int row, int col);
    void fgCatagories_AfterEdit(int row, int col);
    void fgUnits_AfterEdit(int row, int col);
    void fgFunctions_CellButtonClick(int row, int col);
    void fgFunctions_DeleteKey(int row);
    void fgCatagories_DeleteKey(int row);
    void fgUnits_DeleteKey(int row);

    // The rules every grid shares: the key of a saved row stays, a key is
    // kept in upper case and may not repeat another row's.
    void WatchKey(ui::FlexGrid& grid, int keyCol, const char* noun);
    // A saved row keeps its new version. The typed key of a row saved for the
    // first time becomes its row data, and a fresh empty row follows.
    void Saved(ui::FlexGrid& grid, int row, int keyCol, const GuardedSave& guard,
               const QString& newRow);
    // Asks before deleting a saved row; True when the user said Yes.
    static bool ConfirmDelete(const ui::FlexGrid& grid, int row, const char* noun);

    std::unique_ptr<Ui::frmSupportTables> ui_;
    ErrorTrap trap_{"frmSupportTables"};
    ScreenContext* maint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    int dependantRow_ = 0;
    // A save refused because another station saved the row since it was read
    // offers to refill that grid; No keeps what the user typed.
    RowConflict conflict_;
};

}  // namespace vym
