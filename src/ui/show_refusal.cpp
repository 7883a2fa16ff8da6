#include "ui/show_refusal.h"

#include <QString>
#include <QWidget>

#include "ui/key_tab_bar.h"

namespace vym::ui {

bool ShowRefusal(const Refusal& refusal, QWidget& form, KeyTabBar* tabs) {
    MsgBox(refusal.message, refusal.style, refusal.title);
    if (tabs != nullptr && !refusal.tab.empty()) {
        tabs->SetCurrentKey(QString::fromStdString(refusal.tab));
    }
    if (auto* field = form.findChild<QWidget*>(QString::fromStdString(refusal.field))) {
        field->setFocus();
    }
    return false;
}

}  // namespace vym::ui
