#pragma once

#include <QByteArray>
#include <QStringList>
#include <QWidget>
#include <optional>

#include "preview/label_template.h"
#include "preview/print_data.h"

namespace vym::preview {

// The preview pane: one label (or a sheet's page) of a graphical template,
// filled with sample values of the registered fields, scaled to the pane.
class TemplatePreview : public QWidget {
    Q_OBJECT

  public:
    explicit TemplatePreview(QWidget* parent = nullptr);

    // The format type's data fields, before a template is shown.
    void RegisterFields(const QStringList& fields);
    // False, showing why in the pane, when the content is not a template.
    bool ShowTemplate(const QByteArray& content);
    void ShowLabel(const LabelTemplate& label);
    void Clear();

    QString Problem() const { return problem_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<LabelTemplate> label_;
    CPrintData sample_;
    QString problem_;
};

}  // namespace vym::preview
