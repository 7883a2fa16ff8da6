#include "pricing/frm_bulk_price.h"

#include <QElapsedTimer>
#include <QPointer>
#include <algorithm>

#include "base/format.h"
#include "base/prompter.h"
#include "gateway/command.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "host/screen_context.h"
#include "pricing/price_texts.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"
#include "ui/show_refusal.h"
#include "ui_frm_bulk_price.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::Q;
using ui::S;

namespace {

constexpr char kRefusedStyle[] = "refused";
constexpr char kTitle[] = "Bulk Price Change";
// The first rows show as soon as they are read; after that the preview
// yields to the user every few milliseconds.
constexpr std::size_t kFirstRows = 40;
constexpr int kYieldMs = 30;

// The price's key as the price lists show it: extension, unit, and for stock
// the unit of measure and quantity.
QString UnitText(Recordset& rows) {
    QString unit = FieldText(rows, "unit_id");
    const QString uom = FieldText(rows, "uom_id");
    if (!uom.isEmpty()) {
        unit = uom + " x " + FieldText(rows, "unit_qty");
    }
    const QString extension = FieldText(rows, "extension_description");
    return extension.isEmpty() ? unit : extension + ": " + unit;
}

QString Amount(Currency amount) {
    return Q(Format(Value(amount), "0.0000"));
}

}  // namespace

frmBulkPrice::frmBulkPrice(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmBulkPrice>()) {
    ui_->setupUi(this);
    FlexGrid& grid = *ui_->fgPreview;
    grid.SetFormatString(
        ">Item#|<Description|>Price #|<Season|<Discount|<Unit|<Location|>Qty|>Old Price|"
        ">New Price|<Note");
    grid.SetColumnFormat(8, "0.00");
    grid.SetColumnFormat(9, "0.00");
    grid.DefineRowStyle(kRefusedStyle, QColor(255, 255, 192));
    ui_->cmbSeason->Reset(QStringLiteral("<All>"));
    ui_->prgPreview->setTextVisible(true);
    ui_->cmdApply->setEnabled(false);
    ui_->cmdStop->setEnabled(false);
    connect(ui_->cmdPreview, &QPushButton::clicked, this, &frmBulkPrice::Preview);
    connect(ui_->cmdApply, &QPushButton::clicked, this, &frmBulkPrice::Apply);
    connect(ui_->cmdStop, &QPushButton::clicked, this, [this] { stopRequested_ = true; });
    connect(ui_->cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::rejected, this, [this] { stopRequested_ = true; });
    // A preview stands for the entry it was made from; any change voids it.
    for (QComboBox* combo : {ui_->cmbDepartment, ui_->cmbVendor, ui_->cmbStockType,
                             static_cast<QComboBox*>(ui_->cmbSeason), ui_->cmbRule, ui_->cmbEnding,
                             ui_->cmbRounding}) {
        connect(combo, &QComboBox::currentIndexChanged, this, &frmBulkPrice::Invalidate);
    }
    for (QRadioButton* option :
         {ui_->optSearchResult, ui_->optDepartment, ui_->optVendor, ui_->optStockType}) {
        connect(option, &QRadioButton::toggled, this, &frmBulkPrice::Invalidate);
    }
    connect(ui_->txtChange, &QLineEdit::textChanged, this, &frmBulkPrice::Invalidate);
}

frmBulkPrice::~frmBulkPrice() = default;

bool frmBulkPrice::Setup(ScreenContext* itemMaint, const std::vector<std::int32_t>& vItems) {
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    items_ = vItems;
    ui_->lblSearchResult->setText(vItems.size() == 1 ? QStringLiteral("1 item")
                                                     : QString::number(vItems.size()) + " items");
    ui_->optSearchResult->setEnabled(!vItems.empty());
    (vItems.empty() ? ui_->optDepartment : ui_->optSearchResult)->setChecked(true);
    ui_->txtChange->setFocus();
    if (db_ == nullptr) {
        return false;
    }
    LoadScopes();
    return true;
}

void frmBulkPrice::LoadScopes() {
    trap_.Run(errors_, "Setup", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_BULK_PRICE_scopes");
        auto rows = db_->ExecuteRecordset(*command);
        const struct {
            QComboBox* combo;
            const char* key;
        } lists[] = {{ui_->cmbDepartment, "department_id"},
                     {ui_->cmbVendor, "vendor_id"},
                     {ui_->cmbStockType, "stock_type_id"}};
        for (const auto& list : lists) {
            for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
                list.combo->addItem(FieldText(*rows, "Description"), FieldText(*rows, list.key));
            }
            list.combo->setCurrentIndex(-1);
            rows->NextRecordset();
        }
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            ui_->cmbSeason->AddEntry(FieldText(*rows, "season_no"),
                                     FieldText(*rows, "Description"));
        }
    });
}

BulkPriceEntry frmBulkPrice::Entry() const {
    BulkPriceEntry entry;
    entry.resultItems = items_.size();
    const QComboBox* chosen = nullptr;
    if (ui_->optDepartment->isChecked()) {
        entry.scope = BulkPriceEntry::Scope::Department;
        chosen = ui_->cmbDepartment;
    } else if (ui_->optVendor->isChecked()) {
        entry.scope = BulkPriceEntry::Scope::Vendor;
        chosen = ui_->cmbVendor;
    } else if (ui_->optStockType->isChecked()) {
        entry.scope = BulkPriceEntry::Scope::StockType;
        chosen = ui_->cmbStockType;
    }
    if (chosen != nullptr) {
        entry.scopeId = S(chosen->currentData().toString());
    }
    entry.kind = static_cast<PriceRule::Kind>(ui_->cmbRule->currentIndex());
    entry.change = S(ui_->txtChange->text());
    return entry;
}

// The combos list the rule's kinds, endings and roundings in their order.
PriceRule frmBulkPrice::Rule() const {
    return {static_cast<PriceRule::Kind>(ui_->cmbRule->currentIndex()),
            ParseCurrency(S(ui_->txtChange->text())).value_or(Currency()),
            static_cast<PriceRule::Ending>(ui_->cmbEnding->currentIndex()),
            static_cast<PriceRule::Rounding>(ui_->cmbRounding->currentIndex())};
}

void frmBulkPrice::SetScopeParameters(Command& command) const {
    const BulkPriceEntry entry = Entry();
    using Scope = BulkPriceEntry::Scope;
    if (entry.scope == Scope::SearchResult) {
        std::string list;
        for (std::int32_t item : items_) {
            list += std::to_string(item) + " ";
        }
        command.Parameters["@item_list"].Value = list;
    } else {
        const char* parameter = entry.scope == Scope::Department ? "@department_id"
                                : entry.scope == Scope::Vendor   ? "@vendor_id"
                                                                 : "@stock_type_id";
        command.Parameters[parameter].Value = entry.scopeId;
    }
    command.Parameters["@season_no"].Value = ui::NullIfEmpty(ui_->cmbSeason->Key());
}

void frmBulkPrice::AddPreviewRow(Recordset& rows, const PriceRule& rule) {
    const Currency old = rows.Fields("Price").Value().ToCurrency();
    const Value cost = rows.Fields("landed_cost").Value();
    const PriceChange change =
        ChangePrice(rule, old, cost.IsNull() ? std::nullopt : std::optional(cost.ToCurrency()),
                    rows.Fields("unit_qty").Value().ToLong());
    FlexGrid& grid = *ui_->fgPreview;
    grid.AddRow({FieldText(rows, "item_no"), FieldText(rows, "long_description"),
                 FieldText(rows, "price_no"), price_texts::Season(rows),
                 price_texts::Discount(rows), UnitText(rows), FieldText(rows, "location_id"),
                 FieldText(rows, "unit_qty"), Amount(old),
                 change.Refused() ? QString() : Amount(change.price),
                 change.Refused()      ? Q(change.refusal)
                 : change.price == old ? QStringLiteral("No change")
                                       : QString()});
    if (change.Refused()) {
        grid.SetRowStyle(grid.Rows() - 1, kRefusedStyle);
        ++refused_;
    }
    rows_.push_back({rows.Fields("price_no").Value().ToLong(),
                     rows.Fields("row_version").Value().ToLong(), change.price,
                     !change.Refused() && change.price != old});
}

bool frmBulkPrice::Preview() {
    if (busy_ || db_ == nullptr) {
        return false;
    }
    if (const Verdict refusal = CheckBulkPrice(Entry())) {
        return ui::ShowRefusal(*refusal, *this);
    }
    busy_ = true;
    stopRequested_ = false;
    Invalidate();
    ui_->fgPreview->Clear();
    rows_.clear();
    refused_ = 0;
    LockEntry(true);
    QPointer<frmBulkPrice> self(this);
    const PriceRule rule = Rule();
    bool whole = false;
    trap_.Run(errors_, "Preview", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_BULK_PRICE_preview");
        SetScopeParameters(*command);
        auto rows = db_->ExecuteRecordset(*command);
        if (NullToZero(command->Parameters["@RETURN_VALUE"].Value).ToLong() < 0) {
            MsgBox(NullToEmpty(command->Parameters["@Message"].Value), kInformation, kTitle);
            return;
        }
        ui_->prgPreview->setRange(0,
                                  NullToZero(command->Parameters["@RETURN_VALUE"].Value).ToLong());
        QElapsedTimer sinceYield;
        sinceYield.start();
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            AddPreviewRow(*rows, rule);
            if (rows_.size() == kFirstRows || sinceYield.elapsed() >= kYieldMs) {
                ui_->prgPreview->setValue(static_cast<int>(rows_.size()));
                DoEvents();
                if (!self || stopRequested_) {
                    return;
                }
                sinceYield.restart();
            }
        }
        whole = true;
    });
    if (!self) {
        return false;
    }
    busy_ = false;
    previewed_ = whole;
    ui_->fgPreview->AutoSizeColumns();
    ui_->prgPreview->setValue(static_cast<int>(rows_.size()));
    LockEntry(false);
    ShowSummary();
    return whole;
}

// The entry stays as the preview reads it until the preview ends; only Stop
// and Close answer meanwhile.
void frmBulkPrice::LockEntry(bool locked) {
    ui_->fraItems->setEnabled(!locked);
    ui_->fraChange->setEnabled(!locked);
    ui_->cmdPreview->setEnabled(!locked);
    ui_->cmdStop->setEnabled(locked);
}

void frmBulkPrice::ShowSummary() {
    const auto changing = std::count_if(rows_.begin(), rows_.end(),
                                        [](const PreviewRow& row) { return row.changes; });
    QString text =
        QString::number(changing) + (changing == 1 ? " price changes" : " prices change");
    if (refused_ > 0) {
        text += ", " + QString::number(refused_) + " can not change";
    }
    text += previewed_ ? QStringLiteral(".") : QStringLiteral(" so far: the preview was stopped.");
    ui_->lblSummary->setText(text);
    ui_->cmdApply->setEnabled(previewed_ && changing > 0);
}

void frmBulkPrice::Invalidate() {
    if (previewed_ && !busy_) {
        ui_->lblSummary->setText("The change was edited: preview it again before applying it.");
    }
    previewed_ = false;
    ui_->cmdApply->setEnabled(false);
}

bool frmBulkPrice::Apply() {
    if (!previewed_ || busy_) {
        return false;
    }
    std::string lines;
    int changing = 0;
    for (const PreviewRow& row : rows_) {
        if (row.changes) {
            lines += std::to_string(row.priceNo) + "," + std::to_string(row.version) + "," +
                     Format(Value(row.price), "0.0000") + "\n";
            ++changing;
        }
    }
    std::string question =
        "Change " + std::to_string(changing) + (changing == 1 ? " price?" : " prices?");
    if (refused_ > 0) {
        question += "  " + std::to_string(refused_) +
                    (refused_ == 1 ? " price that can not change stays as it is."
                                   : " prices that can not change stay as they are.");
    }
    if (MsgBox(question, kQuestionYesNoDefaultNo, kTitle) != MsgResult::Yes) {
        return false;
    }
    bool saved = false;
    trap_.Run(errors_, "Apply", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_BULK_PRICE_apply", {{"@prices", lines}});
        if (!db_->Execute(*command)) {
            return;
        }
        if (NullToZero(command->Parameters["@RETURN_VALUE"].Value).ToLong() != 0) {
            MsgBox(NullToEmpty(command->Parameters["@Message"].Value), kExclamation, kTitle);
            return;
        }
        saved = true;
    });
    previewed_ = false;
    ui_->cmdApply->setEnabled(false);
    ui_->lblSummary->setText(saved ? QString::number(changing) +
                                         (changing == 1 ? " price changed." : " prices changed.")
                                   : QStringLiteral("No price was changed."));
    return saved;
}

}  // namespace vym
