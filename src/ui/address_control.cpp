#include "ui/address_control.h"

#include <QFormLayout>
#include <QLineEdit>
#include <algorithm>

#include "base/value.h"
#include "gateway/connection.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "ui/qt_text.h"

namespace vym::ui {
namespace {

struct FieldInfo {
    const char* column;
    const char* parameter;
    const char* caption;
    const char* box;
};
constexpr FieldInfo kFields[] = {
    {"name", "@name", "Name:", "txtAddressName"},
    {"address1", "@address1", "Address:", "txtAddress1"},
    {"address2", "@address2", "", "txtAddress2"},
    {"city", "@city", "City:", "txtCity"},
    {"state", "@state", "State:", "txtState"},
    {"zip", "@zip", "Zip:", "txtZip"},
    {"country", "@country", "Country:", "txtCountry"},
    {"phone", "@phone", "Phone:", "txtPhone"},
    {"fax", "@fax", "Fax:", "txtFax"},
    {"email", "@email", "E-Mail:", "txtEmail"},
};
constexpr int kFieldCount = static_cast<int>(std::size(kFields));

}  // namespace

AddressControl::AddressControl(QWidget* parent) : QWidget(parent) {
    auto* layout = new QFormLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const FieldInfo& field : kFields) {
        auto* box = new QLineEdit(this);
        box->setObjectName(field.box);
        layout->addRow(field.caption, box);
        boxes_.push_back(box);
        connect(box, &QLineEdit::textEdited, this, &AddressControl::Edited);
    }
}

void AddressControl::SetConnection(Connection* db, ErrorObject* errors) {
    db_ = db;
    errors_ = errors;
}

void AddressControl::Clear() {
    addresses_.clear();
    ShowFields(Address());
}

void AddressControl::ShowFields(const Address& address) {
    showing_ = true;
    for (int i = 0; i < kFieldCount; ++i) {
        boxes_[i]->setText(i < address.fields.size() ? address.fields[i] : QString());
    }
    showing_ = false;
}

void AddressControl::ShowType(const QString& type) {
    current_ = type;
    ShowFields(addresses_.value(type));
}

void AddressControl::Edited() {
    if (showing_ || current_.isEmpty()) {
        return;
    }
    Address& address = addresses_[current_];
    address.fields.clear();
    for (const QLineEdit* box : boxes_) {
        address.fields.append(box->text());
    }
    address.changed = true;
    emit AddressChanged();
}

bool AddressControl::LoadAddress(const QString& type, std::int32_t addressNo) {
    if (db_ == nullptr) {
        return false;
    }
    return trap_.Run(errors_, "LoadAddress", &db_->Native(), [&] {
        auto command = NewProcedure(*db_, "VYM_SP_ITEM_ADDRESS_get", {{"@address_no", addressNo}});
        auto rows = db_->ExecuteRecordset(*command);
        Address address;
        address.number = addressNo;
        if (rows->IsOpen() && !rows->Eof()) {
            for (const FieldInfo& field : kFields) {
                address.fields.append(FieldText(*rows, field.column));
            }
        }
        addresses_[type] = address;
        if (type == current_) {
            ShowFields(address);
        }
    });
}

bool AddressControl::Changed() const {
    for (const QString& type : addresses_.keys()) {
        if (IsNewOrChanged(type)) {
            return true;
        }
    }
    return false;
}

bool AddressControl::IsNewOrChanged(const QString& type) const {
    const auto found = addresses_.constFind(type);
    if (found == addresses_.constEnd() || !found->changed) {
        return false;
    }
    // A type typed into and emptied again is no new address.
    return found->number != 0 ||
           std::any_of(found->fields.begin(), found->fields.end(),
                       [](const QString& text) { return !text.trimmed().isEmpty(); });
}

std::int32_t AddressControl::StoreAddress(const QString& type) {
    if (db_ == nullptr) {
        return 0;
    }
    Address& address = addresses_[type];
    trap_.Run(errors_, "StoreAddress", &db_->Native(), [&] {
        auto command =
            NewProcedure(*db_, "VYM_SP_ITEM_UpdateAddress",
                         {{"@address_no",
                           address.number != 0 ? vym::Value(address.number) : vym::Value::Null()}});
        for (int i = 0; i < kFieldCount; ++i) {
            const QString text =
                i < address.fields.size() ? address.fields[i].trimmed() : QString();
            command->Parameters[kFields[i].parameter].Value = text.toStdString();
        }
        if (db_->Execute(*command) &&
            NullToZero(command->Parameters["@RETURN_VALUE"].Value).ToLong() == 0) {
            address.number = NullToZero(command->Parameters["@address_no"].Value).ToLong();
            address.changed = false;
        }
    });
    return address.changed ? 0 : address.number;
}

std::int32_t AddressControl::AddressNo(const QString& type) const {
    return addresses_.value(type).number;
}

}  // namespace vym::ui
