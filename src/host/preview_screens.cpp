#include "host/preview_screens.h"

#include "host/screen_context.h"
#include "host/screen_registry.h"
#include "preview/print_job.h"
#include "preview/template_designer.h"
#include "preview/template_preview.h"

namespace vym {
namespace {

constexpr long kShelfLabel = 4;

const QStringList& StockFields() {
    static const QStringList fields = {
        "Stock.Description", "Stock.Stock_Size",   "Stock.Unit_Price",  "Serial.UPC_Code",
        "Stock.Stock_Id",    "Vendor.Vendor_Name", "Stock.Manufacturer"};
    return fields;
}

QByteArray ShelfLabel(const ScreenRequest& request) {
    QString error;
    const auto found = preview::ResolveTemplate(*request.context.DBConnection(), kShelfLabel,
                                                QStringLiteral("2.25X1.25"), QString(), &error);
    return found ? found->content : QByteArray();
}

}  // namespace

void RegisterPreviewScreens(ScreenRegistry& screens) {
    screens.Register("designer", [](const ScreenRequest& request) {
        auto window = std::make_unique<preview::TemplateDesigner>();
        window->RegisterFields(StockFields());
        if (const auto label = preview::ParseTemplate(ShelfLabel(request), nullptr)) {
            window->Load(*label);
            window->Select(0);
        }
        return window;
    });
    screens.Register("label-preview", [](const ScreenRequest& request) {
        auto window = std::make_unique<preview::TemplatePreview>();
        window->RegisterFields(StockFields());
        window->ShowTemplate(ShelfLabel(request));
        window->resize(420, 260);
        return window;
    });
}

}  // namespace vym
