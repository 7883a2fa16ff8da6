#include "sales/frm_sale_items.h"

#include <QKeyEvent>

#include "base/prompter.h"
#include "host/screen_context.h"
#include "model/citem.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"
#include "ui_frm_sale_items.h"

namespace vym {

using ui::FlexGrid;
using ui::Q;
using ui::S;

frmSaleItems::frmSaleItems(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmSaleItems>()) {
    ui_->setupUi(this);
    FlexGrid& grid = *ui_->fgItems;
    grid.SetFormatString("Item No|Description");
    grid.SetSelectionMode(FlexGrid::SelectionMode::MultiRow);
    connect(ui_->cmdAdd, &QPushButton::clicked, this, &frmSaleItems::cmdAdd_Click);
    connect(ui_->cmdDelete, &QPushButton::clicked, this, &frmSaleItems::cmdDelete_Click);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmSaleItems::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmSaleItems::~frmSaleItems() = default;

void frmSaleItems::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmSaleItems::Setup(ScreenContext* itemMaint, const std::vector<CSaleItemNo>& itemNos) {
    itemMaint_ = itemMaint;
    itemNos_ = itemNos;
    FlexGrid& grid = *ui_->fgItems;
    grid.Clear();
    for (const CSaleItemNo& item : itemNos) {
        if (!item.ItemNo.empty()) {
            grid.AddItem(Q(item.ItemNo) + "\t" + Q(item.Description));
        }
    }
    grid.AutoSizeColumns();
}

bool frmSaleItems::ItemQualified() const {
    return ui_->fgItems->Rows() > 1;
}

void frmSaleItems::cmdAdd_Click() {
    if (itemMaint_ == nullptr) {
        return;
    }
    std::vector<std::int32_t> picked;
    if (!itemMaint_->SelectItem(ItemTypes::ttoAll, true, nullptr, nullptr, &picked)) {
        return;
    }
    Connection* db = itemMaint_->DBConnection().get();
    for (const std::int32_t itemNo : picked) {
        CItem item;
        if (itemNo != 0 && ui_->fgItems->FindRow(QString::number(itemNo), 0) < 1 &&
            item.OpenItem(db, itemMaint_->ErrorObject(), itemNo)) {
            ui_->fgItems->AddItem(QString::number(itemNo) + "\t" + Q(item.LongDescription));
        }
    }
}

void frmSaleItems::cmdDelete_Click() {
    const QList<int> rows = ui_->fgItems->SelectedRows();
    if (rows.isEmpty() ||
        MsgBox("Are you sure you want to remove the selected item(s)?", kQuestionYesNoDefaultNo,
               "Confirm Item Delete") != MsgResult::Yes) {
        return;
    }
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        ui_->fgItems->RemoveItem(*row);
    }
}

void frmSaleItems::cmdOk_Click() {
    const FlexGrid& grid = *ui_->fgItems;
    itemNos_.clear();
    for (int row = 1; row < grid.Rows(); ++row) {
        itemNos_.push_back({S(grid.TextMatrix(row, 0)), S(grid.TextMatrix(row, 1))});
    }
    if (itemNos_.empty()) {
        itemNos_.emplace_back();
    }
    userCanceled_ = false;
    accept();
}

}  // namespace vym
