#pragma once

#include <QPointF>
#include <QString>
#include <QStringList>

#include "preview/label_template.h"
#include "preview/print_data.h"

class QPainter;

namespace vym::preview {

// The text a data field or barcode shows for `record`: the field's value
// (a barcode's second field when the first is empty), in the display format.
QString ElementValue(const Element& element, const CPrintData& record);

// Draws one label of `label` filled from `record`, its top left corner at
// `origin` (device pixels), at `pxPerMm` device pixels a millimetre. What
// could not be printed as asked (a barcode its symbology cannot carry) is
// added to `problems`.
void PaintLabel(QPainter& painter, const LabelTemplate& label, const CPrintData& record,
                QPointF origin, double pxPerMm, QStringList* problems);

void PaintElement(QPainter& painter, const Element& element, const CPrintData& record,
                  QPointF origin, double pxPerMm, QStringList* problems);

// Where label `index` of a page sits, in millimetres from the page's corner.
QPointF LabelOrigin(const LabelTemplate& label, int index);

// A record holding every name of `fields` with a sample value, for the
// designer's live preview and the preview pane.
CPrintData SampleRecord(const QStringList& fields);

}  // namespace vym::preview
