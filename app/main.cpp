#include <QApplication>
#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string_view>

#include "back_office_app.h"
#include "base/prompter.h"
#include "console/console_screens.h"
#include "editors/editor_screens.h"
#include "host/host_screens.h"
#include "host/plug_in_registry.h"
#include "host/preview_screens.h"
#include "host/screen_registry.h"
#include "inventory/inventory_screens.h"
#include "labels/labels_screens.h"
#include "packages/package_screens.h"
#include "pricing/pricing_screens.h"
#include "pricing/season_screens.h"
#include "reference/reference_screens.h"
#include "sales/sales_screens.h"
#include "serials/serial_screens.h"
#include "templates/template_screens.h"
#include "ui/qt_prompter.h"

int main(int argc, char* argv[]) {
    const auto given = [&](std::initializer_list<std::string_view> names) {
        return std::any_of(argv + 1, argv + argc, [&](std::string_view arg) {
            return std::find(names.begin(), names.end(), arg) != names.end();
        });
    };
    // --help and --version answer on a terminal without a display.
    const bool textOnly = given({"--help", "-h", "--version"});
    // A screenshot needs no display: without one, draw off screen.
    if (given({"--screenshot", "-screenshot"}) && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const std::unique_ptr<QCoreApplication> application =
        textOnly ? std::make_unique<QCoreApplication>(argc, argv)
                 : std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName("vym-backoffice");

    vym::ui::QtPrompter prompter;
    vym::SetPrompter(&prompter);

    // Consoles register here as they join the back office.
    vym::PlugInRegistry plugIns;
    vym::ScreenRegistry screens;
    vym::RegisterHostScreens(screens);
    vym::RegisterItemConsole(plugIns, screens);
    vym::RegisterSerialScreens(plugIns, screens);
    vym::RegisterEditorScreens(screens);
    vym::RegisterPackageScreens(screens);
    vym::RegisterInventoryScreens(screens);
    vym::RegisterLabelScreens(screens);
    vym::RegisterSeasonScreens(screens);
    vym::RegisterPricingScreens(screens);
    vym::RegisterReferenceScreens(screens);
    vym::RegisterSalesScreens(screens);
    vym::RegisterTemplateScreens(screens);
    vym::RegisterPreviewScreens(screens);

    const int status = vym::BackOfficeApp(plugIns, screens).Run(QCoreApplication::arguments());
    vym::SetPrompter(nullptr);
    return status;
}
