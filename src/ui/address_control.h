#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <utility>
#include <vector>

#include "gateway/error_trap.h"

class QLineEdit;

namespace vym {
class Connection;
class ErrorObject;
}  // namespace vym

namespace vym::ui {

// The suite's address editor. It keeps one address per address type (the
// caller's tabs), shows the one of the current type, and stores addresses in
// the database by number: load one into a type, ask whether anything changed,
// store a new or changed one and get its number back.
class AddressControl : public QWidget {
    Q_OBJECT

  public:
    explicit AddressControl(QWidget* parent = nullptr);

    // Connection and error object are not owned and must outlive the control.
    void SetConnection(Connection* db, ErrorObject* errors);

    // Forgets every address; every type shows empty fields.
    void Clear();
    // Reads the address into the type (and shows it when the type is current).
    bool LoadAddress(const QString& type, std::int32_t addressNo);
    // Shows the type's address for editing.
    void ShowType(const QString& type);
    QString CurrentType() const { return current_; }

    // Whether any type's address is new (typed where there was none) or changed.
    bool Changed() const;
    bool IsNewOrChanged(const QString& type) const;
    // Writes the type's address (adding it when new) and returns its number;
    // 0 when it could not be stored (the error is reported).
    std::int32_t StoreAddress(const QString& type);
    // The stored number of the type's address; 0 for none.
    std::int32_t AddressNo(const QString& type) const;

    struct Address {
        std::int32_t number = 0;
        QStringList fields;  // in the order of kFields
        bool changed = false;
    };
    // The addresses as they stand, to put back when a save that stored some
    // of them is rolled back: numbers the database no longer holds must not
    // be sent again.
    QMap<QString, Address> Addresses() const { return addresses_; }
    void RestoreAddresses(QMap<QString, Address> addresses) { addresses_ = std::move(addresses); }

  signals:
    void AddressChanged();

  private:
    void Edited();
    void ShowFields(const Address& address);

    ErrorTrap trap_{"AddressControl"};
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    std::vector<QLineEdit*> boxes_;
    QMap<QString, Address> addresses_;
    QString current_;
    bool showing_ = false;  // fields being filled, not typed
};

}  // namespace vym::ui
