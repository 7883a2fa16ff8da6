#include "preview/label_painter.h"

#include <QFont>
#include <QImage>
#include <QPainter>

#include "base/format.h"
#include "preview/barcode.h"

namespace vym::preview {
namespace {

Qt::Alignment AlignmentOf(Align align) {
    switch (align) {
        case Align::Center:
            return Qt::AlignHCenter;
        case Align::Right:
            return Qt::AlignRight;
        case Align::Left:
            break;
    }
    return Qt::AlignLeft;
}

void PaintText(QPainter& painter, const Element& e, const QString& text, const QRectF& box,
               double pxPerMm) {
    QFont font(e.font);
    // Points to device pixels: a point is 1/72 inch.
    font.setPixelSize(std::max(1, qRound(e.size * 25.4 / 72 * pxPerMm)));
    font.setBold(e.bold);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(box, AlignmentOf(e.align) | Qt::AlignTop | Qt::TextSingleLine, text);
}

void PaintBarcodeElement(QPainter& painter, const Element& e, const CPrintData& record,
                         const QRectF& box, QStringList* problems) {
    const QString value = ElementValue(e, record);
    QString error;
    if (const auto symbol = EncodeBarcode(e.symbology, value, e.humanReadable, &error)) {
        PaintBarcode(painter, *symbol, e.symbology, box);
        return;
    }
    PaintBarcodePlaceholder(painter, box);
    if (problems != nullptr) {
        problems->append(QStringLiteral("Barcode %1 of \"%2\" (%3) was not printed: %4")
                             .arg(SymbologyName(e.symbology), value, e.name, error));
    }
}

}  // namespace

QString ElementValue(const Element& element, const CPrintData& record) {
    QString value = record.Field(element.name);
    if (value.isEmpty() && !element.orName.isEmpty()) {
        value = record.Field(element.orName);
    }
    if (element.format.isEmpty() || value.isEmpty()) {
        return value;
    }
    return QString::fromStdString(
        vym::Format(vym::Value(value.toStdString()), element.format.toStdString()));
}

void PaintElement(QPainter& painter, const Element& e, const CPrintData& record, QPointF origin,
                  double pxPerMm, QStringList* problems) {
    const QRectF box(origin.x() + e.x * pxPerMm, origin.y() + e.y * pxPerMm, e.width * pxPerMm,
                     e.height * pxPerMm);
    switch (e.kind) {
        case ElementKind::Text:
            PaintText(painter, e, e.text, box, pxPerMm);
            break;
        case ElementKind::Field:
            PaintText(painter, e, ElementValue(e, record), box, pxPerMm);
            break;
        case ElementKind::Barcode:
            PaintBarcodeElement(painter, e, record, box, problems);
            break;
        case ElementKind::Line:
            painter.setPen(QPen(Qt::black, e.thickness * pxPerMm, Qt::SolidLine, Qt::FlatCap));
            painter.drawLine(box.topLeft(), box.topLeft() + QPointF(box.width(), box.height()));
            break;
        case ElementKind::Rect:
            painter.setPen(e.thickness > 0 ? QPen(Qt::black, e.thickness * pxPerMm)
                                           : QPen(Qt::NoPen));
            painter.setBrush(e.filled ? QBrush(Qt::black) : QBrush(Qt::NoBrush));
            painter.drawRect(box);
            painter.setBrush(Qt::NoBrush);
            break;
        case ElementKind::Image:
            painter.drawImage(box, QImage::fromData(e.image));
            break;
    }
}

void PaintLabel(QPainter& painter, const LabelTemplate& label, const CPrintData& record,
                QPointF origin, double pxPerMm, QStringList* problems) {
    for (const Element& e : label.elements) {
        PaintElement(painter, e, record, origin, pxPerMm, problems);
    }
}

QPointF LabelOrigin(const LabelTemplate& label, int index) {
    if (!label.sheet) {
        return {};
    }
    const SheetLayout& s = *label.sheet;
    const int column = index % s.columns;
    const int row = (index / s.columns) % s.rows;
    return {s.marginLeft + column * (s.labelWidth + s.columnGap),
            s.marginTop + row * (s.labelHeight + s.rowGap)};
}

CPrintData SampleRecord(const QStringList& fields) {
    CPrintData record;
    record.CreateIfNotFound = true;
    for (const QString& name : fields) {
        const QString lower = name.toLower();
        QString value = name.section(u'.', 1).replace(u'_', u' ');
        if (lower.contains(QLatin1String("price")) || lower.contains(QLatin1String("cost"))) {
            value = QStringLiteral("24.95");
        } else if (lower.contains(QLatin1String("upc"))) {
            value = QStringLiteral("036000291452");
        } else if (lower.contains(QLatin1String("date")) ||
                   lower.contains(QLatin1String("since"))) {
            value = QStringLiteral("12/01/2026");
        }
        record.SetField(name, value);
    }
    return record;
}

}  // namespace vym::preview
