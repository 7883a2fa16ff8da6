#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"
#include "model/cstock_serial.h"

namespace Ui {
class frmSerialProperties;
}

namespace vym {

class ScreenContext;
class Connection;

// "Serial Properties": shows and edits one serialized unit, creates new units
// (typed, generated, or like the one shown), keeps its map ids, and guards
// the uniqueness of its ids and the quantity left to serialize.
class frmSerialProperties : public QDialog {
    Q_OBJECT

  public:
    explicit frmSerialProperties(QWidget* parent = nullptr);
    ~frmSerialProperties() override;

    // Opens the unit, or with no serial id a new unit of the item (0: none
    // yet) at the location. False when the unit cannot be read.
    bool Setup(ScreenContext* context, std::int32_t lItemNo = 0, const QString& sSerialId = {},
               const QString& sLocation = {});
    // A new unit like the one given; false, after the quantity message, when
    // its location has nothing left to serialize.
    bool SetupLike(ScreenContext* context, std::int32_t lItemNo, const QString& sSerialId);

    // Saves as "&Apply" does; false, after telling why, when nothing was saved.
    bool SaveData();
    const CStockSerial& Unit() const { return unit_; }
    // Whether a save happened while the screen was open.
    bool Saved() const { return saved_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    Connection* Db() const;
    void FillLists();
    void ShowUnit();
    void ShowItemFields();
    void SetChanged();
    void ReadItemKind();

    void txtItemNo_Validate();
    void AssignItem(std::int32_t itemNo);
    void txtBindingItemNo_Validate();
    void AssignBindingItem(std::int32_t itemNo);
    void cmdItemLookup_Click();
    void cmdBindingLookup_Click();
    void txtSerialId_Validate();
    void txtMfgSerial_Validate();
    void cmdGenerate_Click();
    // The quantity check; false after its message.
    bool QuantityAllows(CStockSerial& unit);
    void LoadMapIds();
    void AddMapId();
    void DeleteMapId();

    // Offers the unsaved changes for saving; false when the user cancelled
    // or the save failed.
    bool OfferSave();
    void ReloadUnit();
    void cmdCreateLike_Click();
    void cmdPrintLabel_Click();
    void cmdApply_Click() { SaveData(); }
    void cmdOk_Click();
    void cmdCancel_Click();

    std::unique_ptr<Ui::frmSerialProperties> ui_;
    ErrorTrap trap_{"frmSerialProperties"};
    ScreenContext* context_ = nullptr;
    CStockSerial unit_;
    QString rentalType_;  // of the unit's item: "RENTAL" for the rental fleet
    bool isNew_ = false;
    bool changed_ = false;
    bool loading_ = false;
    bool saved_ = false;
    QString serialOrigin_;  // "USER" when typed, "CALC" when generated
    QString checkedSerial_;
    QString checkedMfgSerial_;
};

}  // namespace vym
