#include "host/host_screens.h"

#include "gateway/app_server.h"
#include "host/back_office_window.h"
#include "host/frm_about.h"
#include "host/frm_pick_list.h"
#include "host/frm_symbol.h"
#include "host/screen_registry.h"

namespace vym {

void RegisterHostScreens(ScreenRegistry& screens) {
    screens.Register("main", [](const ScreenContext& context) {
        return std::make_unique<BackOfficeWindow>(context.server, context.plugIns,
                                                  context.databasePath);
    });
    screens.Register("about", [](const ScreenContext&) { return std::make_unique<frmAbout>(); });
    screens.Register("symbol", [](const ScreenContext&) { return std::make_unique<frmSymbol>(); });
    screens.Register("picklist", [](const ScreenContext& context) {
        auto pickList = std::make_unique<frmPickList>();
        const std::unique_ptr<Recordset> users = context.server.DBConnection()->OpenRecordset(
            "SELECT vym_user, name FROM vym_security_user");
        pickList->FillRecordset(*users);
        return pickList;
    });
}

}  // namespace vym
