#include "console/frm_ext_item_unit.h"

#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/recordset.h"
#include "gateway/sql_quote.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"
#include "ui_frm_ext_item_unit.h"

namespace vym {

using ui::FlexGrid;

namespace {

// Adds one row per record from the named fields.
void Fill(FlexGrid& grid, Recordset& rows, std::initializer_list<const char*> fields) {
    grid.Clear();
    for (; !rows.Eof(); rows.MoveNext()) {
        QStringList cells;
        for (const char* field : fields) {
            cells.append(ui::FieldText(rows, field));
        }
        grid.AddItem(cells.join('\t'));
    }
    grid.AutoSizeColumns();
}

QStringList RowCells(const FlexGrid& grid, int row) {
    QStringList cells;
    for (int col = 0; col < grid.Cols(); ++col) {
        cells.append(grid.TextMatrix(row, col));
    }
    return cells;
}

}  // namespace

frmExtItemUnit::frmExtItemUnit(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmExtItemUnit>()) {
    ui_->setupUi(this);
    ui_->fgItems->SetFormatString(
        "<Function|<Catagory|<Description|>Item#|<FunctionId|>Access Rule");
    ui_->fgUnits->SetFormatString("<Unit|>Qty|<Description|<UOM|>Acct Units|>Print Qty");
    connect(ui_->fgItems, &FlexGrid::RowColChange, this, [this](int row, int) { FillUnits(row); });
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmExtItemUnit::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmExtItemUnit::~frmExtItemUnit() = default;

void frmExtItemUnit::Setup(Connection* db, ErrorObject* errors, std::int32_t parentItemNo) {
    db_ = db;
    errors_ = errors;
    cancelled_ = true;
    itemRow_.clear();
    unitRow_.clear();
    if (db_ == nullptr) {
        return;
    }
    trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        auto rows = db_->OpenRecordset(
            "SELECT DISTINCT vym_item.*, vym_function.description as FuncDesc, "
            "vym_catagory.description as CatDesc, vym_item_ticket.access_rule_no"
            " FROM vym_extension"
            " join vym_item on vym_extension.child_item_no = vym_item.item_no"
            " left outer join vym_item_ticket on vym_extension.child_item_no = "
            "vym_item_ticket.item_no"
            " join vym_function on vym_function.function_id = vym_item.function_id"
            " join vym_catagory on vym_catagory.function_id = vym_item.function_id and "
            "vym_catagory.catagory_id = vym_item.catagory_id"
            " WHERE vym_extension.parent_item_no = " +
            std::to_string(parentItemNo));
        Fill(*ui_->fgItems, *rows,
             {"FuncDesc", "CatDesc", "long_description", "item_no", "function_id",
              "access_rule_no"});
    });
    if (ui_->fgItems->Rows() > 1) {
        ui_->fgItems->SetCurrentCell(1, 0);
        FillUnits(1);
    }
}

void frmExtItemUnit::FillUnits(int itemRow) {
    ui_->fgUnits->Clear();
    if (db_ == nullptr || itemRow < 1 || itemRow >= ui_->fgItems->Rows()) {
        return;
    }
    const std::string function = ui_->fgItems->TextMatrix(itemRow, 4).toStdString();
    trap_.Run(errors_, "FillUnits", &db_->Native(), [&] {
        auto rows =
            db_->OpenRecordset("SELECT * FROM vym_unit WHERE function_id = " + SqlQuote(function) +
                               " ORDER BY description");
        Fill(*ui_->fgUnits, *rows,
             {"unit_id", "Qty", "Description", "uom_id", "acct_units", "print_qty"});
    });
}

void frmExtItemUnit::cmdOk_Click() {
    const int item = ui_->fgItems->Row();
    const int unit = ui_->fgUnits->Row();
    if (item < 1 || unit < 1) {
        return;
    }
    itemRow_ = RowCells(*ui_->fgItems, item);
    unitRow_ = RowCells(*ui_->fgUnits, unit);
    cancelled_ = false;
    accept();
}

}  // namespace vym
