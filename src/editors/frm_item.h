#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "gateway/error_trap.h"

namespace Ui {
class frmItem;
}

namespace vym {

class CItem;
class ScreenContext;
class Connection;
class ErrorObject;
class Recordset;

namespace ui {
class DataCombo;
}

// The properties window of a ticket, ski-school, photo or shipping item: the
// common fields, the type's own page, the extensions, redemption item and
// add-ons, the register groups and the instructions. "&Ok" validates (with
// the host system's check of an existing item) and saves all of it as one
// unit.
class frmItem : public QDialog {
    Q_OBJECT

  public:
    explicit frmItem(QWidget* parent = nullptr);
    ~frmItem() override;

    // Fills the lists and shows the item (not owned; outlives the window): an
    // item the caller opened (CItem::OpenItem), or a new one (ItemNo 0) whose
    // type (TICKET, SS, PHOTO, SHIP) and preset function/category the caller
    // set. Connection, error object, application server (host check) and the
    // pickers come from itemMaint (not owned).
    void Setup(ScreenContext* itemMaint, CItem& item);
    // Department, the category's access rule, then the host's check of an
    // existing item; False after the message of the first failure.
    bool ValidateData();
    // Saves the item with its changed register groups, extensions and add-ons,
    // all or nothing; False (the window keeping the input) when any part
    // failed. When another station saved the item since it was opened, the
    // user may reload it instead.
    bool SaveData();
    // True once "&Ok" saved the item (the window then closed with Accepted).
    bool Saved() const { return saved_; }

  private:
    void FillComboBoxes();
    void FillFormats();
    void cmdFormats_Click();
    void FillCatagoryComboBoxes();
    void FillSSCombos();
    void FillPhotoCombos();
    // The add-on grid's lists: "#0;[Use Item Format]|#no;description..." and
    // "#0;[Use Item Rule]|#no;description...".
    QString GetFormatList();
    QString GetAccessRule();
    // Adds the rows of an ad-hoc query (or procedure) to a list.
    void FillList(ui::DataCombo& list, std::string_view sql, const char* keyField,
                  const char* textField);
    void FillListFromProcedure(ui::DataCombo& list, const char* procedure, const char* keyField,
                               const char* textField);

    void LoadItem();
    void LoadTypePage();
    void LoadTypeValues();
    void Reload();
    void LoadRegisterGroups();
    void LoadExtensionsAndRedemption();
    void LoadAddOns();
    void CopyControlsToItem();
    bool UpdateRegisterGroups();
    bool UpdateExtensions();
    bool UpdateAddOns();
    bool HostValidates();

    void SetUpLists();
    void SetUpGrids();
    void SelectPage(const QString& key);
    void ShowSymbol();
    void ShowRedemption(std::int32_t itemNo, const QString& description);
    void AddItem(const std::vector<std::int32_t>& picked);
    void DeleteAddOn();
    void cmdOk_Click();
    void cmdSymbol_Click();
    void cmdAddExtension_Click();
    void cmdDeleteExtension_Click();
    void cmdPickRedemption_Click();
    void cmdAddAddOn_Click();
    void chkSerialized_Toggled(bool checked);
    void chkUseNegativeFormat_Toggled(bool checked);
    void fgExtensions_ValidateEdit(int row, int col, const QString& text, bool& cancel);
    void fgAddOns_ValidateEdit(int row, int col, const QString& text, bool& cancel);

    std::unique_ptr<Ui::frmItem> ui_;
    ErrorTrap trap_{"frmItem"};
    ScreenContext* itemMaint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    CItem* item_ = nullptr;
    QString itemType_;
    QString treeIcon_;
    std::int32_t redeemItem_ = 0;
    bool registerGroupsChanged_ = false;
    bool extensionsChanged_ = false;
    bool addOnsChanged_ = false;
    bool saved_ = false;
};

}  // namespace vym
