#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "gateway/error_trap.h"
#include "host/row_conflict.h"

namespace Ui {
class frmSeasons;
}

namespace vym {

class ScreenContext;
class Connection;
class ErrorObject;

// Season maintenance ("Season Maintenance"): every season in one grid, where
// seasons are added, changed and deleted; nothing is written until Ok saves
// all the changes together.
class frmSeasons : public QDialog {
    Q_OBJECT

  public:
    explicit frmSeasons(QWidget* parent = nullptr);
    ~frmSeasons() override;

    // Loads the season types, the functions and the seasons. Connection and
    // error object come from itemMaint (not owned).
    void Setup(ScreenContext* itemMaint);
    // Deletes the removed seasons and writes the new and changed ones, all or
    // nothing. False after the message of the first row at fault (its cell
    // then has the focus) or of a refused write: nothing is saved, and a
    // season whose delete was refused is shown again. A season that another
    // station saved or deleted since it was read refuses the save, and the
    // grid reloads only when the user asks to.
    bool SaveData();

  private:
    void LoadLists();
    void LoadSeasons();
    void AddSeason();
    void DeleteSeasons();
    // The first problem of a changed row, shown with its cell current; False
    // when there is one.
    bool ValidateRow(int row);
    // Each false after telling the user why, or after keeping a conflict for
    // the question once the caller rolled back.
    bool DeleteSeason(int row, std::int32_t seasonNo);
    struct SavedSeason {
        std::int32_t seasonNo;  // new or as it was
        std::int32_t version;
    };
    std::optional<SavedSeason> UpdateSeason(int row, std::int32_t seasonNo);
    void fgSeasons_BeforeEdit(int row, int col, bool& cancel);
    void fgSeasons_ValidateEdit(int row, int col, const QString& text, bool& cancel);
    void fgSeasons_AfterEdit(int row, int col);
    void cmdOk_Click();

    std::unique_ptr<Ui::frmSeasons> ui_;
    ErrorTrap trap_{"frmSeasons"};
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    RowConflict conflict_;
};

}  // namespace vym
