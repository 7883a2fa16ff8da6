#include "preview/designer.h"

#include "base/prompter.h"
#include "preview/template_designer.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"

namespace vym::preview {

std::optional<QByteArray> EditTemplate(QWidget* parent, ui::ModalRunner& runner,
                                       const QByteArray& content, const QStringList& fields) {
    LabelTemplate label = NewTemplate();
    if (!content.isEmpty()) {
        QString error;
        std::optional<LabelTemplate> read = ParseTemplate(content, &error);
        if (!read) {
            MsgBox(ui::S(error), kExclamation, "Invalid Template");
            return std::nullopt;
        }
        label = std::move(*read);
    }
    TemplateDesigner designer(parent);
    designer.RegisterFields(fields);
    designer.Load(label);
    if (runner.Run(designer) != QDialog::Accepted) {
        return std::nullopt;
    }
    return SaveTemplate(designer.Label());
}

}  // namespace vym::preview
