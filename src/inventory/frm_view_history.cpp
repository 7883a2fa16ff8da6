#include "inventory/frm_view_history.h"

#include <QPushButton>
#include <QShortcut>

#include "ui/flex_grid.h"
#include "ui_frm_view_history.h"

namespace vym {

frmViewHistory::frmViewHistory(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmViewHistory>()) {
    ui_->setupUi(this);
    connect(ui_->cmdNext, &QPushButton::clicked, this, &frmViewHistory::cmdNext_Click);
    auto* f7 = new QShortcut(QKeySequence(Qt::Key_F7), this);
    connect(f7, &QShortcut::activated, this, &frmViewHistory::cmdNext_Click);
}

frmViewHistory::~frmViewHistory() = default;

void frmViewHistory::Setup(const QString& format, const QStringList& rows) {
    ui::FlexGrid& grid = *ui_->fgHistory;
    grid.SetFormatString(format);
    grid.BeginBulkLoad();
    for (const QString& row : rows) {
        grid.AddItem(row);
    }
    grid.EndBulkLoad();
    grid.AutoSizeColumns();
    result_ = "CANCEL";
}

void frmViewHistory::cmdNext_Click() {
    result_ = "NEXT";
    accept();
}

}  // namespace vym
