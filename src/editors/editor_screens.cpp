#include "editors/editor_screens.h"

#include "editors/frm_item.h"
#include "editors/frm_stock.h"
#include "editors/frm_stock_matrix.h"
#include "host/screen_context.h"
#include "host/screen_registry.h"
#include "model/citem.h"

namespace vym {
namespace {

constexpr std::int32_t kDemoTicket = 100;
constexpr std::int32_t kDemoRentalSkis = 600;
constexpr std::int32_t kDemoOpenOrder = 1005;

template <class Editor>
std::unique_ptr<QWidget> OpenEditor(ScreenContext& context, std::int32_t itemNo) {
    auto editor = std::make_unique<Editor>();
    auto& item = KeepWith<CItem>(*editor);
    item.OpenItem(context.DBConnection().get(), context.ErrorObject(), itemNo);
    editor->Setup(&context, item);
    return editor;
}

}  // namespace

void RegisterEditorScreens(ScreenRegistry& screens) {
    screens.Register("item-editor", [](const ScreenRequest& request) {
        return OpenEditor<frmItem>(request.context, kDemoTicket);
    });
    screens.Register("stock-editor", [](const ScreenRequest& request) {
        return OpenEditor<frmStock>(request.context, kDemoRentalSkis);
    });
    screens.Register("stock-matrix", [](const ScreenRequest& request) {
        auto matrix = std::make_unique<frmStockMatrix>();
        matrix->Setup(&request.context, kDemoOpenOrder, "ALPINEGEAR", "APPAREL");
        return matrix;
    });
}

}  // namespace vym
