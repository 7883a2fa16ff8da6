#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"

namespace Ui {
class frmAddPrice;
}

namespace vym {

class CItem;
class CPackage;
class Connection;
class ErrorObject;

namespace ui {
class DataCombo;
}

// The key of a new price row for the item price list: a season, a discount,
// a unit, for an extension price the extension item and its unit, and for an
// item (not a package) the total price. It writes nothing to the database.
class frmAddPrice : public QDialog {
    Q_OBJECT

  public:
    // A row of a unit list: "Unit Id", "Units", "Description", "AcctUnits", "PrintQty".
    struct UnitRow {
        QString UnitId;
        QString Units;
        QString Description;
        QString AcctUnits;
        QString PrintQty;
    };

    explicit frmAddPrice(QWidget* parent = nullptr);
    ~frmAddPrice() override;

    // Fills the lists for the item, or for the package when oPackage is given
    // (neither owned). False when an extension price was asked for and the item
    // has no extensions, or when the lists could not be read (reported).
    bool Setup(Connection* oDB, ErrorObject* oError, CItem* oItem, CPackage* oPackage,
               bool bExtension);

    // What the user chose, once the dialog closed accepted.
    bool UserCancelled() const { return result() != QDialog::Accepted; }
    QString SeasonKey() const;  // "0" for any season
    QString SeasonText() const;
    QString DiscountKey() const;  // "'" + discount id; "'" for the base price
    QString DiscountText() const;
    UnitRow Unit() const;
    UnitRow ExtensionUnit() const;
    std::int32_t ExtensionItemNo() const;
    QString ExtensionItemDescription() const;
    QString PriceText() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool LoadExtensions(std::int32_t itemNo);
    bool LoadSeason(const QString& functionId);
    bool LoadDiscount();
    bool LoadUnits(const QString& functionId, ui::DataCombo& target);
    void cmbExtensionItem_Change();
    void cmdOk_Click();

    std::unique_ptr<Ui::frmAddPrice> ui_;
    ErrorTrap trap_{"frmAddPrice"};
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    bool packageMode_ = false;
    bool extension_ = false;
};

}  // namespace vym
