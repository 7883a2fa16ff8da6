#include "pricing/pricing_screens.h"

#include "host/screen_context.h"
#include "host/screen_registry.h"
#include "model/citem.h"
#include "pricing/frm_pricing.h"

namespace vym {
namespace {

constexpr std::int32_t kDemoTicket = 100;

}  // namespace

void RegisterPricingScreens(ScreenRegistry& screens) {
    screens.Register("pricing", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmPricing>();
        auto& item = KeepWith<CItem>(*window);
        item.OpenItem(request.context.DBConnection().get(), request.context.ErrorObject(),
                      kDemoTicket);
        window->Setup(&request.context, &item);
        return window;
    });
}

}  // namespace vym
