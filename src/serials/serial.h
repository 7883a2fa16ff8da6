#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "gateway/error_trap.h"
#include "host/console_binding.h"
#include "host/vym_interface.h"

class QAction;
class QMenu;
class QMenuBar;

namespace Ui {
class Serial;
}

namespace vym {

class AppServer;
class CStockSerial;
class Command;
class Connection;
class ErrorObject;
class ScreenContext;

// The serial console: finds serialized units by serial number, item,
// location, status, type, model, size or rental item, edits their optional
// prices in place, and launches the per-unit tasks. The back office hosts it
// as a plug-in application (VYMInterface); a caller may also set it up
// directly and use it as a picker ("&Ok", "Cancel").
//
// Errors of its commands go to the error object under "Serial"; the grid
// keeps its rows.
class Serial : public QWidget, public VYMInterface {
    Q_OBJECT

  public:
    explicit Serial(QWidget* parent = nullptr);
    ~Serial() override;

    // Plug-in interface ---------------------------------------------------------
    void implements_SetAppServer(AppServer* server) override;
    void implements_Setup() override;
    void implements_Enable() override;
    void implements_ShowAbout() override;
    QString implements_GetApplicationName() const override;
    QString implements_ProgID() const override;
    void Implements_ShutDown() override;

    // Keeps the connection, error object and service object (not owned), fills
    // the search lists and presets the criteria; any preset runs the search
    // (the maker's serial only does that).
    void Setup(std::shared_ptr<Connection> oDB, ErrorObject* oError, ScreenContext* oItemMaint,
               std::int32_t lItemNo = 0, const QString& sSerialId = {},
               const QString& sMfgSerial = {}, const QString& sLoc = {});
    void SearchStockSerial();

    // The first selected row's item number and serial id; 0 and "" for none.
    std::int32_t ItemNo() const;
    QString StockNo() const;
    // The item numbers and serial ids of the selected rows, top to bottom.
    std::vector<std::pair<std::int32_t, QString>> MultiSelect() const;
    bool UserCanceled() const { return userCanceled_; }
    void SetOkVisible(bool visible);
    void SetCancelVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    void Refresh() { update(); }

  signals:
    void DoubleClick();
    void OkClick();
    void CancelClick();

  private:
    void BuildMenus();
    void EnableControls();
    void SetStatus(const QString& text);
    void FillSearchLists();
    void FillSizes();
    // The search with the criteria set; nullptr after its message when the
    // criteria do not allow one.
    std::unique_ptr<Command> BuildSearch();

    void cmdFind_Click();
    void cmdNewSearch_Click();
    void flxSerial_BeforeEdit(int row, int col, bool& cancel);
    void flxSerial_ValidateEdit(int row, int col, const QString& text, bool& cancel);
    void flxSerial_AfterEdit(int row, int col);

    int SelectedRow() const;
    // Opens the editor; a saved unit's row is added or refreshed.
    void EditUnit(int row, bool like);
    void ShowUnitRow(const CStockSerial& unit, int row);
    void mnuDelete_Click();
    void mnuContractHistory_Click();
    void mnuCreateFromTransfer_Click();
    void mnuPrintLabels_Click();

    Connection* Db() const { return connection_.get(); }
    ErrorObject* Errors() const { return binding_.Errors(); }

    std::unique_ptr<Ui::Serial> ui_;
    QMenuBar* menuBar_ = nullptr;
    QMenu* mnuSerialNumbers_ = nullptr;
    QAction* mnuAdd_ = nullptr;
    QAction* mnuCreateLike_ = nullptr;
    QAction* mnuDelete_ = nullptr;
    QAction* sepDelete_ = nullptr;

    ErrorTrap trap_{"Serial"};
    ConsoleBinding binding_;
    std::shared_ptr<Connection> connection_;
    ScreenContext* itemMaint_ = nullptr;

    bool allowEdit_ = false;
    bool allowDelete_ = false;
    bool userCanceled_ = true;
    bool enabled_ = false;
    bool searching_ = false;
};

}  // namespace vym
