#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "gateway/error_trap.h"

namespace Ui {
class frmEditPackage;
}

namespace vym {

class ScreenContext;
class CPackage;
class CPackageItem;
class Connection;
class ErrorObject;

// The package editor ("Package Properties (<number>)"): a package's header,
// its lines, the register groups it is sold in, its instructions and its
// redemption package with the line each line is redeemed as. Changes stay on
// screen until Ok saves them together.
class frmEditPackage : public QDialog {
    Q_OBJECT

  public:
    explicit frmEditPackage(QWidget* parent = nullptr);
    ~frmEditPackage() override;

    // Shows the package (not owned; outlives the window): one the caller opened
    // (CPackage::OpenPackage + OpenItems), or a new one (PackageNo 0) with preset function
    // and category. Connection, error object and the pickers come from itemMaint (not owned).
    void Setup(ScreenContext* itemMaint, CPackage& oPackage);
    // Saves the header, then the changed register groups, then the changed
    // lines, all or nothing. False after the message of a refusal; the
    // package then keeps the numbers it had.
    bool SaveData();
    // True once Ok saved the package (the window then closed with Accepted).
    bool Saved() const { return saved_; }

  private:
    void FillComboBoxes();
    void FillCatagoryComboBoxes(const QString& functionId);
    void GetFormatList();
    void LoadItems();
    void AddItem();
    void DeleteRow();
    void LoadRegisterGroups();
    void Reload();
    void ShowRedemptionPackage();
    void ResetAssociations();
    void ChooseRedemptionPackage();
    void ClearRedemptionPackage();
    void ChooseSymbol();
    void ShowTreeIcon();
    bool CheckAssociations();
    // Saves every row of the lines grid; `lines` receives the lines that
    // remain and `added` the sequence numbers given to new rows, both to be
    // taken over only once the whole save has committed.
    bool SaveItems(std::vector<CPackageItem>& lines,
                   std::vector<std::pair<int, std::int16_t>>& added);
    bool UpdateRegisterGroups();
    void gdItems_BeforeEdit(int row, int col, bool& cancel);
    void gdItems_ValidateEdit(int row, int col, const QString& text, bool& cancel);
    void gdItems_AfterEdit(int row, int col);
    void tabPackage_Change(const QString& key);
    void cmdOk_Click();

    std::unique_ptr<Ui::frmEditPackage> ui_;
    ErrorTrap trap_{"frmEditPackage"};
    ScreenContext* maint_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    CPackage* package_ = nullptr;
    std::unique_ptr<CPackage> redeem_;  // the redemption package with its lines, when set
    QString treeIcon_;
    bool loading_ = false;
    bool groupsLoaded_ = false;
    bool itemsChanged_ = false;
    bool associationsChanged_ = false;
    bool groupsChanged_ = false;
    bool saved_ = false;
};

}  // namespace vym
