#pragma once

#include <QByteArray>
#include <QStringList>
#include <optional>

class QWidget;

namespace vym::ui {
class ModalRunner;
}

namespace vym::preview {

// Opens the designer on a graphical template (empty content starts a new
// label) with the format type's data fields, through `runner`. The edited
// template's file on Ok; nullopt when cancelled, or when the content is not
// a template (the user is told why).
std::optional<QByteArray> EditTemplate(QWidget* parent, ui::ModalRunner& runner,
                                       const QByteArray& content, const QStringList& fields);

}  // namespace vym::preview
