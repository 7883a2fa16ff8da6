#include "reference/frm_support_tables.h"

#include "base/prompter.h"
#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/row_version.h"
#include "host/frm_symbol.h"
#include "host/screen_context.h"
#include "ui/flex_grid.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui_frm_support_tables.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;

namespace {

// Column layout of the three grids.
constexpr int kFunctionActive = 1;
constexpr int kFunctionIcon = 2;
constexpr int kFunctionDescription = 3;
constexpr int kCatagoryKey = 1;
constexpr int kCatagoryActive = 2;
constexpr int kCatagoryAccessRule = 3;
constexpr int kCatagoryDescription = 4;
constexpr int kUnitKey = 1;
constexpr int kUnitUom = 2;
constexpr int kUnitQty = 3;
constexpr int kUnitAcctUnits = 4;
constexpr int kUnitPrintQty = 5;
constexpr int kUnitDescription = 6;

QString FieldFlag(Recordset& rows, const char* name) {
    return rows.Fields(name).Flag() ? "-1" : "0";
}

std::unique_ptr<Recordset> Read(Connection& db, const char* procedure,
                                const QString& functionId = {}) {
    auto command = NewProcedure(db, procedure);
    if (!functionId.isEmpty()) {
        command->Parameters["@function_id"].Value = functionId.toStdString();
    }
    return db.ExecuteRecordset(*command);
}

// A row is saved once it keeps its key as row data.
bool IsSaved(const FlexGrid& grid, int row) {
    return grid.RowData(row).isValid();
}

// Quantities are small whole numbers.
bool IsQuantity(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 0 && value <= 32767;
}

// Another row with the key; keys compare without regard to case, as the
// database compares them.
int KeyRow(const FlexGrid& grid, int keyCol, const QString& key, int exceptRow) {
    for (int row = 1; row < grid.Rows(); ++row) {
        if (row != exceptRow &&
            grid.TextMatrix(row, keyCol).compare(key, Qt::CaseInsensitive) == 0) {
            return row;
        }
    }
    return -1;
}

// The last row was read: it keeps its key as row data and the version it was
// read at as the data of its key cell, for its saves.
void KeepRead(FlexGrid& grid, int keyCol, const QString& key, Recordset& rows) {
    const int row = grid.Rows() - 1;
    grid.SetRowData(row, key);
    grid.SetCellData(row, keyCol, ReadRowVersion(rows));
}

// The guard of a save of a row: the version the row was read at, none when
// it is new.
GuardedSave Guard(const FlexGrid& grid, int row, int keyCol, RowConflict& conflict) {
    return {IsSaved(grid, row) ? grid.CellData(row, keyCol).toInt() : 0, &conflict};
}

std::int16_t Quantity(const FlexGrid& grid, int row, int col) {
    return static_cast<std::int16_t>(grid.TextMatrix(row, col).trimmed().toInt());
}

}  // namespace

frmSupportTables::frmSupportTables(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmSupportTables>()) {
    ui_->setupUi(this);

    FlexGrid& functions = *ui_->fgFunctions;
    functions.SetFormatString("<Function|^Active|^Icon|<Description");
    functions.SetColumnKind(kFunctionActive, FlexGrid::ColumnKind::CheckBox);
    functions.SetColumnKind(kFunctionIcon, FlexGrid::ColumnKind::Button);
    functions.SetColumnSymbolFont(kFunctionIcon);

    FlexGrid& catagories = *ui_->fgCatagories;
    catagories.SetFormatString("<Function|<Catagory|^Active|^Require Access Rule|<Description");
    catagories.SetColumnHidden(0, true);
    catagories.SetColumnKind(kCatagoryActive, FlexGrid::ColumnKind::CheckBox);
    catagories.SetColumnKind(kCatagoryAccessRule, FlexGrid::ColumnKind::CheckBox);

    FlexGrid& units = *ui_->fgUnits;
    units.SetFormatString("<Function|<Unit|<UOM|^Qty|^Accounting Units|^Print Qty|<Description");
    units.SetColumnHidden(0, true);
    units.SetColumnKind(kUnitUom, FlexGrid::ColumnKind::ComboList);
    connect(
        &units, &FlexGrid::ValidateEdit, this, [](int, int col, const QString& text, bool& cancel) {
            const bool quantity = col == kUnitQty || col == kUnitAcctUnits || col == kUnitPrintQty;
            if (quantity && !IsQuantity(text)) {
                cancel = true;
            }
        });

    WatchKey(functions, 0, "Function");
    WatchKey(catagories, kCatagoryKey, "Catagory");
    WatchKey(units, kUnitKey, "Unit");
    for (FlexGrid* grid : {&functions, &catagories, &units}) {
        grid->SetEditable(true);
        grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    }

    connect(&functions, &FlexGrid::RowColChange, this, [this](int row, int) {
        if (row != dependantRow_) {
            Dependant(row);
        }
    });
    connect(&functions, &FlexGrid::AfterEdit, this, &frmSupportTables::fgFunctions_AfterEdit);
    connect(&catagories, &FlexGrid::AfterEdit, this, &frmSupportTables::fgCatagories_AfterEdit);
    connect(&units, &FlexGrid::AfterEdit, this, &frmSupportTables::fgUnits_AfterEdit);
    connect(&functions, &FlexGrid::CellButtonClick, this,
            &frmSupportTables::fgFunctions_CellButtonClick);
    connect(&functions, &FlexGrid::DeleteKeyPressed, this,
            [this](int row, int) { fgFunctions_DeleteKey(row); });
    connect(&catagories, &FlexGrid::DeleteKeyPressed, this,
            [this](int row, int) { fgCatagories_DeleteKey(row); });
    connect(&units, &FlexGrid::DeleteKeyPressed, this,
            [this](int row, int) { fgUnits_DeleteKey(row); });
    connect(ui_->cmdClose, &QPushButton::clicked, this, &QDialog::accept);
}

frmSupportTables::~frmSupportTables() = default;

void frmSupportTables::Setup(ScreenContext* itemMaint) {
    maint_ = itemMaint;
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    if (db_ == nullptr) {
        return;
    }
    GetUOMs();
    FillFunctions();
    // Moving to the first row shows its dependants.
    FlexGrid& functions = *ui_->fgFunctions;
    functions.SetCurrentCell(1, 0);
    if (dependantRow_ != functions.Row()) {
        Dependant(functions.Row());
    }
}

void frmSupportTables::WatchKey(FlexGrid& grid, int keyCol, const char* noun) {
    connect(&grid, &FlexGrid::BeforeEdit, this, [&grid, keyCol](int row, int col, bool& cancel) {
        if (col == keyCol && IsSaved(grid, row)) {
            cancel = true;
        }
    });
    connect(&grid, &FlexGrid::ValidateEdit, this,
            [&grid, keyCol, noun](int row, int col, const QString& text, bool& cancel) {
                if (col != keyCol) {
                    return;
                }
                // Saving a repeated key would overwrite the entry that has it.
                const QString key = text.trimmed().toUpper();
                if (!key.isEmpty() && KeyRow(grid, keyCol, key, row) > 0) {
                    MsgBox(std::string(noun) + " " + key.toStdString() + " already exists.",
                           kInformation, "Duplicate " + std::string(noun));
                    cancel = true;
                }
            });
    // Runs before the screen's own AfterEdit handler, which saves the row.
    connect(&grid, &FlexGrid::AfterEdit, this, [&grid, keyCol](int row, int col) {
        if (col == keyCol) {
            grid.SetTextMatrix(row, col, grid.TextMatrix(row, col).trimmed().toUpper());
        }
    });
}

void frmSupportTables::Saved(FlexGrid& grid, int row, int keyCol, const GuardedSave& guard,
                             const QString& newRow) {
    grid.SetCellData(row, keyCol, guard.version);
    if (IsSaved(grid, row)) {
        return;
    }
    grid.SetRowData(row, grid.TextMatrix(row, keyCol));
    grid.AddItem(newRow);
}

void frmSupportTables::FillFunctions() {
    FlexGrid& grid = *ui_->fgFunctions;
    grid.Clear();
    trap_.Run(errors_, "FillFunctions", &db_->Native(), [&] {
        auto rows = Read(*db_, "VYM_SP_ITEM_GetFunction");
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const QString id = FieldText(*rows, "function_id");
            grid.AddItem(id + '\t' + FieldFlag(*rows, "is_active") + '\t' +
                         FieldText(*rows, "tree_icon") + '\t' + FieldText(*rows, "Description"));
            KeepRead(grid, 0, id, *rows);
        }
    });
    grid.AddItem("\t-1\t\t");
    grid.AutoSizeColumns();
}

void frmSupportTables::GetUOMs() {
    QString list = "#;<None>";
    trap_.Run(errors_, "GetUOMs", &db_->Native(), [&] {
        auto rows = Read(*db_, "VYM_SP_ITEM_GetUOM");
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const QString id = FieldText(*rows, "uom_id");
            list += "|#" + id + ';' + id + " - " + FieldText(*rows, "description");
        }
    });
    ui_->fgUnits->SetColumnComboList(kUnitUom, list);
}

QString frmSupportTables::DependantFunction() const {
    const FlexGrid& functions = *ui_->fgFunctions;
    return dependantRow_ > 0 && dependantRow_ < functions.Rows() &&
                   IsSaved(functions, dependantRow_)
               ? functions.RowData(dependantRow_).toString()
               : QString();
}

void frmSupportTables::Dependant(int row) {
    dependantRow_ = row;
    const QString function = DependantFunction();
    ui_->fraDependant->setTitle("Function " + function + " Dependant");
    // A function takes categories and units once it is saved.
    ui_->fraDependant->setEnabled(!function.isEmpty());
    FillCatagories();
    FillUnits();
}

void frmSupportTables::FillCatagories() {
    FlexGrid& grid = *ui_->fgCatagories;
    grid.Clear();
    const QString function = DependantFunction();
    if (function.isEmpty() || db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "FillCatagories", &db_->Native(), [&] {
        auto rows = Read(*db_, "VYM_SP_ITEM_GetCatagory", function);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const QString id = FieldText(*rows, "catagory_id");
            grid.AddItem(function + '\t' + id + '\t' + FieldFlag(*rows, "is_active") + '\t' +
                         FieldFlag(*rows, "require_access_rule") + '\t' +
                         FieldText(*rows, "Description"));
            KeepRead(grid, kCatagoryKey, id, *rows);
        }
    });
    grid.AddItem(function + "\t\t-1\t0\t");
    grid.AutoSizeColumns();
}

void frmSupportTables::FillUnits() {
    FlexGrid& grid = *ui_->fgUnits;
    grid.Clear();
    const QString function = DependantFunction();
    if (function.isEmpty() || db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "FillUnits", &db_->Native(), [&] {
        auto rows = Read(*db_, "VYM_SP_ITEM_GetUnit", function);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const QString id = FieldText(*rows, "unit_id");
            grid.AddItem(function + '\t' + id + '\t' + FieldText(*rows, "uom_id") + '\t' +
                         FieldText(*rows, "qty") + '\t' + FieldText(*rows, "acct_units") + '\t' +
                         FieldText(*rows, "print_qty") + '\t' + FieldText(*rows, "Description"));
            KeepRead(grid, kUnitKey, id, *rows);
        }
    });
    grid.AddItem(function + "\t\t\t1\t1\t1\t");
    grid.AutoSizeColumns();
}

void frmSupportTables::fgFunctions_AfterEdit(int row, int) {
    FlexGrid& grid = *ui_->fgFunctions;
    const QString id = grid.TextMatrix(row, 0);
    if (maint_ == nullptr || id.isEmpty()) {
        return;
    }
    const bool added = !IsSaved(grid, row);
    GuardedSave guard = Guard(grid, row, 0, conflict_);
    if (!maint_->FunctionUpdate(id, grid.TextMatrix(row, kFunctionDescription),
                                grid.TextMatrix(row, kFunctionIcon),
                                grid.CellChecked(row, kFunctionActive), &guard)) {
        if (conflict_.OfferReload()) {
            FillFunctions();
            Dependant(grid.Row());
        }
        return;
    }
    Saved(grid, row, 0, guard, "\t-1\t\t");
    if (added && row == dependantRow_) {
        Dependant(row);
    }
}

void frmSupportTables::fgCatagories_AfterEdit(int row, int) {
    FlexGrid& grid = *ui_->fgCatagories;
    const QString id = grid.TextMatrix(row, kCatagoryKey);
    if (maint_ == nullptr || id.isEmpty()) {
        return;
    }
    const QString function = grid.TextMatrix(row, 0);
    GuardedSave guard = Guard(grid, row, kCatagoryKey, conflict_);
    if (maint_->CatagoriesUpdate(function, id, grid.TextMatrix(row, kCatagoryDescription),
                                 grid.CellChecked(row, kCatagoryActive),
                                 grid.CellChecked(row, kCatagoryAccessRule), &guard)) {
        Saved(grid, row, kCatagoryKey, guard, function + "\t\t-1\t0\t");
    } else if (conflict_.OfferReload()) {
        FillCatagories();
    }
}

void frmSupportTables::fgUnits_AfterEdit(int row, int) {
    FlexGrid& grid = *ui_->fgUnits;
    const QString id = grid.TextMatrix(row, kUnitKey);
    if (maint_ == nullptr || id.isEmpty()) {
        return;
    }
    const QString function = grid.TextMatrix(row, 0);
    GuardedSave guard = Guard(grid, row, kUnitKey, conflict_);
    if (maint_->UnitUpdate(function, id, grid.TextMatrix(row, kUnitDescription),
                           grid.TextMatrix(row, kUnitUom), Quantity(grid, row, kUnitQty),
                           Quantity(grid, row, kUnitAcctUnits), Quantity(grid, row, kUnitPrintQty),
                           &guard)) {
        Saved(grid, row, kUnitKey, guard, function + "\t\t\t1\t1\t1\t");
    } else if (conflict_.OfferReload()) {
        FillUnits();
    }
}

void frmSupportTables::fgFunctions_CellButtonClick(int row, int col) {
    if (row < 1 || col != kFunctionIcon) {
        return;
    }
    frmSymbol symbols(this);
    ui::RunModal(symbols);
    if (const std::optional<int> code = symbols.SymbolCode()) {
        ui_->fgFunctions->SetTextMatrix(row, kFunctionIcon, QString(QChar(*code)));
        fgFunctions_AfterEdit(row, kFunctionIcon);
    }
}

bool frmSupportTables::ConfirmDelete(const FlexGrid& grid, int row, const char* noun) {
    return row > 0 && IsSaved(grid, row) && !grid.IsEditing() &&
           MsgBox("Are you sure you want to delete the " + std::string(noun) + " " +
                      grid.RowData(row).toString().toStdString(),
                  kQuestionYesNoDefaultNo, "Confirm Delete") == MsgResult::Yes;
}

void frmSupportTables::fgFunctions_DeleteKey(int row) {
    FlexGrid& grid = *ui_->fgFunctions;
    if (maint_ == nullptr || !ConfirmDelete(grid, row, "function")) {
        return;
    }
    GuardedSave guard = Guard(grid, row, 0, conflict_);
    if (!maint_->DeleteFunction(grid.RowData(row).toString(), &guard)) {
        if (conflict_.OfferReload()) {
            FillFunctions();
            Dependant(grid.Row());
        }
        return;
    }
    // Removing the row moves the current row, which shows its dependants.
    dependantRow_ = 0;
    grid.RemoveItem(row);
    if (dependantRow_ == 0) {
        Dependant(grid.Row());
    }
}

void frmSupportTables::fgCatagories_DeleteKey(int row) {
    FlexGrid& grid = *ui_->fgCatagories;
    if (maint_ == nullptr || !ConfirmDelete(grid, row, "catagory")) {
        return;
    }
    GuardedSave guard = Guard(grid, row, kCatagoryKey, conflict_);
    if (maint_->DeleteCatagory(grid.TextMatrix(row, 0), grid.RowData(row).toString(), &guard)) {
        grid.RemoveItem(row);
    } else if (conflict_.OfferReload()) {
        FillCatagories();
    }
}

void frmSupportTables::fgUnits_DeleteKey(int row) {
    FlexGrid& grid = *ui_->fgUnits;
    if (maint_ == nullptr || !ConfirmDelete(grid, row, "unit")) {
        return;
    }
    GuardedSave guard = Guard(grid, row, kUnitKey, conflict_);
    if (maint_->DeleteUnit(grid.TextMatrix(row, 0), grid.RowData(row).toString(), &guard)) {
        grid.RemoveItem(row);
    } else if (conflict_.OfferReload()) {
        FillUnits();
    }
}

}  // namespace vym
