#include "sales/frm_special_offer.h"

#include <QGroupBox>
#include <QPushButton>

#include "base/date.h"
#include "base/format.h"
#include "base/prompter.h"
#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/row_version.h"
#include "gateway/transaction.h"
#include "host/screen_context.h"
#include "sales/frm_special_offer_detail.h"
#include "sales/special_offer_rules.h"
#include "ui/flex_grid.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui_frm_special_offer.h"

namespace vym {

using ui::FieldText;
using ui::FlexGrid;
using ui::Q;
using ui::S;

namespace {

constexpr int kOfferNo = 0;
constexpr int kCode = 1;
constexpr int kActive = 2;
constexpr int kStart = 3;
constexpr int kEnd = 4;
constexpr int kDescription = 5;

constexpr int kSeqNo = 0;

// The version a row was read or saved at, kept in its number cell's data.
std::int32_t RowVersionOf(const FlexGrid& grid, int row, int col) {
    return grid.CellData(row, col).toInt();
}

constexpr const char* kShortDate = "mm/dd/yy";

// A deleted offer row stays, hidden, until the next save deletes it. A saved
// offer is written again only when edited since, so that what another station
// saved meanwhile to an offer left alone here neither refuses the save nor
// is written over.
constexpr int kDeletedMark = 1;
constexpr int kEditedMark = 2;

QString ShortDate(const Value& day) {
    return day.IsNull() ? QString() : Q(Format(day, kShortDate));
}

// The date a date cell stands for: the one read or typed, kept whole in the
// cell's data so that a two-digit year is never read back.
Value CellDate(const FlexGrid& grid, int row, int col) {
    const QVariant data = grid.CellData(row, col);
    Date day;
    if (!data.isValid() || !Date::ParseIso(S(data.toString()), day)) {
        return Value::Null();
    }
    return Value(day);
}

void SetCellDate(FlexGrid& grid, int row, int col, const Value& day) {
    grid.SetCellData(row, col, day.IsNull() ? QVariant() : QVariant(Q(day.ToDate().ToIso())));
    grid.SetTextMatrix(row, col, ShortDate(day));
}

QString Labelled(Recordset& rows, const char* text, const char* number) {
    const QString no = FieldText(rows, number);
    return no.isEmpty() ? QString() : FieldText(rows, text) + " (" + no + ")";
}

}  // namespace

frmSpecialOffer::frmSpecialOffer(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmSpecialOffer>()) {
    ui_->setupUi(this);
    FlexGrid& offers = *ui_->fgOffers;
    offers.SetFormatString("Offer No|<Code|IsActive|Start Date|End Date|Description");
    offers.SetColumnKind(kActive, FlexGrid::ColumnKind::CheckBox);
    offers.SetColumnEditable(kOfferNo, false);
    offers.SetEditable(true);
    FlexGrid& details = *ui_->fgDetail;
    details.SetFormatString(
        "^SeqNo|Exclude|Item Type|Min Amount|% Disc|Fixed Disc|Location|Item\\Pkg|Price|Store|"
        "Product Group|Product|Product Item");
    details.SetColumnKind(1, FlexGrid::ColumnKind::CheckBox);
    details.SetColumnFormat(3, "0.0000");
    details.SetColumnFormat(5, "0.0000");

    connect(&offers, &FlexGrid::BeforeEdit, this, &frmSpecialOffer::fgOffers_BeforeEdit);
    connect(&offers, &FlexGrid::ValidateEdit, this, &frmSpecialOffer::fgOffers_ValidateEdit);
    connect(&offers, &FlexGrid::AfterEdit, this, &frmSpecialOffer::fgOffers_AfterEdit);
    connect(&offers, &FlexGrid::RowColChange, this, &frmSpecialOffer::fgOffers_RowColChange);
    connect(&details, &FlexGrid::CellDoubleClicked, this, [this] { EditDetail(); });
    connect(ui_->cmdAdd, &QPushButton::clicked, this, &frmSpecialOffer::AddOffer);
    connect(ui_->cmdDelete, &QPushButton::clicked, this, &frmSpecialOffer::DeleteOffer);
    connect(ui_->cmdApply, &QPushButton::clicked, this, &frmSpecialOffer::cmdApply_Click);
    connect(ui_->cmdOk, &QPushButton::clicked, this, &frmSpecialOffer::cmdOk_Click);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui_->cmdAddDetail, &QPushButton::clicked, this, &frmSpecialOffer::AddDetail);
    connect(ui_->cmdEditDetail, &QPushButton::clicked, this, &frmSpecialOffer::EditDetail);
    connect(ui_->cmdDeleteDetail, &QPushButton::clicked, this, &frmSpecialOffer::DeleteDetail);
}

frmSpecialOffer::~frmSpecialOffer() = default;

void frmSpecialOffer::Setup(ScreenContext* itemMaint) {
    itemMaint_ = itemMaint;
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    if (db_ == nullptr) {
        return;
    }
    LoadOffers();
    if (ui_->fgOffers->Rows() > 1) {
        ui_->fgOffers->SetCurrentCell(1, kCode);
    }
    if (detailsOf_ != ui_->fgOffers->Row()) {
        LoadDetails();
    }
}

void frmSpecialOffer::LoadOffers() {
    FlexGrid& grid = *ui_->fgOffers;
    trap_.Run(errors_, "LoadOffers", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_SPECIAL_OFFER_get");
        auto rows = db_->ExecuteRecordset(*command);
        grid.Clear();
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const bool active = rows->Fields("is_active").Flag();
            grid.AddRow({FieldText(*rows, "special_offer_no"),
                         FieldText(*rows, "special_offer_code"), active ? "-1" : "0", "", "",
                         FieldText(*rows, "Description")});
            const int row = grid.Rows() - 1;
            SetCellDate(grid, row, kStart, rows->Fields("start_date").Value());
            SetCellDate(grid, row, kEnd, rows->Fields("end_date").Value());
            grid.SetCellData(row, kOfferNo, ReadRowVersion(*rows));
        }
    });
    grid.AutoSizeColumns();
}

void frmSpecialOffer::LoadDetails() {
    FlexGrid& offers = *ui_->fgOffers;
    FlexGrid& grid = *ui_->fgDetail;
    grid.Clear();
    detailsOf_ = offers.Row();
    const bool any = detailsOf_ >= 1;
    ui_->fraDetail->setTitle(any ? "Special Offer Detail for " +
                                       offers.TextMatrix(detailsOf_, kCode)
                                 : QString("Special Offer Detail"));
    const std::int32_t offerNo = any ? offers.TextMatrix(detailsOf_, kOfferNo).toInt() : 0;
    if (offerNo == 0) {
        return;
    }
    trap_.Run(errors_, "LoadDetails", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_SPECIAL_OFFER_DETAIL_get",
                                    {{"@special_offer_no", offerNo}});
        auto rows = db_->ExecuteRecordset(*command);
        for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
            const bool exclude = rows->Fields("exclude").Flag();
            const Value percent = rows->Fields("percentage_discount").Value();
            QString item = Labelled(*rows, "long_description", "item_no");
            if (item.isEmpty()) {
                item = Labelled(*rows, "package_description", "package_no");
            }
            const QString priceNo = FieldText(*rows, "price_no");
            grid.AddRow(
                {FieldText(*rows, "seq_no"), exclude ? "-1" : "0", FieldText(*rows, "item_type"),
                 FieldText(*rows, "min_amount"),
                 percent.IsNull() ? QString() : Q(Format(percent, "0.0000%")),
                 FieldText(*rows, "fixed_discount"), FieldText(*rows, "location_description"), item,
                 priceNo.isEmpty()
                     ? QString()
                     : Q(Format(rows->Fields("Price").Value(), "0.0000")) + " (" + priceNo + ")",
                 Labelled(*rows, "store_description", "store_no"),
                 FieldText(*rows, "product_group_description"),
                 Labelled(*rows, "product_name", "product_no"),
                 FieldText(*rows, "product_item_name")});
            grid.SetCellData(grid.Rows() - 1, kSeqNo, ReadRowVersion(*rows));
        }
    });
    grid.AutoSizeColumns();
}

void frmSpecialOffer::AddOffer() {
    FlexGrid& grid = *ui_->fgOffers;
    const Date today = Date::Today();
    grid.AddItem("0\t\t-1\t\t\t<New Offer>", 1);
    SetCellDate(grid, 1, kStart, Value(today));
    SetCellDate(grid, 1, kEnd, Value(special_offer::OneMonthOn(today)));
    // The rows below moved down: the details shown belong to no row now.
    detailsOf_ = -1;
    grid.SetCurrentCell(1, kCode);
    if (detailsOf_ != 1) {
        LoadDetails();
    }
    grid.setFocus();
    grid.EditCell(1, kCode);
}

void frmSpecialOffer::DeleteOffer() {
    FlexGrid& grid = *ui_->fgOffers;
    const int row = grid.Row();
    if (row < 1 || grid.IsRowHidden(row)) {
        return;
    }
    if (MsgBox("Are you sure you want to delete the selected row?", kQuestionYesNoDefaultNo,
               "Confirm Delete Special Offer") != MsgResult::Yes) {
        return;
    }
    grid.SetRowData(row, kDeletedMark);
    grid.SetRowHidden(row, true);
}

void frmSpecialOffer::AddDetail() {
    FlexGrid& offers = *ui_->fgOffers;
    if (offers.Row() < 1) {
        return;
    }
    if (offers.TextMatrix(offers.Row(), kOfferNo).toInt() == 0) {
        MsgBox("You must apply the new special offer first before editing the detail.",
               kInformation, "Add Detail Cancelled");
        return;
    }
    OpenDetail(0);
}

void frmSpecialOffer::EditDetail() {
    FlexGrid& details = *ui_->fgDetail;
    if (details.Row() >= 1) {
        OpenDetail(details.TextMatrix(details.Row(), kSeqNo).toInt());
    }
}

void frmSpecialOffer::OpenDetail(std::int32_t seqNo) {
    FlexGrid& offers = *ui_->fgOffers;
    const int row = offers.Row();
    frmSpecialOfferDetail detail(this);
    detail.Setup(itemMaint_, offers.TextMatrix(row, kOfferNo).toInt(),
                 offers.TextMatrix(row, kCode), seqNo);
    if (ui::RunModal(detail) == QDialog::Accepted) {
        LoadDetails();
    }
}

void frmSpecialOffer::DeleteDetail() {
    FlexGrid& details = *ui_->fgDetail;
    const int row = details.Row();
    if (row < 1 || detailsOf_ < 1) {
        return;
    }
    if (MsgBox("Are you sure you want to delete the selected offer detail?",
               kQuestionYesNoDefaultNo, "Confirm Delete Special Offer Detail") != MsgResult::Yes) {
        return;
    }
    trap_.Run(errors_, "DeleteDetail", &db_->Native(), [&] {
        auto command = NewProcedure(
            *db_, "VYM_SP_ITEM_SPECIAL_OFFER_DETAIL_delete",
            {{"@special_offer_no", ui_->fgOffers->TextMatrix(detailsOf_, kOfferNo).toInt()},
             {"@seq_no", details.TextMatrix(row, kSeqNo).toInt()}});
        SendRowVersion(command->Parameters, RowVersionOf(details, row, kSeqNo));
        if (db_->Execute(*command) && !conflict_.Refused(command->Parameters) &&
            NullToZero(command->Parameters["@RETURN_VALUE"].Value).ToLong() >= 0) {
            details.RemoveItem(row);
        }
    });
    if (conflict_.OfferReload()) {
        LoadDetails();
    }
}

void frmSpecialOffer::fgOffers_BeforeEdit(int row, int col, bool& cancel) {
    cancel = col == kOfferNo || ui_->fgOffers->IsRowHidden(row);
}

void frmSpecialOffer::fgOffers_ValidateEdit(int /*row*/, int col, const QString& text,
                                            bool& cancel) {
    Verdict refusal;
    if (col == kCode || col == kDescription) {
        refusal = special_offer::CheckOfferText(S(text), col == kCode);
    } else if ((col == kStart || col == kEnd) && !text.trimmed().isEmpty()) {
        if (Date day; !Date::Parse(S(text.trimmed()), day)) {
            refusal =
                Refusal{"You must specify a valid date", "InValid Date", "", "", col, kInformation};
        }
    }
    if (refusal) {
        MsgBox(refusal->message, refusal->style, refusal->title);
        cancel = true;
    }
}

void frmSpecialOffer::fgOffers_AfterEdit(int row, int col) {
    FlexGrid& grid = *ui_->fgOffers;
    grid.SetRowData(row, kEditedMark);
    const QString text = grid.TextMatrix(row, col);
    if (col == kDescription) {
        if (const auto cut = special_offer::CutDescription(S(text))) {
            MsgBox("Maximum length of description is 50 characters.", kInformation,
                   "Truncated to 50");
            grid.SetTextMatrix(row, col, Q(*cut));
        }
    } else if (col == kStart || col == kEnd) {
        Date day;
        SetCellDate(grid, row, col,
                    Date::Parse(S(text.trimmed()), day) ? Value(day) : Value::Null());
    } else if (col == kCode && row == detailsOf_) {
        ui_->fraDetail->setTitle("Special Offer Detail for " + text);
    }
}

void frmSpecialOffer::fgOffers_RowColChange(int row, int /*col*/) {
    if (row != detailsOf_) {
        LoadDetails();
    }
}

bool frmSpecialOffer::UpdateOffer(int row, std::int32_t& offerNo, std::int32_t& version) {
    FlexGrid& grid = *ui_->fgOffers;
    auto command =
        NewProcedure(*db_, "VYM_SP_ITEM_SPECIAL_OFFER_update",
                     {{"@special_offer_no", offerNo != 0 ? Value(offerNo) : Value::Null()},
                      {"@special_offer_code", S(grid.TextMatrix(row, kCode))},
                      {"@description", S(grid.TextMatrix(row, kDescription))},
                      {"@is_active", std::int16_t(grid.CellChecked(row, kActive) ? -1 : 0)},
                      {"@start_date", CellDate(grid, row, kStart)},
                      {"@end_date", CellDate(grid, row, kEnd)}});
    SendRowVersion(command->Parameters, offerNo != 0 ? RowVersionOf(grid, row, kOfferNo) : 0);
    if (!db_->Execute(*command) || conflict_.Refused(command->Parameters)) {
        return false;
    }
    if (NullToZero(command->Parameters["@RETURN_VALUE"].Value).ToLong() < 0) {
        grid.SetCurrentCell(row, kCode);
        MsgBox(NullToEmpty(command->Parameters["@message"].Value), kInformation,
               "Error Updating Special Offer");
        return false;
    }
    offerNo = NullToZero(command->Parameters["@special_offer_no"].Value).ToLong();
    version = SavedRowVersion(command->Parameters);
    return true;
}

bool frmSpecialOffer::SaveOffers() {
    if (db_ == nullptr) {
        return false;
    }
    FlexGrid& grid = *ui_->fgOffers;
    // New numbers and versions reach the grid only once everything
    // committed, so that another try after a failure saves the same rows
    // again, at the versions read.
    struct Saved {
        int row;
        std::int32_t offerNo;
        std::int32_t version;
    };
    std::vector<Saved> numbers;
    bool saved = false;
    trap_.Run(errors_, "SaveOffers", &db_->Native(), [&] {
        Transaction transaction(*db_);
        for (int row = 1; row < grid.Rows(); ++row) {
            std::int32_t offerNo = grid.TextMatrix(row, kOfferNo).toInt();
            if (grid.RowData(row).toInt() == kDeletedMark) {
                if (offerNo != 0) {
                    auto command = NewProcedure(*db_, "VYM_SP_ITEM_SPECIAL_OFFER_delete",
                                                {{"@special_offer_no", offerNo}});
                    SendRowVersion(command->Parameters, RowVersionOf(grid, row, kOfferNo));
                    if (!db_->Execute(*command) || conflict_.Refused(command->Parameters)) {
                        return;
                    }
                }
                numbers.push_back({row, 0, 0});
                continue;
            }
            if (offerNo != 0 && grid.RowData(row).toInt() != kEditedMark) {
                continue;
            }
            std::int32_t version = 0;
            if (!UpdateOffer(row, offerNo, version)) {
                return;
            }
            numbers.push_back({row, offerNo, version});
        }
        transaction.Commit();
        saved = true;
    });
    if (!saved) {
        if (conflict_.OfferReload()) {
            Setup(itemMaint_);
        }
        return false;
    }
    for (const auto& [row, offerNo, version] : numbers) {
        grid.SetTextMatrix(row, kOfferNo, QString::number(offerNo));
        grid.SetCellData(row, kOfferNo, version);
        if (grid.RowData(row).toInt() == kEditedMark) {
            grid.SetRowData(row, QVariant());
        }
    }
    for (int row = grid.Rows() - 1; row >= 1; --row) {
        if (grid.RowData(row).toInt() == kDeletedMark) {
            grid.RemoveItem(row);
        }
    }
    LoadDetails();
    return true;
}

void frmSpecialOffer::cmdApply_Click() {
    BusyCursor busy;
    SaveOffers();
}

void frmSpecialOffer::cmdOk_Click() {
    if (SaveOffers()) {
        accept();
    }
}

}  // namespace vym
