#include "sales/sales_screens.h"

#include "host/screen_context.h"
#include "host/screen_registry.h"
#include "model/csale.h"
#include "sales/frm_dept_sale_pricing.h"
#include "sales/frm_new_sale.h"
#include "sales/frm_sale_customer_groups.h"
#include "sales/frm_sale_items.h"
#include "sales/frm_special_offer.h"
#include "sales/frm_special_offer_detail.h"
#include "sales/frm_special_offer_package.h"
#include "sales/frm_stock_sale_pricing.h"
#include "sales/frm_stock_sales.h"

namespace vym {
namespace {

constexpr std::int32_t kDemoItemSale = 1;
constexpr std::int32_t kDemoQualifiedSale = 2;
constexpr std::int32_t kDemoDeptSale = 3;
constexpr std::int32_t kDemoOffer = 1;
constexpr std::int32_t kDemoPackageLine = 5;
constexpr std::int32_t kDemoPackage = 1;

CSale& OpenDemoSale(QObject& window, const ScreenRequest& request, std::int32_t saleNo) {
    auto& sale = KeepWith<CSale>(window);
    sale.OpenSale(request.context.DBConnection().get(), request.context.ErrorObject(), saleNo);
    return sale;
}

}  // namespace

void RegisterSalesScreens(ScreenRegistry& screens) {
    screens.Register("stock-sales", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmStockSales>();
        window->Setup(&request.context);
        return window;
    });
    screens.Register("new-sale", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmNewSale>();
        auto& sale = KeepWith<CSale>(*window);
        sale.SaleType = "StockNo";
        window->Setup(request.context.DBConnection().get(), request.context.ErrorObject(), &sale);
        return window;
    });
    screens.Register("stock-sale-pricing", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmStockSalePricing>();
        window->Setup(&request.context, &OpenDemoSale(*window, request, kDemoItemSale));
        return window;
    });
    screens.Register("department-sale-pricing", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmDeptSalePricing>();
        window->Setup(&request.context, &OpenDemoSale(*window, request, kDemoDeptSale));
        return window;
    });
    screens.Register("sale-item-nos", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmSaleItems>();
        CSale& sale = OpenDemoSale(*window, request, kDemoQualifiedSale);
        window->Setup(&request.context, sale.GetSaleItems(request.context.DBConnection().get(),
                                                          request.context.ErrorObject()));
        return window;
    });
    screens.Register("sale-customer-groups", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmSaleCustomerGroups>();
        window->Setup(request.context.DBConnection().get(), request.context.ErrorObject(),
                      kDemoItemSale);
        return window;
    });
    screens.Register("special-offers", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmSpecialOffer>();
        window->Setup(&request.context);
        return window;
    });
    screens.Register("special-offer-detail", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmSpecialOfferDetail>();
        window->Setup(&request.context, kDemoOffer, "WINTER10", kDemoPackageLine);
        return window;
    });
    screens.Register("special-offer-package-breakdown", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmSpecialOfferPackage>();
        window->Setup(&request.context, kDemoPackage, kDemoOffer, kDemoPackageLine, std::nullopt);
        return window;
    });
}

}  // namespace vym
