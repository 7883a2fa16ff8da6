#include "pricing/season_screens.h"

#include "host/screen_registry.h"
#include "pricing/frm_seasons.h"

namespace vym {

void RegisterSeasonScreens(ScreenRegistry& screens) {
    screens.Register("seasons", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmSeasons>();
        window->Setup(&request.context);
        return window;
    });
}

}  // namespace vym
