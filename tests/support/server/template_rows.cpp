#include "support/server/template_rows.h"

#include "support/server/back_office.h"

namespace vym::test {

void AddTemplateTestRows(BackOffice& office) {
    office.Sql(
        "INSERT INTO vym_printer_type (printer_type_id, description) "
        "VALUES ('TP', 'Test Printer')");
    office.Sql(
        "INSERT INTO vym_printer_type_page_size (printer_type_id, page_size_id, "
        "description, width_mm, height_mm) VALUES ('TP', 'P1', 'Small', 50, 30), "
        "('TP', 'P2', 'Large', 100, 60)");
    office.Sql(
        "INSERT INTO vym_customer_level (customer_level_id, description) "
        "VALUES ('TGOLD', 'Test Gold')");
    office.Sql(
        "INSERT INTO vym_print_format (format_no, description, print_format_type) "
        "VALUES (90, 'zz Tag', 'STOCK'), (91, 'zz Bare', 'STOCK')");
}

}  // namespace vym::test
