#include <QApplication>

#include "back_office_app.h"
#include "base/prompter.h"
#include "console/console_screens.h"
#include "editors/editor_screens.h"
#include "host/host_screens.h"
#include "host/plug_in_registry.h"
#include "host/preview_screens.h"
#include "host/screen_registry.h"
#include "inventory/inventory_screens.h"
#include "packages/package_screens.h"
#include "pricing/pricing_screens.h"
#include "pricing/season_screens.h"
#include "reference/reference_screens.h"
#include "sales/sales_screens.h"
#include "templates/template_screens.h"
#include "ui/qt_prompter.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("vym-backoffice");

    vym::ui::QtPrompter prompter;
    vym::SetPrompter(&prompter);

    // Consoles register here as they join the back office.
    vym::PlugInRegistry plugIns;
    vym::ScreenRegistry screens;
    vym::RegisterHostScreens(screens);
    vym::RegisterItemConsole(plugIns, screens);
    vym::RegisterEditorScreens(screens);
    vym::RegisterPackageScreens(screens);
    vym::RegisterInventoryScreens(screens);
    vym::RegisterSeasonScreens(screens);
    vym::RegisterPricingScreens(screens);
    vym::RegisterReferenceScreens(screens);
    vym::RegisterSalesScreens(screens);
    vym::RegisterTemplateScreens(screens);
    vym::RegisterPreviewScreens(screens);

    const int status = vym::BackOfficeApp(plugIns, screens).Run(QApplication::arguments());
    vym::SetPrompter(nullptr);
    return status;
}
