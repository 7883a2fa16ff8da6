#include "pricing/pricing_screens.h"

#include <QLineEdit>

#include "host/screen_context.h"
#include "host/screen_registry.h"
#include "model/citem.h"
#include "pricing/frm_bulk_price.h"
#include "pricing/frm_edit_prices.h"
#include "pricing/frm_price_history.h"
#include "pricing/frm_pricing.h"
#include "pricing/frm_prompt_uom.h"
#include "pricing/frm_select_price.h"
#include "pricing/frm_stock_price_prop.h"
#include "pricing/frm_stock_pricing.h"

namespace vym {
namespace {

constexpr std::int32_t kDemoTicket = 100;
constexpr std::int32_t kDemoGloves = 510;

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
    screens.Register("price-history", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmPriceHistory>();
        CItem item;
        item.OpenItem(request.context.DBConnection().get(), request.context.ErrorObject(),
                      kDemoGloves);
        window->Setup(&request.context, kDemoGloves, 0,
                      QString::fromStdString(item.LongDescription));
        return window;
    });
    screens.Register("stock-pricing", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmStockPricing>();
        auto& item = KeepWith<CItem>(*window);
        item.OpenItem(request.context.DBConnection().get(), request.context.ErrorObject(),
                      kDemoGloves);
        window->Setup(&request.context, &item);
        return window;
    });
    screens.Register("stock-price-properties", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmStockPriceProp>();
        window->ItemNo = kDemoGloves;
        window->StockDescription = "Ski Gloves,GLOVE,Black,L";
        window->LocationId = "BASE";
        window->LocationDescription = "Base Lodge Shop";
        window->UnitQty = 1;
        window->UomId = "PR";
        window->Setup(&request.context);
        return window;
    });
    screens.Register("prompt-uom", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmPromptUOM>();
        window->LoadUOM(request.context.DBConnection().get(), request.context.ErrorObject());
        return window;
    });
    screens.Register("edit-prices", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmEditPrices>();
        if (window->Setup(&request.context)) {
            window->LoadPrices();
        }
        return window;
    });
    screens.Register("bulk-price-change", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmBulkPrice>();
        window->Setup(&request.context, {100, 500, 501, 502, 503, 510, 511});
        window->findChild<QLineEdit*>("txtChange")->setText("10");
        window->Preview();
        return window;
    });
    screens.Register("select-price", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmSelectPrice>();
        window->Setup(&request.context, kDemoTicket, 0);
        return window;
    });
}

}  // namespace vym
