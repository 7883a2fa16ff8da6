#include "editors/editor_screens.h"

#include "editors/frm_item.h"
#include "editors/frm_stock.h"
#include "gateway/app_server.h"
#include "host/citem_maint.h"
#include "host/screen_registry.h"
#include "model/citem.h"

namespace vym {
namespace {

constexpr std::int32_t kDemoTicket = 100;
constexpr std::int32_t kDemoRentalSkis = 600;

// The item and service object a shown editor works with, owned by the
// editor's window so that they live as long as it does.
class EditorSession : public QObject {
  public:
    explicit EditorSession(QObject* parent) : QObject(parent) {}
    CItemMaint maint;
    CItem item;
};

template <class Editor>
std::unique_ptr<QWidget> OpenEditor(AppServer& server, std::int32_t itemNo) {
    auto editor = std::make_unique<Editor>();
    auto* session = new EditorSession(editor.get());
    session->maint.SetAppServer(&server);
    session->item.OpenItem(session->maint.DBConnection().get(), session->maint.ErrorObject(),
                           itemNo);
    editor->Setup(&session->maint, session->item);
    return editor;
}

}  // namespace

void RegisterEditorScreens(ScreenRegistry& screens) {
    screens.Register("item-editor", [](const ScreenContext& context) {
        return OpenEditor<frmItem>(context.server, kDemoTicket);
    });
    screens.Register("stock-editor", [](const ScreenContext& context) {
        return OpenEditor<frmStock>(context.server, kDemoRentalSkis);
    });
}

}  // namespace vym
