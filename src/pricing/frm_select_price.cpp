#include "pricing/frm_select_price.h"

#include "base/format.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "host/screen_context.h"
#include "model/record_fields.h"
#include "pricing/price_texts.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"
#include "ui_frm_select_price.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::S;

namespace {

constexpr int kPriceNo = 0;
constexpr int kUnitQty = 4;
constexpr int kPrice = 6;

}  // namespace

frmSelectPrice::frmSelectPrice(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmSelectPrice>()) {
    ui_->setupUi(this);
    FlexGrid& grid = *ui_->fgPrices;
    grid.SetFormatString("Price #|Season|Discount|Unit|UnitQty|Unit Price|Price");
    grid.SetColumnFormat(5, "0.0000");
    grid.SetColumnFormat(kPrice, "0.0000");
    connect(&grid, &FlexGrid::CellDoubleClicked, this, [this](int row, int) { Choose(row); });
    connect(ui_->cmdOk, &QPushButton::clicked, this, [this] { Choose(ui_->fgPrices->Row()); });
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmSelectPrice::~frmSelectPrice() = default;

bool frmSelectPrice::Setup(ScreenContext* itemMaint, std::int32_t lItemNo,
                           std::int32_t lPackageNo) {
    Connection* db = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    if (db == nullptr) {
        return false;
    }
    FlexGrid& grid = *ui_->fgPrices;
    return trap_.Run(itemMaint->ErrorObject(), "Setup", &db->Native(), [&] {
        auto command = NewProcedure(*db, "VYM_SP_ITEM_PRICE_get",
                                    {{"@item_no", fields::NullIfZero(lItemNo)},
                                     {"@package_no", fields::NullIfZero(lPackageNo)}});
        auto rows = db->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            grid.AddRow({FieldText(*rows, "price_no"), price_texts::Season(*rows),
                         price_texts::Discount(*rows), FieldText(*rows, "unit_id"),
                         FieldText(*rows, "unit_qty"), FieldText(*rows, "unit_price"),
                         FieldText(*rows, "Price")});
        }
        if (grid.Rows() > 1) {
            grid.SetCurrentCell(1, kPriceNo);
        }
        grid.AutoSizeColumns();
    });
}

void frmSelectPrice::Choose(int row) {
    FlexGrid& grid = *ui_->fgPrices;
    if (row < 1 || row >= grid.Rows()) {
        return;
    }
    priceNo_ = grid.TextMatrix(row, kPriceNo).toInt();
    price_ = ParseCurrency(S(grid.TextMatrix(row, kPrice))).value_or(Currency());
    unitQty_ = grid.TextMatrix(row, kUnitQty).toInt();
    cancelled_ = false;
    accept();
}

}  // namespace vym
