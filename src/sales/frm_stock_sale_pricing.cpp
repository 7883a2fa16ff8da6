#include "sales/frm_stock_sale_pricing.h"

#include <QLineEdit>
#include <QPushButton>
#include <map>
#include <utility>

#include "base/prompter.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/row_version.h"
#include "gateway/transaction.h"
#include "host/screen_context.h"
#include "model/csale.h"
#include "sales/sale_price_rules.h"
#include "sales/sale_pricing_header.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"
#include "ui/show_refusal.h"
#include "ui_frm_stock_sale_pricing.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::Q;
using ui::S;

namespace {

Currency FieldAmount(Recordset& rows, const char* name) {
    return NullToZero(rows.Fields(name).Value()).ToCurrency();
}

}  // namespace

frmStockSalePricing::frmStockSalePricing(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmStockSalePricing>()) {
    ui_->setupUi(this);
    header_ = std::make_unique<SalePricingHeader>(
        SalePricingHeader::Widgets{ui_->lblSale, ui_->cmbLocation, ui_->dtpStart, ui_->dtpEnd,
                                   ui_->txtPercent, ui_->txtFlat, ui_->txtSalePrice});

    FlexGrid& grid = *ui_->fgStock;
    grid.SetFormatString(">ItemNo|<Description|>Sale|>Original|>Disc|Changed");
    const char* keys[] = {"ItemNo", "Description", "Sale", "Original", "Disc", "Changed"};
    for (int col = kItemNo; col <= kChanged; ++col) {
        grid.SetColumnKey(col, keys[col]);
        grid.SetColumnEditable(col, col == kSale);
    }
    grid.SetColumnFormat(kSale, "0.00");
    grid.SetColumnFormat(kOriginal, "0.00");
    grid.SetColumnFormat(kDisc, "0.00");
    grid.SetColumnHidden(kChanged, true);
    grid.SetSelectionMode(FlexGrid::SelectionMode::MultiRow);
    grid.SetEditable(true);

    connect(&grid, &FlexGrid::ValidateEdit, this, &frmStockSalePricing::fgStock_ValidateEdit);
    connect(&grid, &FlexGrid::AfterEdit, this, &frmStockSalePricing::fgStock_AfterEdit);
    connect(&grid, &FlexGrid::DeleteKeyPressed, this, &frmStockSalePricing::DeleteRows);
    connect(ui_->cmdApplyPercent, &QPushButton::clicked, this,
            &frmStockSalePricing::cmdApplyPercent_Click);
    connect(ui_->cmdApplyFlat, &QPushButton::clicked, this,
            &frmStockSalePricing::cmdApplyFlat_Click);
    connect(ui_->cmdApplyPrice, &QPushButton::clicked, this,
            &frmStockSalePricing::cmdApplyPrice_Click);
    connect(ui_->cmdAdd, &QPushButton::clicked, this, &frmStockSalePricing::cmdAdd_Click);
    connect(ui_->cmdDelete, &QPushButton::clicked, this, &frmStockSalePricing::DeleteRows);
    connect(ui_->txtStock, &QLineEdit::returnPressed, this, &frmStockSalePricing::txtStock_Enter);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmStockSalePricing::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmStockSalePricing::~frmStockSalePricing() = default;

void frmStockSalePricing::Setup(ScreenContext* itemMaint, CSale* sale) {
    if (!screen_.Open(itemMaint, sale, *header_, trap_)) {
        return;
    }
    LoadStock();
}

void frmStockSalePricing::LoadStock() {
    FlexGrid& grid = *ui_->fgStock;
    grid.Clear();
    deleted_.clear();
    priceVersions_.clear();
    trap_.Run(screen_.errors, "Setup", &screen_.db->Native(), [&] {
        auto command = NewProcedure(*screen_.db, "VYM_SP_ITEM_GetItemStockSalePrice",
                                    {{"@sale_no", screen_.sale->SaleNo}});
        auto rows = screen_.db->ExecuteRecordset(*command);
        grid.BeginBulkLoad();
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const std::int32_t item = rows->Fields("item_no").Long();
            priceVersions_[item] = ReadRowVersion(*rows);
            AppendStock(item, FieldText(*rows, "long_description"),
                        FieldAmount(*rows, "unit_price"), FieldAmount(*rows, "OriginalPrice"),
                        FieldAmount(*rows, "discount_percentage"), false);
        }
        grid.EndBulkLoad();
        grid.AutoSizeColumns();
    });
}

void frmStockSalePricing::AppendStock(std::int32_t itemNo, const QString& description,
                                      Currency sale, Currency original, Currency disc,
                                      bool changed) {
    FlexGrid& grid = *ui_->fgStock;
    grid.AddItem(QString());
    const int row = grid.Rows() - 1;
    grid.SetTextMatrix(row, kItemNo, QString::number(itemNo));
    grid.SetTextMatrix(row, kDescription, description);
    grid.SetTextMatrix(row, kSale, AmountText(sale));
    grid.SetTextMatrix(row, kOriginal, AmountText(original));
    grid.SetTextMatrix(row, kDisc, AmountText(disc));
    grid.SetTextMatrix(row, kChanged, changed ? "True" : "False");
    grid.SetRowData(row, itemNo);
}

// An item already on the sale is not added twice: its row is selected.
void frmStockSalePricing::AddItem(std::int32_t itemNo, const QString& description,
                                  Currency original) {
    FlexGrid& grid = *ui_->fgStock;
    if (const int found = grid.FindRow(QString::number(itemNo), kItemNo); found > 0) {
        grid.SetCurrentCell(found, kSale);
        return;
    }
    const auto line = sale_price::AddedItem(original, header_->Percent(), header_->Flat());
    AppendStock(itemNo, description, line.sale, original, line.disc, true);
    std::erase(deleted_, itemNo);
}

template <class Price>
void frmStockSalePricing::ApplyToSelected(Price price) {
    if (screen_.sale == nullptr || !header_->ReadInto(*screen_.sale, *this)) {
        return;
    }
    FlexGrid& grid = *ui_->fgStock;
    for (const int row : grid.SelectedRows()) {
        const sale_price::Line line = price(AmountOf(grid.TextMatrix(row, kOriginal)));
        grid.SetTextMatrix(row, kSale, AmountText(line.sale));
        grid.SetTextMatrix(row, kDisc, AmountText(line.disc));
        grid.SetTextMatrix(row, kChanged, "True");
    }
}

void frmStockSalePricing::cmdApplyPercent_Click() {
    ApplyToSelected([this](Currency original) {
        return sale_price::ApplyPercent(original, header_->Percent());
    });
}

void frmStockSalePricing::cmdApplyFlat_Click() {
    ApplyToSelected(
        [this](Currency original) { return sale_price::ApplyFlat(original, header_->Flat()); });
}

void frmStockSalePricing::cmdApplyPrice_Click() {
    ApplyToSelected(
        [this](Currency original) { return sale_price::ApplyPrice(original, header_->Price()); });
}

void frmStockSalePricing::cmdAdd_Click() {
    if (screen_.context == nullptr || screen_.sale == nullptr ||
        !header_->ReadInto(*screen_.sale, *this)) {
        return;
    }
    std::vector<std::int32_t> picked;
    if (!screen_.context->SelectItem(ItemTypes::ttoStock, true, nullptr, nullptr, &picked)) {
        return;
    }
    for (const std::int32_t itemNo : picked) {
        if (itemNo == 0) {
            continue;
        }
        // An item's own number is always one of its stock ids.
        ui_->txtStock->setText(QString::number(itemNo));
        txtStock_Enter();
    }
    ui_->txtStock->clear();
}

void frmStockSalePricing::txtStock_Enter() {
    const QString stock = ui_->txtStock->text().trimmed();
    if (screen_.db == nullptr || stock.isEmpty() || !header_->ReadInto(*screen_.sale, *this)) {
        return;
    }
    trap_.Run(screen_.errors, "txtStock_KeyPress", &screen_.db->Native(), [&] {
        auto command =
            NewProcedure(*screen_.db, "VYM_SP_ITEM_SearchItemStock", {{"@map_id", S(stock)}});
        auto rows = screen_.db->ExecuteRecordset(*command);
        if (!rows->IsOpen() || rows->Eof()) {
            return;
        }
        AddItem(rows->Fields("item_no").Long(), FieldText(*rows, "long_description"),
                FieldAmount(*rows, "unit_price"));
        ui_->txtStock->clear();
    });
}

void frmStockSalePricing::DeleteRows() {
    FlexGrid& grid = *ui_->fgStock;
    const QList<int> rows = grid.SelectedRows();
    if (rows.isEmpty() || MsgBox("Are you sure you want to delete the selected stock rows?",
                                 kQuestionYesNo, "Confirm Stock Sale Delete") != MsgResult::Yes) {
        return;
    }
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
        deleted_.push_back(grid.TextMatrix(*row, kItemNo).toInt());
        grid.RemoveItem(*row);
    }
}

void frmStockSalePricing::fgStock_ValidateEdit(int, int col, const QString& text, bool& cancel) {
    if (col == kSale && !sale_price::ReadAmount(S(text))) {
        MsgBox("The sale price \"" + S(text) + "\" is not a number.", kInformation,
               "Invalid Sale Price");
        cancel = true;
    }
}

void frmStockSalePricing::fgStock_AfterEdit(int row, int col) {
    FlexGrid& grid = *ui_->fgStock;
    if (col != kSale) {
        return;
    }
    const Currency original = AmountOf(grid.TextMatrix(row, kOriginal));
    const Currency sale = AmountOf(grid.TextMatrix(row, kSale));
    grid.SetTextMatrix(row, kSale, AmountText(sale));
    grid.SetTextMatrix(row, kDisc, AmountText(sale_price::DiscountOf(original, sale)));
    grid.SetTextMatrix(row, kChanged, "True");
}

// Header, changed rows and removed rows in one transaction: a refused row
// leaves the database as it was and the screen as the user left it.
bool frmStockSalePricing::SaveData() {
    FlexGrid& grid = *ui_->fgStock;
    for (int row = 1; row < grid.Rows(); ++row) {
        if (const Verdict refusal = sale_price::CheckSalePrice(
                row, AmountOf(grid.TextMatrix(row, kSale)), "fgStock", kSale)) {
            grid.SetCurrentCell(row, kSale);
            return ui::ShowRefusal(*refusal, *this);
        }
    }
    const std::int32_t version = screen_.sale->RowVersion;
    std::map<std::int32_t, std::int32_t> versions = priceVersions_;
    bool saved = false;
    trap_.Run(screen_.errors, "SaveData", &screen_.db->Native(), [&] {
        Transaction transaction(*screen_.db);
        if (!screen_.sale->Update(screen_.db, screen_.errors) || !SavePrices(versions)) {
            return;
        }
        transaction.Commit();
        saved = true;
    });
    if (saved) {
        priceVersions_ = std::move(versions);
        deleted_.clear();
    } else if (screen_.ReloadAfterConflict(version, conflict_)) {
        Setup(screen_.context, screen_.sale);
    }
    return saved;
}

// The changed rows and the removed ones, each sent with the version of its
// price as read (none for an item new to the sale), which `versions` then
// holds as saved. False at the first refusal, said or kept in conflict_.
bool frmStockSalePricing::SavePrices(std::map<std::int32_t, std::int32_t>& versions) {
    FlexGrid& grid = *ui_->fgStock;
    const auto save = [&](Command& command, std::int32_t itemNo, const char* title) {
        SendRowVersion(command.Parameters, versions.contains(itemNo) ? versions[itemNo] : 0);
        if (!screen_.db->Execute(command) || conflict_.Refused(command.Parameters)) {
            return false;
        }
        const Value returned = command.Parameters["@RETURN_VALUE"].Value;
        if (returned.IsNull() || returned.ToLong() < 0) {
            MsgBox(NullToEmpty(command.Parameters["@message"].Value), kInformation, title);
            return false;
        }
        versions[itemNo] = SavedRowVersion(command.Parameters);
        return true;
    };
    for (int row = 1; row < grid.Rows(); ++row) {
        const std::int32_t itemNo = grid.TextMatrix(row, kItemNo).toInt();
        if (grid.TextMatrix(row, kChanged) == "True" &&
            !save(*NewProcedure(*screen_.db, "VyM_SP_ITEM_STOCK_SALE_update",
                                {{"@sale_no", screen_.sale->SaleNo},
                                 {"@item_no", itemNo},
                                 {"@unit_price", AmountOf(grid.TextMatrix(row, kSale))}}),
                  itemNo, "Error Updating Stock Sale Item")) {
            return false;
        }
    }
    for (const std::int32_t itemNo : deleted_) {
        if (!save(*NewProcedure(*screen_.db, "VyM_SP_ITEM_STOCK_SALE_delete",
                                {{"@sale_no", screen_.sale->SaleNo}, {"@item_no", itemNo}}),
                  itemNo, "Error Deleting Stock Sale Item")) {
            return false;
        }
        versions.erase(itemNo);
    }
    return true;
}

void frmStockSalePricing::cmdOk_Click() {
    if (screen_.db == nullptr || screen_.sale == nullptr ||
        !header_->ReadInto(*screen_.sale, *this) || !SaveData()) {
        return;
    }
    userCanceled_ = false;
    accept();
}

}  // namespace vym
