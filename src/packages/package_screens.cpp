#include "packages/package_screens.h"

#include "host/screen_context.h"
#include "host/screen_registry.h"
#include "model/cpackage.h"
#include "packages/frm_edit_package.h"

namespace vym {

void RegisterPackageScreens(ScreenRegistry& screens) {
    screens.Register("package-editor", [](const ScreenRequest& request) {
        auto editor = std::make_unique<frmEditPackage>();
        auto& package = KeepWith<CPackage>(*editor);
        Connection* db = request.context.DBConnection().get();
        ErrorObject* errors = request.context.ErrorObject();
        package.OpenPackage(db, errors, 1);
        package.OpenItems(db, errors);
        editor->Setup(&request.context, package);
        return editor;
    });
}

}  // namespace vym
