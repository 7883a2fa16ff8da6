#include "sales/frm_special_offer_package.h"

#include <QLabel>
#include <QPushButton>

#include "base/format.h"
#include "base/prompter.h"
#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "host/screen_context.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"
#include "ui_frm_special_offer_package.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::Q;
using ui::S;

namespace {

constexpr int kItemNo = 0;
constexpr int kQty = 2;
constexpr int kEach = 3;

}  // namespace

frmSpecialOfferPackage::frmSpecialOfferPackage(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmSpecialOfferPackage>()) {
    ui_->setupUi(this);
    FlexGrid& grid = *ui_->fgPackage;
    grid.SetFormatString("ItemNo|Description|Qty|Fixed Discount\\Each");
    for (int col = 0; col < kEach; ++col) {
        grid.SetColumnEditable(col, false);
    }
    grid.SetEditable(true);
    connect(&grid, &FlexGrid::ValidateEdit, this, [](int, int, const QString& text, bool& cancel) {
        if (!special_offer::BreakdownAmount(S(text.trimmed()))) {
            MsgBox("You must enter a valid Fixed Discount.", kInformation,
                   "Valid Discount Required");
            cancel = true;
        }
    });
    connect(&grid, &FlexGrid::AfterEdit, this, [this] { ShowTotal(); });
    connect(ui_->cmdOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmSpecialOfferPackage::~frmSpecialOfferPackage() = default;

bool frmSpecialOfferPackage::Setup(
    ScreenContext* itemMaint, std::int32_t packageNo, std::int32_t offerNo, std::int32_t seqNo,
    const std::optional<std::vector<special_offer::BreakdownRow>>& edited) {
    Connection* db = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    if (db == nullptr) {
        return false;
    }
    FlexGrid& grid = *ui_->fgPackage;
    const bool read = trap_.Run(itemMaint->ErrorObject(), "Setup", &db->Native(), [&] {
        auto command = NewProcedure(
            *db, "VYM_SP_ITEM_SPECIAL_OFFER_DETAIL_PACKAGE_get",
            {{"@package_no", packageNo}, {"@special_offer_no", offerNo}, {"@seq_no", seqNo}});
        auto rows = db->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            grid.AddRow({FieldText(*rows, "item_no"), FieldText(*rows, "Description"),
                         FieldText(*rows, "Qty"),
                         Q(Format(NullToZero(rows->Fields("fixed_discount").Value()), "0.00"))});
        }
    });
    if (edited) {
        for (const special_offer::BreakdownRow& row : *edited) {
            const int at = grid.FindRow(QString::number(row.itemNo), kItemNo);
            if (at >= 1) {
                grid.SetTextMatrix(at, kEach, Q(row.each));
            }
        }
    }
    grid.AutoSizeColumns();
    ShowTotal();
    return read;
}

std::vector<special_offer::BreakdownRow> frmSpecialOfferPackage::Rows() const {
    const FlexGrid& grid = *ui_->fgPackage;
    std::vector<special_offer::BreakdownRow> rows;
    for (int row = 1; row < grid.Rows(); ++row) {
        rows.push_back({grid.TextMatrix(row, kItemNo).toInt(), grid.TextMatrix(row, kQty).toInt(),
                        S(grid.TextMatrix(row, kEach).trimmed())});
    }
    return rows;
}

void frmSpecialOfferPackage::ShowTotal() {
    const auto total = special_offer::BreakdownTotal(Rows());
    ui_->lblTotal->setText("Total Fixed Discount: " +
                           Q(Format(Value(total.value_or(Currency{})), "0.00")));
}

}  // namespace vym
