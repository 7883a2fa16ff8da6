#include "packages/package_screens.h"

#include "gateway/app_server.h"
#include "host/citem_maint.h"
#include "host/screen_registry.h"
#include "model/cpackage.h"
#include "packages/frm_edit_package.h"

namespace vym {
namespace {

// The package and service object a shown editor works with, owned by the
// editor's window so that they live as long as it does.
class EditorSession : public QObject {
  public:
    explicit EditorSession(QObject* parent) : QObject(parent) {}
    CItemMaint maint;
    CPackage package;
};

}  // namespace

void RegisterPackageScreens(ScreenRegistry& screens) {
    screens.Register("package-editor", [](const ScreenContext& context) {
        auto editor = std::make_unique<frmEditPackage>();
        auto* session = new EditorSession(editor.get());
        session->maint.SetAppServer(&context.server);
        Connection* db = context.server.DBConnection().get();
        ErrorObject* errors = &context.server.ErrorObject();
        session->package.OpenPackage(db, errors, 1);
        session->package.OpenItems(db, errors);
        editor->Setup(&session->maint, session->package);
        return editor;
    });
}

}  // namespace vym
