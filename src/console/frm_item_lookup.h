#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "host/item_enums.h"

namespace Ui {
class frmItemLookup;
}

namespace vym {

class AppServer;
class ScreenContext;
class Item;

// The item lookup ("Search Items"): the item console in selection mode. The
// service object keeps one between lookups, so the last criteria and results
// are still there next time; closing the window only hides it.
class frmItemLookup : public QDialog {
    Q_OBJECT

  public:
    explicit frmItemLookup(QWidget* parent = nullptr);
    ~frmItemLookup() override;

    // Binds the console to the server the first time (server and itemMaint
    // not owned), then sets it up for selection with the criteria presets.
    // The lookup counts as cancelled until a row is chosen.
    void Setup(AppServer* server, ScreenContext* itemMaint, bool bMultiSelect, ItemTypes iShowType,
               const QString& sLocation = {}, bool bDisableStockMatrix = false,
               const QString& sVendorId = {}, const QString& sStockType = {},
               const QString& sStockSerialType = {}, bool bRequireBindingType = false,
               std::optional<bool> bIsAPackage = std::nullopt, bool bSerialized = false,
               bool bClearLastSearch = false);

    // The choice, read back after the dialog closed.
    std::int32_t ItemNo() const { return itemNo_; }
    const QString& Description() const { return description_; }
    const std::vector<std::int32_t>& Selection() const { return selection_; }
    const QString& ItemType() const { return itemType_; }
    bool Cancelled() const { return cancelled_; }

    Item& Console();

    void reject() override;

  private:
    void Choose();

    std::unique_ptr<Ui::frmItemLookup> ui_;
    bool bound_ = false;
    bool cancelled_ = true;
    std::int32_t itemNo_ = 0;
    QString description_;
    QString itemType_;
    std::vector<std::int32_t> selection_;
};

}  // namespace vym
