#include "sales/frm_sale_customer_groups.h"

#include <QKeyEvent>

#include "base/prompter.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "model/xml_document.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"
#include "ui_frm_sale_customer_groups.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::S;

frmSaleCustomerGroups::frmSaleCustomerGroups(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmSaleCustomerGroups>()) {
    ui_->setupUi(this);
    FlexGrid& grid = *ui_->fgGroups;
    grid.SetFormatString("PreviousValue|Required|Group Id|Description");
    grid.SetColumnHidden(kPreviousValue, true);
    grid.SetColumnKind(kRequired, FlexGrid::ColumnKind::CheckBox);
    for (int col = kPreviousValue; col <= kDescription; ++col) {
        grid.SetColumnEditable(col, col == kRequired);
    }
    grid.SetEditable(true);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmSaleCustomerGroups::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmSaleCustomerGroups::~frmSaleCustomerGroups() = default;

void frmSaleCustomerGroups::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmSaleCustomerGroups::Setup(Connection* db, ErrorObject* errors, std::int32_t saleNo) {
    db_ = db;
    errors_ = errors;
    saleNo_ = saleNo;
    FlexGrid& grid = *ui_->fgGroups;
    grid.Clear();
    if (db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        auto command =
            NewProcedure(*db_, "VYM_SP_ITEM_GetSaleCustomerGroups", {{"@sale_no", saleNo}});
        auto rows = db_->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const QString selected = FieldText(*rows, "Selected");
            grid.AddItem(QString());
            const int row = grid.Rows() - 1;
            grid.SetTextMatrix(row, kPreviousValue, selected);
            grid.SetCellChecked(row, kRequired, selected != "0");
            grid.SetTextMatrix(row, kGroupId, FieldText(*rows, "customer_group_id"));
            grid.SetTextMatrix(row, kDescription, FieldText(*rows, "group_desc"));
        }
        grid.AutoSizeColumns();
    });
}

std::optional<std::string> frmSaleCustomerGroups::ChangeDocument() const {
    const FlexGrid& grid = *ui_->fgGroups;
    std::string lines;
    for (int row = 1; row < grid.Rows(); ++row) {
        const bool required = grid.CellChecked(row, kRequired);
        if (required == (grid.TextMatrix(row, kPreviousValue) != "0")) {
            continue;
        }
        const std::string group = XmlEscape(S(grid.TextMatrix(row, kGroupId)));
        lines += "<vym_sale_customer sale_no=\"" + std::to_string(saleNo_) +
                 "\" customer_group_id = \"" + group + "\" action=\"" +
                 (required ? "INSERT" : "DELETE") + "\"/>\r\n";
    }
    if (lines.empty()) {
        return std::nullopt;
    }
    return "<ROOT>\r\n" + lines + "\r\n</ROOT>";
}

bool frmSaleCustomerGroups::SaveData() {
    const FlexGrid& grid = *ui_->fgGroups;
    customerQualified_ = false;
    for (int row = 1; row < grid.Rows(); ++row) {
        customerQualified_ = customerQualified_ || grid.CellChecked(row, kRequired);
    }
    const std::optional<std::string> document = ChangeDocument();
    if (!document) {
        return true;
    }
    bool saved = false;
    trap_.Run(errors_, "SaveData", &db_->Native(), [&] {
        auto command = NewProcedure(
            *db_, "VYM_SP_ITEM_UpdateSaleCustomerGroupsXML",
            {{"@sale_no", saleNo_},
             {"@customer_qualified", static_cast<std::int16_t>(customerQualified_ ? -1 : 0)},
             {"@XMLDoc", *document}});
        if (!db_->Execute(*command)) {
            return;
        }
        if (NullToZero(command->Parameters["@RETURN_VALUE"].Value).ToLong() < 0) {
            MsgBox(NullToEmpty(command->Parameters["@message"].Value), kInformation,
                   "Unable to Update Sale Customer Group(s)");
            return;
        }
        saved = true;
    });
    return saved;
}

void frmSaleCustomerGroups::cmdOk_Click() {
    if (db_ == nullptr || !SaveData()) {
        return;
    }
    userCanceled_ = false;
    accept();
}

}  // namespace vym
