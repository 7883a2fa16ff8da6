#include "templates/template_screens.h"

#include "gateway/connection.h"
#include "host/screen_context.h"
#include "host/screen_registry.h"
#include "templates/frm_new_template.h"
#include "templates/frm_templates.h"
#include "ui/key_tree.h"

namespace vym {
namespace {

// The lowest numbered stock label format of the database; 0 when it has none.
std::int32_t FirstStockFormat(Connection& db) {
    auto rows = db.OpenRecordset(
        "SELECT min(format_no) FROM vym_print_format WHERE print_format_type = 'STOCK'");
    return rows->Eof() ? 0 : rows->Fields(0).Long();
}

// The demo's text-only stock label format, numbered when it was added.
std::int32_t BinTagFormat(Connection& db) {
    auto rows = db.OpenRecordset(
        "SELECT format_no FROM vym_print_format WHERE description = 'Bin Tag (Text)'");
    return rows->Eof() ? 0 : rows->Fields(0).Long();
}

}  // namespace

void RegisterTemplateScreens(ScreenRegistry& screens) {
    screens.Register("templates", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmTemplates>();
        window->Setup(&request.context);
        // Opened on the demo's text-only bin tag.
        auto* tree = window->findChild<ui::KeyTree*>("tvwTemplates");
        tree->expandAll();
        tree->SelectKey(QString("STOCK\\%1\\THERMAL\\2.25X1.25\\None\\Template")
                            .arg(BinTagFormat(*request.context.DBConnection())));
        return window;
    });
    screens.Register("new-template", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmNewTemplate>();
        window->Setup(&request.context, FirstStockFormat(*request.context.DBConnection()));
        return window;
    });
}

}  // namespace vym
