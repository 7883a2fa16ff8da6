#include "sales/frm_special_offer_detail.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/format.h"
#include "base/prompter.h"
#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "gateway/row_version.h"
#include "host/screen_context.h"
#include "sales/frm_special_offer_package.h"
#include "ui/any_combo.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"
#include "ui/show_refusal.h"
#include "ui_frm_special_offer_detail.h"

namespace vym {

using ui::AnyCombo;
using ui::FieldText;
using ui::Q;
using ui::S;

namespace {

QString Money(const Value& amount) {
    return amount.IsNull() ? QString() : Q(Format(amount, "0.0000"));
}

QString Labelled(const QString& text, std::int32_t number) {
    return text + " (" + QString::number(number) + ")";
}

Value NumberOrNull(std::int32_t number) {
    return number != 0 ? Value(number) : Value::Null();
}

Value KeyOrNull(const AnyCombo& combo) {
    return combo.IsAny() ? Value::Null() : Value(S(combo.Key()));
}

Value KeyNumberOrNull(const AnyCombo& combo) {
    return combo.IsAny() ? Value::Null() : Value(combo.Key().toInt());
}

}  // namespace

frmSpecialOfferDetail::frmSpecialOfferDetail(QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::frmSpecialOfferDetail>()) {
    ui_->setupUi(this);
    ui_->cmbLocation->Reset("<Any Location>");
    ui_->cmbItemType->Reset("<Any Type>");
    ui_->cmbStore->Reset("<Any Store>");
    ui_->cmbProductGroup->Reset("<Select A Store>");
    ui_->cmbProduct->Reset("<Select A Store>");
    ui_->cmbProductItem->Reset("<Select A Store>");
    ui_->lblExcludeNote->setVisible(false);

    connect(ui_->cmbStore, &AnyCombo::KeyChanged, this, [this] {
        LoadGroups();
        LoadProducts();
    });
    connect(ui_->cmbProductGroup, &AnyCombo::KeyChanged, this, [this] { LoadProducts(); });
    connect(ui_->cmbProduct, &AnyCombo::KeyChanged, this, [this] { LoadProductItems(); });
    connect(ui_->chkExclude, &QCheckBox::toggled, this, &frmSpecialOfferDetail::chkExclude_Click);
    connect(ui_->cmdItem, &QPushButton::clicked, this, &frmSpecialOfferDetail::cmdItem_Click);
    connect(ui_->cmdPackage, &QPushButton::clicked, this, &frmSpecialOfferDetail::cmdPackage_Click);
    connect(ui_->cmdPrice, &QPushButton::clicked, this, &frmSpecialOfferDetail::cmdPrice_Click);
    connect(ui_->cmdBreakdown, &QPushButton::clicked, this,
            &frmSpecialOfferDetail::cmdBreakdown_Click);
    connect(ui_->cmdClearItem, &QPushButton::clicked, this, [this] { SetItem(0, {}); });
    connect(ui_->cmdClearPackage, &QPushButton::clicked, this, [this] { SetPackage(0, {}); });
    connect(ui_->cmdClearPrice, &QPushButton::clicked, this, [this] { SetPrice(0, {}); });
    connect(ui_->cmdOk, &QPushButton::clicked, this, [this] {
        if (SaveLine()) {
            accept();
        }
    });
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

frmSpecialOfferDetail::~frmSpecialOfferDetail() = default;

void frmSpecialOfferDetail::Setup(ScreenContext* itemMaint, std::int32_t offerNo,
                                  const QString& offerCode, std::int32_t seqNo) {
    itemMaint_ = itemMaint;
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    errors_ = itemMaint != nullptr ? itemMaint->ErrorObject() : nullptr;
    offerNo_ = offerNo;
    seqNo_ = seqNo;
    ui_->lblOffer->setText(Labelled(offerCode, offerNo));
    ui_->lblSeqNo->setText(seqNo != 0 ? QString::number(seqNo) : QString("New"));
    if (db_ == nullptr) {
        return;
    }
    LoadLists();
    if (seqNo != 0) {
        LoadLine();
    }
}

void frmSpecialOfferDetail::LoadLists() {
    trap_.Run(errors_, "LoadLists", &db_->Native(), [&] {
        auto locations = NewProcedure(*db_, "VYM_SP_ITEM_LOCATION_get");
        for (auto rows = db_->ExecuteRecordset(*locations); rows->IsOpen() && !rows->Eof();
             rows->MoveNext()) {
            ui_->cmbLocation->AddEntry(FieldText(*rows, "location_id"),
                                       FieldText(*rows, "Description"));
        }
        auto types = NewProcedure(*db_, "VYM_SP_ITEM_TYPE_get");
        for (auto rows = db_->ExecuteRecordset(*types); rows->IsOpen() && !rows->Eof();
             rows->MoveNext()) {
            ui_->cmbItemType->AddEntry(FieldText(*rows, "item_type"),
                                       FieldText(*rows, "item_type"));
        }
        auto stores = NewProcedure(*db_, "VYM_SP_ITEM_STORE_get");
        for (auto rows = db_->ExecuteRecordset(*stores); rows->IsOpen() && !rows->Eof();
             rows->MoveNext()) {
            const QString no = FieldText(*rows, "store_no");
            ui_->cmbStore->AddEntry(no, FieldText(*rows, "Description") + " (" + no + ")");
        }
    });
}

void frmSpecialOfferDetail::LoadGroups() {
    AnyCombo& groups = *ui_->cmbProductGroup;
    const QSignalBlocker quiet(groups);
    if (ui_->cmbStore->IsAny()) {
        groups.Reset("<Select A Store>");
        return;
    }
    groups.Reset("<Any Product Group>");
    trap_.Run(errors_, "LoadGroups", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_STORE_PRODUCT_GROUP_get",
                                    {{"@store_no", ui_->cmbStore->Key().toInt()}});
        for (auto rows = db_->ExecuteRecordset(*command); rows->IsOpen() && !rows->Eof();
             rows->MoveNext()) {
            const QString no = FieldText(*rows, "product_group_no");
            groups.AddEntry(no, FieldText(*rows, "Description") + " (" + no + ")");
        }
    });
}

void frmSpecialOfferDetail::LoadProducts() {
    AnyCombo& products = *ui_->cmbProduct;
    {
        const QSignalBlocker quiet(products);
        if (ui_->cmbStore->IsAny()) {
            products.Reset("<Select A Store>");
        } else {
            products.Reset("<Any Product>");
            trap_.Run(errors_, "LoadProducts", &db_->Native(), [&] {
                auto command =
                    NewProcedure(*db_, "VYM_SP_ITEM_STORE_PRODUCT_get",
                                 {{"@store_no", ui_->cmbStore->Key().toInt()},
                                  {"@product_group_no", KeyNumberOrNull(*ui_->cmbProductGroup)}});
                for (auto rows = db_->ExecuteRecordset(*command); rows->IsOpen() && !rows->Eof();
                     rows->MoveNext()) {
                    const QString no = FieldText(*rows, "product_no");
                    products.AddEntry(no, FieldText(*rows, "product_name") + " (" + no + ")");
                }
            });
        }
    }
    LoadProductItems();
}

void frmSpecialOfferDetail::LoadProductItems() {
    AnyCombo& items = *ui_->cmbProductItem;
    if (ui_->cmbStore->IsAny()) {
        items.Reset("<Select A Store>");
        return;
    }
    if (ui_->cmbProduct->IsAny()) {
        items.Reset("<Select A Product>");
        return;
    }
    items.Reset("<Any Product Item>");
    trap_.Run(errors_, "LoadProductItems", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_STORE_PRODUCT_ITEM_get",
                                    {{"@store_no", ui_->cmbStore->Key().toInt()},
                                     {"@product_no", ui_->cmbProduct->Key().toInt()}});
        for (auto rows = db_->ExecuteRecordset(*command); rows->IsOpen() && !rows->Eof();
             rows->MoveNext()) {
            const QString item = FieldText(*rows, "item_no");
            const QString what = item.isEmpty() ? "Pkg(" + FieldText(*rows, "package_no") + ")"
                                                : "Item(" + item + ")";
            const QString seq = FieldText(*rows, "seq_no");
            items.AddEntry(seq,
                           what + FieldText(*rows, "product_item_name") + " SeqNo(" + seq + ") ");
        }
    });
}

void frmSpecialOfferDetail::LoadLine() {
    trap_.Run(errors_, "LoadLine", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_SPECIAL_OFFER_DETAIL_get",
                                    {{"@special_offer_no", offerNo_}, {"@seq_no", seqNo_}});
        auto rows = db_->ExecuteRecordset(*command);
        if (!rows->IsOpen() || rows->Eof()) {
            return;
        }
        rowVersion_ = ReadRowVersion(*rows);
        const Value percent = rows->Fields("percentage_discount").Value();
        ui_->txtPercentage->setText(percent.IsNull() ? QString() : Q(Format(percent, "0.0000%")));
        ui_->txtFixed->setText(Money(rows->Fields("fixed_discount").Value()));
        ui_->txtMinAmount->setText(Money(rows->Fields("min_amount").Value()));
        ui_->chkExclude->setChecked(rows->Fields("exclude").Flag());
        ui_->cmbLocation->SetKey(FieldText(*rows, "location_id"));
        ui_->cmbItemType->SetKey(FieldText(*rows, "item_type"));
        ui_->cmbStore->SetKey(FieldText(*rows, "store_no"));
        ui_->cmbProductGroup->SetKey(FieldText(*rows, "product_group_no"));
        ui_->cmbProduct->SetKey(FieldText(*rows, "product_no"));
        ui_->cmbProductItem->SetKey(FieldText(*rows, "product_item_seq_no"));
        if (const std::int32_t item = rows->Fields("item_no").Long()) {
            SetItem(item, FieldText(*rows, "long_description"));
        }
        if (const std::int32_t package = rows->Fields("package_no").Long()) {
            SetPackage(package, FieldText(*rows, "package_description"));
        }
        if (const std::int32_t price = rows->Fields("price_no").Long()) {
            SetPrice(price, Money(rows->Fields("Price").Value()));
        }
    });
}

void frmSpecialOfferDetail::SetItem(std::int32_t itemNo, const QString& text) {
    itemNo_ = itemNo;
    ui_->txtItem->setText(itemNo != 0 ? Labelled(text, itemNo) : QString());
    if (itemNo != 0) {
        SetPackage(0, {});
    }
}

void frmSpecialOfferDetail::SetPackage(std::int32_t packageNo, const QString& text) {
    if (packageNo != packageNo_) {
        // A breakdown belongs to the package it was made for.
        breakdown_.reset();
    }
    packageNo_ = packageNo;
    ui_->txtPackage->setText(packageNo != 0 ? Labelled(text, packageNo) : QString());
    if (packageNo != 0) {
        itemNo_ = 0;
        ui_->txtItem->clear();
    }
}

void frmSpecialOfferDetail::SetPrice(std::int32_t priceNo, const QString& text) {
    priceNo_ = priceNo;
    ui_->txtPrice->setText(priceNo != 0 ? Labelled(text, priceNo) : QString());
}

void frmSpecialOfferDetail::chkExclude_Click() {
    const bool exclude = ui_->chkExclude->isChecked();
    for (QWidget* box :
         {static_cast<QWidget*>(ui_->txtPercentage), static_cast<QWidget*>(ui_->txtFixed),
          static_cast<QWidget*>(ui_->txtMinAmount), static_cast<QWidget*>(ui_->cmdBreakdown)}) {
        box->setEnabled(!exclude);
    }
    ui_->lblExcludeNote->setVisible(exclude);
}

void frmSpecialOfferDetail::cmdItem_Click() {
    std::int32_t itemNo = 0;
    QString description;
    if (itemMaint_ != nullptr && itemMaint_->SelectItem(ttoAll, false, &itemNo, &description) &&
        itemNo != 0) {
        SetItem(itemNo, description);
        SetPrice(0, {});
    }
}

void frmSpecialOfferDetail::cmdPackage_Click() {
    std::int32_t packageNo = 0;
    QString description;
    if (itemMaint_ != nullptr &&
        itemMaint_->SelectItem(ttoPackage, false, &packageNo, &description) && packageNo != 0) {
        SetPackage(packageNo, description);
        SetPrice(0, {});
    }
}

void frmSpecialOfferDetail::cmdPrice_Click() {
    if (itemNo_ == 0 && packageNo_ == 0) {
        MsgBox("You must select an item or a package before you select a price.", kInformation,
               "Select Item or Price");
        return;
    }
    if (const auto price = itemMaint_->SelectPrice(this, itemNo_, packageNo_)) {
        SetPrice(price->priceNo, Money(Value(price->price)));
    }
}

void frmSpecialOfferDetail::cmdBreakdown_Click() {
    if (packageNo_ == 0) {
        MsgBox("You must select a package before you split its fixed discount.", kInformation,
               "Select Package");
        return;
    }
    frmSpecialOfferPackage breakdown(this);
    if (!breakdown.Setup(itemMaint_, packageNo_, offerNo_, seqNo_, breakdown_)) {
        return;
    }
    if (ui::RunModal(breakdown) == QDialog::Accepted) {
        breakdown_ = breakdown.Rows();
    }
}

bool frmSpecialOfferDetail::SaveLine() {
    const bool exclude = ui_->chkExclude->isChecked();
    const auto check = special_offer::CheckDetail(
        {S(ui_->txtPercentage->text().trimmed()), S(ui_->txtFixed->text().trimmed()),
         S(ui_->txtMinAmount->text().trimmed()), exclude});
    if (check.refusal) {
        return ui::ShowRefusal(*check.refusal, *this);
    }
    const special_offer::DetailDiscount& discount = check.discount;
    bool saved = false;
    trap_.Run(errors_, "SaveLine", &db_->Native(), [&] {
        auto command = NewProcedure(
            *db_, "VYM_SP_ITEM_SPECIAL_OFFER_DETAIL_update",
            {{"@special_offer_no", offerNo_},
             {"@seq_no", NumberOrNull(seqNo_)},
             {"@percentage_discount",
              discount.percent != 0.0 ? Value(discount.percent) : Value::Null()},
             {"@fixed_discount",
              discount.fixed != Currency{} ? Value(discount.fixed.ToDouble()) : Value::Null()},
             {"@location_id", KeyOrNull(*ui_->cmbLocation)},
             {"@item_type", KeyOrNull(*ui_->cmbItemType)},
             {"@exclude", std::int16_t(exclude ? -1 : 0)},
             {"@store_no", KeyNumberOrNull(*ui_->cmbStore)},
             {"@product_group_no", KeyNumberOrNull(*ui_->cmbProductGroup)},
             {"@product_no", KeyNumberOrNull(*ui_->cmbProduct)},
             {"@product_item_seq_no", KeyNumberOrNull(*ui_->cmbProductItem)},
             {"@item_no", NumberOrNull(itemNo_)},
             {"@package_no", NumberOrNull(packageNo_)},
             {"@price_no", NumberOrNull(priceNo_)},
             {"@package_xml_package_no", NumberOrNull(packageNo_)},
             {"@min_amount",
              discount.minimum ? Value(discount.minimum->ToDouble()) : Value::Null()}});
        if (breakdown_) {
            const std::string document = special_offer::BreakdownDocument(*breakdown_);
            Parameter& xml = command->Parameters["@package_xml"];
            xml.Value = document;
            xml.Size = static_cast<std::int32_t>(document.size());
        }
        SendRowVersion(command->Parameters, rowVersion_);
        if (!db_->Execute(*command) || conflict_.Refused(command->Parameters)) {
            return;
        }
        if (NullToZero(command->Parameters["@RETURN_VALUE"].Value).ToLong() < 0) {
            MsgBox(NullToEmpty(command->Parameters["@message"].Value), kInformation,
                   "Unable to Update Offer Detail");
            return;
        }
        seqNo_ = NullToZero(command->Parameters["@seq_no"].Value).ToLong();
        rowVersion_ = SavedRowVersion(command->Parameters);
        saved = true;
    });
    if (conflict_.OfferReload()) {
        // What the line no longer names goes; the rest is read again.
        SetItem(0, {});
        SetPackage(0, {});
        SetPrice(0, {});
        breakdown_.reset();
        LoadLine();
    }
    return saved;
}

}  // namespace vym
