#include "pricing/pricing_screens.h"

#include "gateway/app_server.h"
#include "host/citem_maint.h"
#include "host/screen_registry.h"
#include "model/citem.h"
#include "pricing/frm_pricing.h"

namespace vym {
namespace {

constexpr std::int32_t kDemoTicket = 100;

// The item and service object a shown price list works with, owned by the
// window so that they live as long as it does.
class PricingSession : public QObject {
  public:
    explicit PricingSession(QObject* parent) : QObject(parent) {}
    CItemMaint maint;
    CItem item;
};

}  // namespace

void RegisterPricingScreens(ScreenRegistry& screens) {
    screens.Register("pricing", [](const ScreenContext& context) {
        auto window = std::make_unique<frmPricing>();
        auto* session = new PricingSession(window.get());
        session->maint.SetAppServer(&context.server);
        session->item.OpenItem(session->maint.DBConnection().get(), session->maint.ErrorObject(),
                               kDemoTicket);
        window->Setup(&session->maint, &session->item);
        return window;
    });
}

}  // namespace vym
