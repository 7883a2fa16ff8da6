#include "preview/element_item.h"

#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include "preview/label_painter.h"
#include "preview/template_designer.h"

namespace vym::preview {
namespace {

constexpr double kUnits = TemplateDesigner::kUnitsPerMm;
constexpr double kHandle = 1.5 * kUnits;  // the resize corner, 1.5 mm

}  // namespace

ElementItem::ElementItem(TemplateDesigner& designer, const CPrintData& sample)
    : designer_(designer), sample_(sample) {
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    setCacheMode(DeviceCoordinateCache);
}

void ElementItem::SetElement(const Element& element) {
    prepareGeometryChange();
    element_ = element;
    size_ = QSizeF(element.width, element.height) * kUnits;
    placing_ = true;
    setPos(element.x * kUnits, element.y * kUnits);
    placing_ = false;
    symbol_.reset();
    if (element.kind == ElementKind::Barcode) {
        QString ignored;
        symbol_ = EncodeBarcode(element.symbology, ElementValue(element, sample_),
                                element.humanReadable, &ignored);
    }
    update();
}

Element ElementItem::Placed() const {
    Element e = element_;
    e.x = std::round(pos().x() / kUnits * 100) / 100;
    e.y = std::round(pos().y() / kUnits * 100) / 100;
    e.width = std::round(size_.width() / kUnits * 100) / 100;
    e.height = std::round(size_.height() / kUnits * 100) / 100;
    return e;
}

QRectF ElementItem::Box() const {
    return QRectF(QPointF(), size_).normalized();
}

QRectF ElementItem::boundingRect() const {
    const double pen = std::max(element_.thickness * kUnits, 1.0);
    return Box().adjusted(-pen, -pen, pen + kHandle, pen + kHandle);
}

void ElementItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    Element local = element_;
    local.x = local.y = 0;
    local.width = size_.width() / kUnits;
    local.height = size_.height() / kUnits;
    if (local.kind == ElementKind::Barcode) {
        const QRectF box = Box();
        symbol_ ? PaintBarcode(*painter, *symbol_, local.symbology, box)
                : PaintBarcodePlaceholder(*painter, box);
    } else {
        PaintElement(*painter, local, sample_, QPointF(), kUnits, nullptr);
    }
    if (isSelected()) {
        painter->setPen(QPen(QColor(0, 120, 215), 0, Qt::DashLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(Box());
        painter->setBrush(QColor(0, 120, 215));
        painter->drawRect(QRectF(Box().bottomRight(), QSizeF(kHandle, kHandle)));
    }
}

QVariant ElementItem::itemChange(GraphicsItemChange change, const QVariant& value) {
    if (change == ItemPositionChange && !placing_) {
        const QPointF wanted = value.toPointF();
        const double maxX = designer_.Label().LabelWidth() * kUnits;
        const double maxY = designer_.Label().LabelHeight() * kUnits;
        return QPointF(std::clamp(designer_.SnapMm(wanted.x() / kUnits) * kUnits, 0.0, maxX),
                       std::clamp(designer_.SnapMm(wanted.y() / kUnits) * kUnits, 0.0, maxY));
    }
    return QGraphicsItem::itemChange(change, value);
}

void ElementItem::mousePressEvent(QGraphicsSceneMouseEvent* event) {
    const QPointF corner = Box().bottomRight();
    const QPointF p = event->pos();
    resizing_ = p.x() >= corner.x() - kHandle / 2 && p.y() >= corner.y() - kHandle / 2;
    QGraphicsItem::mousePressEvent(event);
}

void ElementItem::mouseMoveEvent(QGraphicsSceneMouseEvent* event) {
    if (!resizing_) {
        QGraphicsItem::mouseMoveEvent(event);
        return;
    }
    prepareGeometryChange();
    const double minimum = element_.kind == ElementKind::Line ? 0 : 1;
    size_ = QSizeF(std::max(minimum, designer_.SnapMm(event->pos().x() / kUnits)) * kUnits,
                   std::max(minimum, designer_.SnapMm(event->pos().y() / kUnits)) * kUnits);
    update();
}

void ElementItem::mouseReleaseEvent(QGraphicsSceneMouseEvent* event) {
    QGraphicsItem::mouseReleaseEvent(event);
    resizing_ = false;
    designer_.CommitGeometry();
}

}  // namespace vym::preview
