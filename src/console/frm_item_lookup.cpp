#include "console/frm_item_lookup.h"

#include "console/item.h"
#include "gateway/app_server.h"
#include "ui_frm_item_lookup.h"

namespace vym {

frmItemLookup::frmItemLookup(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmItemLookup>()) {
    ui_->setupUi(this);
    connect(ui_->ctlItem, &Item::OkClick, this, &frmItemLookup::Choose);
    connect(ui_->ctlItem, &Item::ItemDoubleClick, this, &frmItemLookup::Choose);
    connect(ui_->ctlItem, &Item::CancelClick, this, &frmItemLookup::reject);
}

frmItemLookup::~frmItemLookup() = default;

Item& frmItemLookup::Console() {
    return *ui_->ctlItem;
}

void frmItemLookup::Setup(AppServer* server, ScreenContext* itemMaint, bool bMultiSelect,
                          ItemTypes iShowType, const QString& sLocation, bool bDisableStockMatrix,
                          const QString& sVendorId, const QString& sStockType,
                          const QString& sStockSerialType, bool bRequireBindingType,
                          std::optional<bool> bIsAPackage, bool bSerialized,
                          bool bClearLastSearch) {
    Item& console = Console();
    if (!bound_ && server != nullptr) {
        // A picker needs no right of its own: the caller's task decides.
        console.implements_SetAppServer(server);
        console.SetErrorObject(&server->ErrorObject());
        console.SetDBConnection(server->DBConnection());
        console.SetItemMaint(itemMaint);
        bound_ = true;
    }
    cancelled_ = true;
    setWindowTitle(bRequireBindingType ? "Search Items with binding type" : "Search Items");
    console.Setup(true, bMultiSelect, iShowType, sLocation, bDisableStockMatrix, sVendorId,
                  sStockType, sStockSerialType, bRequireBindingType, bIsAPackage, bSerialized,
                  bClearLastSearch);
}

void frmItemLookup::Choose() {
    const Item& console = Console();
    cancelled_ = false;
    itemNo_ = console.ItemNo();
    description_ = console.ItemDescription();
    itemType_ = console.ItemType();
    selection_ = console.MultiSelect();
    accept();
}

void frmItemLookup::reject() {
    cancelled_ = true;
    QDialog::reject();
}

}  // namespace vym
