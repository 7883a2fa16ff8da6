#include "editors/editor_screens.h"

#include <QTemporaryDir>
#include <fstream>

#include "editors/frm_import.h"
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

// A file of stock items with a row of every fate, as a vendor might send it.
constexpr const char* kDemoImport =
    "Stock Id,Short Description,Department,Stock Type,Vendor,Model,Unit Price\r\n"
    "500,Shell Jacket,,,,,169.00\r\n"
    "510,,,,,,29.95\r\n"
    "JKT-RED,Red Shell Jacket,RETAIL,APPAREL,ALPINEGEAR,SHELL,$159.00\r\n"
    "GLV-BLK,Black Gloves,RETAIL,ACCESSORY,,GLOVE,24.50\r\n"
    "GLV-RED,=cmd|' /C calc'!A0,RETAIL,ACCESSORY,NOBODY,GLOVE,24.50\r\n";

std::unique_ptr<QWidget> OpenImport(ScreenContext& context) {
    auto screen = std::make_unique<frmImport>();
    screen->Setup(&context);
    const QString path = KeepWith<QTemporaryDir>(*screen).filePath("vendor-catalogue.csv");
    std::ofstream(path.toStdString(), std::ios::binary) << kDemoImport;
    screen->SetFile(path);
    screen->DryRun();
    return screen;
}

}  // namespace

void RegisterEditorScreens(ScreenRegistry& screens) {
    screens.Register("item-editor", [](const ScreenRequest& request) {
        return OpenEditor<frmItem>(request.context, kDemoTicket);
    });
    screens.Register("stock-editor", [](const ScreenRequest& request) {
        return OpenEditor<frmStock>(request.context, kDemoRentalSkis);
    });
    screens.Register("import",
                     [](const ScreenRequest& request) { return OpenImport(request.context); });
    screens.Register("stock-matrix", [](const ScreenRequest& request) {
        auto matrix = std::make_unique<frmStockMatrix>();
        matrix->Setup(&request.context, kDemoOpenOrder, "ALPINEGEAR", "APPAREL");
        return matrix;
    });
}

}  // namespace vym
