#include "pricing/season_screens.h"

#include "gateway/app_server.h"
#include "host/citem_maint.h"
#include "host/screen_registry.h"
#include "pricing/frm_seasons.h"

namespace vym {

void RegisterSeasonScreens(ScreenRegistry& screens) {
    screens.Register("seasons", [](const ScreenContext& context) {
        auto window = std::make_unique<frmSeasons>();
        // The service object lives as long as the window it serves.
        auto* maint = new CItemMaint(window.get());
        maint->SetAppServer(&context.server);
        window->Setup(maint);
        return window;
    });
}

}  // namespace vym
