#include "inventory/inventory_screens.h"

#include "host/screen_registry.h"
#include "inventory/frm_stock_history.h"
#include "inventory/frm_stock_location.h"
#include "inventory/frm_stock_summary.h"

namespace vym {
namespace {

constexpr std::int32_t kDemoShellJacket = 500;

}  // namespace

void RegisterInventoryScreens(ScreenRegistry& screens) {
    screens.Register("stock-history", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmStockHistory>();
        window->Setup(&request.context, kDemoShellJacket);
        window->SearchStockHistory();
        return window;
    });
    screens.Register("stock-location", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmStockLocation>();
        window->Setup(&request.context);
        window->SearchStockLocation();
        return window;
    });
    screens.Register("stock-summary", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmStockSummary>();
        window->Setup(&request.context);
        return window;
    });
}

}  // namespace vym
