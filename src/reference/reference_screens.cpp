#include "reference/reference_screens.h"

#include "host/screen_registry.h"
#include "reference/frm_profiles.h"
#include "reference/frm_support_tables.h"

namespace vym {
namespace {

template <class Screen>
std::unique_ptr<QWidget> OpenScreen(const ScreenRequest& request) {
    auto screen = std::make_unique<Screen>();
    screen->Setup(&request.context);
    return screen;
}

}  // namespace

void RegisterReferenceScreens(ScreenRegistry& screens) {
    screens.Register("support-tables", OpenScreen<frmSupportTables>);
    screens.Register("profiles", OpenScreen<frmProfiles>);
}

}  // namespace vym
