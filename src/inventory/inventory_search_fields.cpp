#include "inventory/inventory_search_fields.h"

#include <QIntValidator>
#include <QLineEdit>
#include <limits>
#include <memory>

#include "gateway/connection.h"
#include "gateway/recordset.h"
#include "ui/data_combo.h"
#include "ui/qt_text.h"

namespace vym {

void FillLocationCombo(ui::DataCombo& combo, Connection& db, std::string_view sql) {
    combo.SetColumns({"Type", "Description"});
    combo.SetBoundColumn(0);
    combo.SetListColumn(1);
    combo.AddRow({QString(), "<Any Location>"});
    const std::unique_ptr<Recordset> rows = db.OpenRecordset(sql);
    for (; rows->IsOpen() && !rows->Eof(); rows->MoveNext()) {
        combo.AddRow({ui::FieldText(*rows, 0), ui::FieldText(*rows, 1)});
    }
    combo.setCurrentIndex(0);
}

void ChooseLocation(ui::DataCombo& combo, const QString& locationId) {
    // Location ids match without regard to case, as the database compares them.
    for (int row = 1; !locationId.isEmpty() && row < combo.RowCount(); ++row) {
        if (combo.CellAt(row, 0).compare(locationId, Qt::CaseInsensitive) == 0) {
            combo.setCurrentIndex(row);
            return;
        }
    }
    combo.setCurrentIndex(combo.RowCount() > 0 ? 0 : -1);
}

vym::Value LocationOrNull(const ui::DataCombo& combo) {
    return ui::NullIfEmpty(combo.Key());
}

void AcceptItemNumbers(QLineEdit& box) {
    box.setValidator(new QIntValidator(0, std::numeric_limits<std::int32_t>::max(), &box));
}

vym::Value ItemNoOrNull(const QLineEdit& box) {
    bool number = false;
    const std::int32_t itemNo = box.text().trimmed().toInt(&number);
    return number ? vym::Value(itemNo) : vym::Value::Null();
}

}  // namespace vym
