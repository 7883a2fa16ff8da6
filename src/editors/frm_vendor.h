#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"

namespace Ui {
class frmVendor;
}

namespace vym {

class ScreenContext;
class Connection;
class ErrorObject;

// Vendor maintenance ("Vendors"): lists vendors by the first letter of their
// name, adds, edits and deletes them with their contact and one address per
// address type, and hands the selected vendor back to the opener.
class frmVendor : public QDialog {
    Q_OBJECT

  public:
    explicit frmVendor(QWidget* parent = nullptr);
    ~frmVendor() override;

    // Takes the connection and error object of the service object (not
    // owned), builds the address tabs and, for a vendor id, lists the vendors
    // with that one selected.
    void Setup(ScreenContext* itemMaint, const QString& vendorId = {});
    // Lists the vendors whose name begins with the filter (all for "") and
    // selects the first.
    void FilterVendor(const QString& filter);
    // Shows the vendor of a grid row, saving the shown one first when it has
    // changes; False (the shown vendor kept) when that save failed.
    bool SelectVendor(int row);
    // Saves the shown vendor and its new or changed addresses; False after the
    // message of a refusal.
    bool SaveData();
    void DeleteVendor();

    // The choice, read back after the window closed.
    const QString& VendorId() const { return selectedId_; }
    const QString& VendorName() const { return selectedName_; }
    // The number of the selected vendor's "PRIMARY" address; 0 for none.
    std::int32_t PrimaryAddressNo() const { return primaryAddress_; }
    bool UserCancelled() const { return cancelled_; }

  private:
    void ClearFields();
    // Lets the fields take typing only where it can be saved.
    void AllowTyping();
    bool HasChanges() const;
    // Loads the vendor of a grid row (none for row 0), dropping any typing.
    void ShowVendor(int row);
    // The changed addresses of the vendor `id`, inside the save's transaction;
    // false (after any message) when one fails.
    bool SaveAddresses(const QString& id);
    void cmdAdd_Click();
    void cmdOk_Click();
    void txtVendorId_Edited(const QString& text);

    std::unique_ptr<Ui::frmVendor> ui_;
    ErrorTrap trap_{"frmVendor"};
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    bool new_ = false;
    bool changed_ = false;
    bool cancelled_ = true;
    int shownRow_ = 0;
    QString selectedId_;
    QString selectedName_;
    std::int32_t primaryAddress_ = 0;
    std::int32_t rowVersion_ = 0;  // of the vendor shown, as read
};

}  // namespace vym
