#pragma once

#include <QGraphicsItem>
#include <optional>

#include "preview/barcode.h"
#include "preview/label_template.h"
#include "preview/print_data.h"

namespace vym::preview {

class TemplateDesigner;

// One element on the designer's label. Dragging its body moves it, dragging
// its lower right corner resizes it; the designer turns either into one undo
// step when the mouse is let go.
class ElementItem : public QGraphicsItem {
  public:
    ElementItem(TemplateDesigner& designer, const CPrintData& sample);

    void SetElement(const Element& element);
    const Element& GetElement() const { return element_; }
    // The element as the user left it on the label (position and size in mm).
    Element Placed() const;

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

  protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

  private:
    QRectF Box() const;

    TemplateDesigner& designer_;
    const CPrintData& sample_;
    Element element_;
    QSizeF size_;  // scene units, changed by a resize drag
    std::optional<BarcodeSymbol> symbol_;
    bool resizing_ = false;
    bool placing_ = false;  // set from the template: no snapping
};

}  // namespace vym::preview
