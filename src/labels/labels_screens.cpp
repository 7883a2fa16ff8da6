#include "labels/labels_screens.h"

#include "host/screen_registry.h"
#include "labels/frm_stock_labels.h"

namespace vym {

void RegisterLabelScreens(ScreenRegistry& screens) {
    screens.Register("stock-labels", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmStockLabels>();
        window->Setup(&request.context, {{510, {}}, {511, {}}, {503, {}}});
        return window;
    });
}

}  // namespace vym
