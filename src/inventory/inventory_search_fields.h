#pragma once

#include <QString>
#include <string_view>

#include "base/value.h"

class QLineEdit;

namespace vym {

class Connection;

namespace ui {
class DataCombo;
}

// The search fields the stock history and stock location share.

// The locations of `sql` (id, description) after a first row that means any
// location; the box shows descriptions and is bound to the id.
void FillLocationCombo(ui::DataCombo& combo, Connection& db, std::string_view sql);
// Chooses the location (any case), or any location for an empty or unknown id.
void ChooseLocation(ui::DataCombo& combo, const QString& locationId);
// The location for a procedure: Null for any location.
vym::Value LocationOrNull(const ui::DataCombo& combo);

// Item numbers only: the box takes digits up to the largest item number.
void AcceptItemNumbers(QLineEdit& box);
// The item number for a procedure: Null for an empty box.
vym::Value ItemNoOrNull(const QLineEdit& box);

}  // namespace vym
