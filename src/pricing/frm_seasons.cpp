#include "pricing/frm_seasons.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/date.h"
#include "base/format.h"
#include "base/prompter.h"
#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/row_version.h"
#include "gateway/transaction.h"
#include "host/screen_context.h"
#include "pricing/season_rules.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"
#include "ui_frm_seasons.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::NullIfEmpty;

namespace {

using namespace season_column;

constexpr const char* kDateFormat = "mm/dd/yyyy";

QString FieldDate(Recordset& rows, const char* name) {
    return QString::fromStdString(Format(rows.Fields(name).Value(), kDateFormat));
}

std::optional<Date> ParseDate(const QString& text) {
    return ParseSeasonDate(text.trimmed().toStdString());
}

bool IsDateColumn(int col) {
    return col == kStart || col == kEnd || col == kStoreStart || col == kStoreEnd;
}

// An optional date cell: Null when empty (validation has seen to the rest).
Value DateOrNull(const QString& text) {
    const auto day = ParseDate(text);
    return day ? Value(*day) : Value::Null();
}

}  // namespace

frmSeasons::frmSeasons(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::frmSeasons>()) {
    ui_->setupUi(this);

    FlexGrid& grid = *ui_->fgSeasons;
    grid.SetFormatString(
        "Changed|^Season No|IsActive|Type|Function|Group|Description|Start|End|Store Start|"
        "Store End");
    grid.SetColumnHidden(kChanged, true);
    grid.SetColumnKind(kActive, FlexGrid::ColumnKind::CheckBox);
    for (int col : {kStart, kEnd, kStoreStart, kStoreEnd}) {
        grid.SetColumnFormat(col, "MM/DD/YYYY");
    }
    grid.SetColumnEditable(kChanged, false);
    grid.SetColumnEditable(kSeasonNo, false);
    grid.SetSelectionMode(FlexGrid::SelectionMode::MultiRow);
    grid.SetEditable(true);

    connect(&grid, &FlexGrid::BeforeEdit, this, &frmSeasons::fgSeasons_BeforeEdit);
    connect(&grid, &FlexGrid::ValidateEdit, this, &frmSeasons::fgSeasons_ValidateEdit);
    connect(&grid, &FlexGrid::AfterEdit, this, &frmSeasons::fgSeasons_AfterEdit);
    connect(ui_->cmdAdd, &QPushButton::clicked, this, &frmSeasons::AddSeason);
    connect(ui_->cmdDelete, &QPushButton::clicked, this, &frmSeasons::DeleteSeasons);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmSeasons::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmSeasons::~frmSeasons() = default;

void frmSeasons::Setup(ScreenContext* itemMaint) {
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    if (db_ == nullptr) {
        return;
    }
    LoadLists();
    LoadSeasons();
}

void frmSeasons::LoadLists() {
    FlexGrid& grid = *ui_->fgSeasons;
    trap_.Run(errors_, "LoadLists", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetSeasonType");
        auto rows = db_->ExecuteRecordset(*command);
        QString types;
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            types += ui::ComboListEntry(FieldText(*rows, "season_type_id"),
                                        FieldText(*rows, "description"));
        }
        grid.SetColumnComboList(kType, types);
    });
    trap_.Run(errors_, "LoadLists", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetFunction");
        auto rows = db_->ExecuteRecordset(*command);
        // A season of no function applies to every function.
        QString functions = "|#;";
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            functions += ui::ComboListEntry(FieldText(*rows, "function_id"),
                                            FieldText(*rows, "description"));
        }
        grid.SetColumnComboList(kFunction, functions);
    });
}

void frmSeasons::LoadSeasons() {
    FlexGrid& grid = *ui_->fgSeasons;
    trap_.Run(errors_, "LoadSeasons", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_GetSeason");
        auto rows = db_->ExecuteRecordset(*command);
        grid.Clear();
        grid.BeginBulkLoad();
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const bool active = rows->Fields("is_active").Flag();
            grid.AddRow({"0", FieldText(*rows, "season_no"), active ? "-1" : "0",
                         FieldText(*rows, "season_type_id"), FieldText(*rows, "function_id"),
                         FieldText(*rows, "season_group_id"), FieldText(*rows, "Description"),
                         FieldDate(*rows, "start_date"), FieldDate(*rows, "end_date"),
                         FieldDate(*rows, "store_start_date"), FieldDate(*rows, "store_end_date")});
            // The version the season was read at goes with its save.
            grid.SetCellData(grid.Rows() - 1, kSeasonNo, ReadRowVersion(*rows));
        }
        grid.EndBulkLoad();
    });
    grid.AutoSizeColumns();
}

void frmSeasons::AddSeason() {
    FlexGrid& grid = *ui_->fgSeasons;
    const QString today = QString::fromStdString(Format(Value(Date::Today()), kDateFormat));
    grid.AddRow({"-1", "0", "-1", "", "", "", "<New Season>", today, today, today, today});
    grid.SetCurrentCell(grid.Rows() - 1, kDescription);
    grid.setFocus();
}

void frmSeasons::DeleteSeasons() {
    FlexGrid& grid = *ui_->fgSeasons;
    QList<int> rows;
    for (int row : grid.SelectedRows()) {
        if (!grid.IsRowHidden(row)) {
            rows.append(row);
        }
    }
    if (rows.isEmpty()) {
        return;
    }
    if (MsgBox("Are you sure you want to delete all the selected season rows?",
               kQuestionYesNoDefaultNo, "Confirm Season Delete") != MsgResult::Yes) {
        return;
    }
    // A hidden row is a deleted one: Ok removes it from the database.
    for (int row : rows) {
        grid.SetRowHidden(row, true);
    }
}

void frmSeasons::fgSeasons_BeforeEdit(int row, int col, bool& cancel) {
    cancel = col == kChanged || col == kSeasonNo || ui_->fgSeasons->IsRowHidden(row);
}

void frmSeasons::fgSeasons_ValidateEdit(int /*row*/, int col, const QString& text, bool& cancel) {
    if ((col == kStart || col == kEnd) && !ParseDate(text)) {
        MsgBox("You must specify a valid date", kInformation, "InValid Date");
        cancel = true;
    } else if (col == kGroup && !text.trimmed().isEmpty()) {
        // The group is a number; anything else keeps the group it had.
        bool number = false;
        text.trimmed().toInt(&number);
        cancel = !number;
    }
}

void frmSeasons::fgSeasons_AfterEdit(int row, int col) {
    FlexGrid& grid = *ui_->fgSeasons;
    grid.SetTextMatrix(row, kChanged, "-1");
    if (col == kGroup) {
        grid.SetTextMatrix(row, col, grid.TextMatrix(row, col).trimmed());
    } else if (IsDateColumn(col)) {
        if (const auto day = ParseDate(grid.TextMatrix(row, col))) {
            grid.SetTextMatrix(row, col, QString::fromStdString(Format(Value(*day), kDateFormat)));
        }
    }
}

bool frmSeasons::ValidateRow(int row) {
    FlexGrid& grid = *ui_->fgSeasons;
    const auto cell = [&](int col) { return grid.TextMatrix(row, col).trimmed().toStdString(); };
    const Verdict refusal = CheckSeason({cell(kSeasonNo), row, cell(kType), cell(kStart),
                                         cell(kEnd), cell(kStoreStart), cell(kStoreEnd)});
    if (!refusal) {
        return true;
    }
    MsgBox(refusal->message, refusal->style, refusal->title);
    grid.SetCurrentCell(row, refusal->column);
    grid.setFocus();
    return false;
}

bool frmSeasons::DeleteSeason(int row, std::int32_t seasonNo) {
    FlexGrid& grid = *ui_->fgSeasons;
    auto command = NewProcedure(*db_, "VYM_SP_ITEM_DeleteSeason", {{"@season_no", seasonNo}});
    SendRowVersion(command->Parameters, grid.CellData(row, kSeasonNo).toInt());
    if (db_->Execute(*command) &&
        NullToZero(command->Parameters["@RETURN_VALUE"].Value).ToLong() == 0) {
        return true;
    }
    // The season stays: show it again, or every later Ok would stop at the
    // same refusal.
    grid.SetRowHidden(row, false);
    grid.SetCurrentCell(row, kDescription);
    if (conflict_.Refused(command->Parameters)) {
        return false;
    }
    std::string message = "Unable to delete season";
    if (const std::string reason = NullToEmpty(command->Parameters["@message"].Value);
        !reason.empty()) {
        message += "\r\n" + reason;
    }
    MsgBox(message, kInformation);
    return false;
}

std::optional<frmSeasons::SavedSeason> frmSeasons::UpdateSeason(int row, std::int32_t seasonNo) {
    FlexGrid& grid = *ui_->fgSeasons;
    const QString group = grid.TextMatrix(row, kGroup).trimmed();
    auto command = NewProcedure(
        *db_, "VYM_SP_ITEM_UpdateSeason",
        {{"@season_no", seasonNo != 0 ? Value(seasonNo) : Value::Null()},
         {"@season_type_id", NullIfEmpty(grid.TextMatrix(row, kType))},
         {"@description", grid.TextMatrix(row, kDescription).toStdString()},
         {"@function_id", NullIfEmpty(grid.TextMatrix(row, kFunction))},
         {"@is_active", grid.CellChecked(row, kActive)},
         {"@start_date", DateOrNull(grid.TextMatrix(row, kStart))},
         {"@end_date", DateOrNull(grid.TextMatrix(row, kEnd))},
         {"@store_start_date", DateOrNull(grid.TextMatrix(row, kStoreStart))},
         {"@store_end_date", DateOrNull(grid.TextMatrix(row, kStoreEnd))},
         {"@season_group_id", group.isEmpty() ? Value::Null() : Value(group.toInt())}});
    SendRowVersion(command->Parameters, seasonNo != 0 ? grid.CellData(row, kSeasonNo).toInt() : 0);
    const bool ran = db_->Execute(*command);
    if (ran && conflict_.Refused(command->Parameters)) {
        grid.SetCurrentCell(row, kDescription);
        return std::nullopt;
    }
    if (!ran) {
        grid.SetCurrentCell(row, kDescription);
        MsgBox("Error updating season", kInformation, "Unable to save changes");
        return std::nullopt;
    }
    return SavedSeason{NullToZero(command->Parameters["@season_no"].Value).ToLong(),
                       SavedRowVersion(command->Parameters)};
}

bool frmSeasons::SaveData() {
    if (db_ == nullptr) {
        return false;
    }
    FlexGrid& grid = *ui_->fgSeasons;
    // Numbers of new seasons and new versions reach the grid only once
    // everything committed, so that another try after a failure sends them
    // as they were read.
    std::vector<std::pair<int, SavedSeason>> written;
    bool saved = false;
    trap_.Run(errors_, "SaveData", &db_->Native(), [&] {
        Transaction transaction(*db_);
        for (int row = 1; row < grid.Rows(); ++row) {
            const std::int32_t seasonNo = grid.TextMatrix(row, kSeasonNo).toInt();
            if (grid.IsRowHidden(row)) {
                // A row never saved has nothing to delete.
                if (seasonNo != 0 && !DeleteSeason(row, seasonNo)) {
                    return;
                }
                continue;
            }
            if (!grid.CellChecked(row, kChanged)) {
                continue;
            }
            if (!ValidateRow(row)) {
                return;
            }
            const auto saved = UpdateSeason(row, seasonNo);
            if (!saved) {
                return;
            }
            written.emplace_back(row, *saved);
        }
        transaction.Commit();
        saved = true;
    });
    if (!saved) {
        if (conflict_.OfferReload()) {
            LoadSeasons();
        }
        return false;
    }
    for (const auto& [row, season] : written) {
        grid.SetTextMatrix(row, kSeasonNo, QString::number(season.seasonNo));
        grid.SetCellData(row, kSeasonNo, season.version);
    }
    for (int row = grid.Rows() - 1; row >= 1; --row) {
        if (grid.IsRowHidden(row)) {
            grid.RemoveItem(row);
        } else {
            grid.SetTextMatrix(row, kChanged, "0");
        }
    }
    return true;
}

void frmSeasons::cmdOk_Click() {
    if (SaveData()) {
        accept();
    }
}

}  // namespace vym
