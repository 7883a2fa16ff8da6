#include "reference/reference_screens.h"

#include "gateway/app_server.h"
#include "host/citem_maint.h"
#include "host/screen_registry.h"
#include "reference/frm_profiles.h"
#include "reference/frm_support_tables.h"

namespace vym {
namespace {

// The service object a shown screen works with, owned by the screen's window
// so that it lives as long as the window does.
class ReferenceSession : public QObject {
  public:
    explicit ReferenceSession(QObject* parent) : QObject(parent) {}
    CItemMaint maint;
};

template <class Screen>
std::unique_ptr<QWidget> OpenScreen(AppServer& server) {
    auto screen = std::make_unique<Screen>();
    auto* session = new ReferenceSession(screen.get());
    session->maint.SetAppServer(&server);
    screen->Setup(&session->maint);
    return screen;
}

}  // namespace

void RegisterReferenceScreens(ScreenRegistry& screens) {
    screens.Register("support-tables", [](const ScreenContext& context) {
        return OpenScreen<frmSupportTables>(context.server);
    });
    screens.Register("profiles", [](const ScreenContext& context) {
        return OpenScreen<frmProfiles>(context.server);
    });
}

}  // namespace vym
