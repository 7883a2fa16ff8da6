#include "inventory/inventory_screens.h"

#include "gateway/app_server.h"
#include "host/citem_maint.h"
#include "host/screen_registry.h"
#include "inventory/frm_stock_history.h"
#include "inventory/frm_stock_location.h"
#include "inventory/frm_stock_summary.h"

namespace vym {
namespace {

constexpr std::int32_t kDemoShellJacket = 500;

// A service object owned by the screen's window, so that it lives as long as
// the window does.
CItemMaint* MaintFor(QWidget& window, AppServer& server) {
    auto* maint = new CItemMaint(&window);
    maint->SetAppServer(&server);
    return maint;
}

}  // namespace

void RegisterInventoryScreens(ScreenRegistry& screens) {
    screens.Register("stock-history", [](const ScreenContext& context) {
        auto window = std::make_unique<frmStockHistory>();
        window->Setup(MaintFor(*window, context.server), kDemoShellJacket);
        window->SearchStockHistory();
        return window;
    });
    screens.Register("stock-location", [](const ScreenContext& context) {
        auto window = std::make_unique<frmStockLocation>();
        window->Setup(MaintFor(*window, context.server));
        window->SearchStockLocation();
        return window;
    });
    screens.Register("stock-summary", [](const ScreenContext& context) {
        auto window = std::make_unique<frmStockSummary>();
        window->Setup(MaintFor(*window, context.server));
        return window;
    });
}

}  // namespace vym
