#include "preview/template_preview.h"

#include <QPainter>

#include "preview/label_painter.h"

namespace vym::preview {

TemplatePreview::TemplatePreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ctlPreview"));
    setMinimumSize(160, 120);
}

void TemplatePreview::RegisterFields(const QStringList& fields) {
    sample_ = SampleRecord(fields);
    update();
}

bool TemplatePreview::ShowTemplate(const QByteArray& content) {
    QString error;
    std::optional<LabelTemplate> label = ParseTemplate(content, &error);
    if (!label) {
        label_.reset();
        problem_ = error;
        update();
        return false;
    }
    ShowLabel(*label);
    return true;
}

void TemplatePreview::ShowLabel(const LabelTemplate& label) {
    label_ = label;
    problem_.clear();
    update();
}

void TemplatePreview::Clear() {
    label_.reset();
    problem_.clear();
    update();
}

void TemplatePreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    if (!label_) {
        painter.drawText(rect().adjusted(8, 8, -8, -8), Qt::AlignCenter | Qt::TextWordWrap,
                         problem_);
        return;
    }
    // A sheet shows its whole page, a roll label the label itself.
    const double margin = 8;
    const double scale = std::min((width() - 2 * margin) / label_->pageWidth,
                                  (height() - 2 * margin) / label_->pageHeight);
    const QPointF corner((width() - label_->pageWidth * scale) / 2,
                         (height() - label_->pageHeight * scale) / 2);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(QRectF(corner, QSizeF(label_->pageWidth, label_->pageHeight) * scale),
                     Qt::white);
    for (int i = 0; i < label_->LabelsPerPage(); ++i) {
        PaintLabel(painter, *label_, sample_, corner + LabelOrigin(*label_, i) * scale, scale,
                   nullptr);
    }
}

}  // namespace vym::preview
