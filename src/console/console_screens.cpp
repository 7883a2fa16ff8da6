#include "console/console_screens.h"

#include <QLineEdit>
#include <QPushButton>

#include "console/item.h"
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
        console->findChild<QLineEdit*>("txtItemNo")->setText("1");
        console->findChild<QLineEdit*>("txtItemNoEnd")->setText("99999");
        console->findChild<QPushButton*>("cmdFind")->click();
        return console;
    });
}

}  // namespace vym
