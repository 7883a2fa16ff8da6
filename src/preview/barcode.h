#pragma once

#include <QList>
#include <QRectF>
#include <QString>
#include <optional>

#include "preview/label_template.h"

class QPainter;

namespace vym::preview {

// A barcode as the symbology draws it, in its own units: the dark modules
// and the human-readable text under linear codes.
struct BarcodeSymbol {
    QSizeF size;
    QList<QRectF> bars;
    struct Text {
        QPointF centre;  // of the text's baseline
        double height;
        QString text;
    };
    QList<Text> texts;
};

// Encodes `value`, or says why the symbology cannot carry it. A value the
// symbology would silently change (an EAN-13 with a wrong check digit, a
// short number the encoder pads) is refused rather than printed as another code.
std::optional<BarcodeSymbol> EncodeBarcode(Symbology symbology, const QString& value,
                                           bool humanReadable, QString* error);

// Draws the symbol into `box`: linear codes fill it, matrix codes keep their
// modules square and sit in its middle.
void PaintBarcode(QPainter& painter, const BarcodeSymbol& symbol, Symbology symbology,
                  const QRectF& box);

// What is printed instead of a code that cannot be encoded: a crossed box
// that says so, never bars a scanner could misread.
void PaintBarcodePlaceholder(QPainter& painter, const QRectF& box);

}  // namespace vym::preview
