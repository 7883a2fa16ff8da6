#include "console/console_screens.h"

#include <QLineEdit>
#include <QPushButton>

#include "base/value.h"
#include "console/item.h"
#include "gateway/app_server.h"
#include "gateway/connection.h"
#include "gateway/recordset.h"
#include "host/plug_in_registry.h"
#include "host/screen_registry.h"
#include "ui/key_tab_bar.h"

namespace vym {
namespace {

// What the back office does with a plug-in before showing it.
void Bind(VYMInterface& plugIn, AppServer& server) {
    plugIn.implements_SetAppServer(&server);
    plugIn.implements_Setup();
    plugIn.implements_Enable();
}

}  // namespace

void RegisterItemConsole(PlugInRegistry& plugIns, ScreenRegistry& screens) {
    plugIns.Register<Item>();
    screens.Register("console", [](const ScreenRequest& request) {
        auto console = std::make_unique<Item>();
        Bind(*console, request.server);
        console->resize(1100, 560);
        console->findChild<ui::KeyTabBar*>("tabSearch")->SetCurrentKey("STOCK");
        // 199 item numbers from the first stock item: never the 200 matches
        // that would ask before loading, however large the catalogue.
        const std::unique_ptr<Recordset> stock =
            request.server.DBConnection()->OpenRecordset("SELECT min(item_no) FROM vym_item_stock");
        const std::int32_t first = stock->Fields(0).Long();
        console->findChild<QLineEdit*>("txtItemNo")->setText(QString::number(first));
        console->findChild<QLineEdit*>("txtItemNoEnd")->setText(QString::number(first + 198));
        console->findChild<QPushButton*>("cmdFind")->click();
        return console;
    });
}

}  // namespace vym
