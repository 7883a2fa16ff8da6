#include "host/host_screens.h"

#include "gateway/app_server.h"
#include "host/back_office_window.h"
#include "host/frm_about.h"
#include "host/frm_pick_list.h"
#include "host/frm_symbol.h"
#include "host/screen_registry.h"

namespace vym {

void RegisterHostScreens(ScreenRegistry& screens) {
    screens.Register("main", [](const ScreenRequest& request) {
        return std::make_unique<BackOfficeWindow>(request.server, request.plugIns,
                                                  request.databasePath);
    });
    screens.Register("about", [](const ScreenRequest&) { return std::make_unique<frmAbout>(); });
    screens.Register("symbol", [](const ScreenRequest&) { return std::make_unique<frmSymbol>(); });
    screens.Register("picklist", [](const ScreenRequest& request) {
        auto pickList = std::make_unique<frmPickList>();
        const std::unique_ptr<Recordset> users = request.server.DBConnection()->OpenRecordset(
            "SELECT vym_user, name FROM vym_security_user");
        pickList->FillRecordset(*users);
        return pickList;
    });
}

}  // namespace vym
