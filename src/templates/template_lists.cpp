#include "templates/template_lists.h"

#include "gateway/connection.h"
#include "ui/data_combo.h"
#include "ui/qt_text.h"

namespace vym {

using ui::FieldText;

namespace {

void Prepare(ui::DataCombo& list) {
    list.SetColumns({"Key", "Description"});
    list.SetBoundColumn(0);
    list.SetListColumn(1);
    list.SetListColumnHidden(0, true);
}

void FillPrinterPages(Connection& db, ui::DataCombo& list) {
    Prepare(list);
    auto rows = db.OpenRecordset(
        "SELECT {fn CONCAT({fn CONCAT(vym_printer_type.printer_type_id, ':')}, "
        "vym_printer_type_page_size.page_size_id)} as ID"
        ", {fn CONCAT({fn CONCAT(vym_printer_type.description, ':')}, "
        "vym_printer_type_page_size.description)} as PrinterPage"
        " FROM vym_printer_type, vym_printer_type_page_size"
        " WHERE vym_printer_type.printer_type_id = vym_printer_type_page_size.printer_type_id"
        " ORDER BY vym_printer_type.description, vym_printer_type_page_size.description");
    for (; !rows->Eof(); rows->MoveNext()) {
        list.AddRow({FieldText(*rows, "ID"), FieldText(*rows, "PrinterPage")});
    }
    list.setCurrentIndex(-1);
}

void FillCustomerLevels(Connection& db, ui::DataCombo& list) {
    Prepare(list);
    list.AddRow({"None", "None"});
    auto rows = db.OpenRecordset("SELECT * FROM vym_customer_level");
    for (; !rows->Eof(); rows->MoveNext()) {
        list.AddRow({FieldText(*rows, "customer_level_id"), FieldText(*rows, "description")});
    }
    list.setCurrentIndex(-1);
}

void FillTemplateTypes(ui::DataCombo& list) {
    Prepare(list);
    list.AddRow({"CUSTOM", "Custom Template - Text Only"});
    list.AddRow({"TEMPLATE", "General Template - Graphical"});
    list.setCurrentIndex(-1);
}

}  // namespace

void FillTemplateLists(Connection& db, ui::DataCombo& printerPages, ui::DataCombo& customerLevels,
                       ui::DataCombo& templateTypes) {
    FillPrinterPages(db, printerPages);
    FillCustomerLevels(db, customerLevels);
    FillTemplateTypes(templateTypes);
}

}  // namespace vym
