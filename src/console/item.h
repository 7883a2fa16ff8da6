#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "base/currency.h"
#include "gateway/error_trap.h"
#include "host/console_binding.h"
#include "host/item_enums.h"
#include "host/vym_interface.h"

class QAction;
class QMenu;
class QMenuBar;

namespace Ui {
class Item;
}

namespace vym {

class AppServer;
class CItem;
class ScreenContext;
class CPackage;
class Command;
class Connection;
class ErrorObject;
class ParameterList;
class Recordset;

// The item console: finds items of every type by the criteria of its search
// tabs and acts on the results. The back office hosts it as a plug-in
// application (VYMInterface); the item lookup hosts it as a picker (Setup with
// selection mode, then the read-back members).
//
// Errors of its operations are reported to the error object under "ItemNew";
// the grid keeps what was loaded.
class Item : public QWidget, public VYMInterface {
    Q_OBJECT

  public:
    explicit Item(QWidget* parent = nullptr);
    ~Item() override;

    // Plug-in interface ---------------------------------------------------------
    void implements_SetAppServer(AppServer* server) override;
    void implements_Setup() override;
    void implements_Enable() override;
    void implements_ShowAbout() override;
    QString implements_GetApplicationName() const override;
    QString implements_ProgID() const override;
    void Implements_ShutDown() override;

    // Picker interface ----------------------------------------------------------
    // Selection mode shows OK and Cancel and chooses the tab of iShowType
    // (ttoAll: every tab); the other arguments preset the criteria.
    // bIsAPackage: rental packages (true), rental items (false) or both.
    void Setup(bool bSelectionMode, bool bMultiSelect = false, ItemTypes iShowType = ttoAll,
               const QString& sLocation = {}, bool bDisableStockMatrix = false,
               const QString& sVendorId = {}, const QString& sStockType = {},
               const QString& sStockSerialType = {}, bool bRequireBindingType = false,
               std::optional<bool> bIsAPackage = std::nullopt, bool bSerialized = false,
               bool bClearLastSearch = false);

    // The selected row (the current one when several are): 0 or "" for none.
    std::int32_t ItemNo() const;
    QString ItemType() const;
    QString ItemDescription() const;
    // The stock id and description of a selected stock or rental row.
    QString StockNo() const;
    QString StockDesc() const;
    // The numbers of every selected row, top to bottom.
    std::vector<std::int32_t> MultiSelect() const;
    bool UserCanceled() const { return userCanceled_; }
    void SetOkVisible(bool visible);
    void SetCancelVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    void Refresh();

    // Hand over the service object (not owned), error object (not owned) and
    // connection directly instead of taking them from the application server.
    void SetItemMaint(ScreenContext* itemMaint);
    void SetErrorObject(ErrorObject* errors) { binding_.SetErrors(errors); }
    void SetDBConnection(std::shared_ptr<Connection> connection);

    // Adds (bNew) or refreshes the stock tab's row of a stock item saved
    // elsewhere.
    void UpdateStock(bool bNew, std::int32_t lItemNo, const QString& sDesc, const QString& sStockNo,
                     const QString& sManufacturer, const QString& sModel, const QString& sSize,
                     const QString& sAttribute, double dPrice, bool bSerialized);

    // The search tab shown ("ALL", "STOCK", "PACKAGE" ...).
    QString SearchTab() const;

  signals:
    void ItemDoubleClick();
    void OkClick();
    void CancelClick();
    void ItemStockAdded(std::int32_t ItemNo, const QString& Description, vym::Currency Cost,
                        double Price, std::int32_t QtyOnOrder, const QString& VendorId);
    void Click();
    void DblClick();
    void KeyDown(int KeyCode, int Shift);
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    void MouseDown(int Button, int Shift, int X, int Y);
    void MouseMove(int Button, int Shift, int X, int Y);
    void MouseUp(int Button, int Shift, int X, int Y);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Tab;
    static const Tab& TabOf(const QString& key);

    void BuildMenus();
    void EnableControls();
    void tabSearch_Click(const QString& key);
    void FillSearchCombos();
    void FillFunctions();
    void FillCatagories();
    void FillModels();

    void cmdFind_Click();
    void cmdStop_Click() { stopRequested_ = true; }
    void cmdNewSearch_Click();
    void cmdOk_Click();
    void cmdCancel_Click();
    void cmdVendor_Click();
    void fgItems_DblClick(int row);

    // The command of the current tab with the criteria set; nullptr (after
    // its message) when the criteria do not allow a search.
    std::unique_ptr<Command> BuildSearch();
    // The Stock tab's own criteria; false (after its message) for a range
    // that ends before it starts.
    bool SetStockCriteria(ParameterList& p, std::optional<std::int32_t> itemNo);
    // The criteria of the other type tabs.
    void SetTypeCriteria(ParameterList& p, const QString& key);
    // `count` is the number of rows the search reported, for the progress.
    void LoadRows(Recordset& rows, std::int32_t count);
    // The cells of a row in the columns of `layout`, read from the result of
    // `source`'s search.
    QString RowText(Recordset& rows, const Tab& source, const Tab& layout) const;
    void StyleRow(int row, Recordset& rows);
    // Shows the record of the given type ("PACKAGE" for a package) in the
    // current tab's layout, replacing its row when it is shown; the new or
    // replaced row, 0 when it cannot be read.
    int ShowRecord(std::int32_t number, const QString& type);
    void SetStatus(const QString& text);

    void mnuAdd_Click();
    void PresetNewItem(CItem& item) const;
    void mnuProperties_Click();
    bool EditItem(CItem& item);
    bool EditPackage(CPackage& package);
    void UpdateRowCommands();
    int SingleRow(const char* noneTitle, const char* none, const char* severalTitle,
                  const char* several);
    void mnuPricing_Click();
    void mnuHistory_Click();
    void mnuLocation_Click();
    void mnuPrintLabels_Click();
    void mnuBulkPriceChange_Click();
    void mnuDelete_Click();
    void mnuCreateLike_Click();
    void mnuStockMatrix_Click();

    Connection* Db() const { return connection_.get(); }
    ErrorObject* Errors() const { return binding_.Errors(); }
    int SelectedRow() const;

    std::unique_ptr<Ui::Item> ui_;
    QMenuBar* menuBar_ = nullptr;
    QAction* mnuCreateLike_ = nullptr;
    QAction* mnuPricing_ = nullptr;
    QAction* mnuHistory_ = nullptr;
    QAction* mnuLocation_ = nullptr;
    QAction* mnuStockMatrix_ = nullptr;

    ErrorTrap trap_{"ItemNew"};
    ConsoleBinding binding_;
    std::shared_ptr<Connection> connection_;
    ScreenContext* itemMaint_ = nullptr;

    bool selectionMode_ = false;
    bool multiSelect_ = false;
    bool userCanceled_ = true;
    bool stopRequested_ = false;
    bool enabled_ = false;
    bool combosLoaded_ = false;
    QString serialTypeId_;
};

}  // namespace vym
