#include "preview/barcode.h"

#include <zint.h>

#include <QFont>
#include <QPainter>
#include <memory>

namespace vym::preview {
namespace {

struct SymbolDeleter {
    void operator()(zint_symbol* symbol) const { ZBarcode_Delete(symbol); }
};

bool AllDigits(const QString& value) {
    return !value.isEmpty() &&
           std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The GS1 check digit over all digits but the last.
bool CheckDigitOk(const QString& digits) {
    int sum = 0;
    const qsizetype n = digits.size() - 1;
    for (qsizetype i = 0; i < n; ++i) {
        const int digit = digits[n - 1 - i].digitValue();
        sum += i % 2 == 0 ? 3 * digit : digit;
    }
    return (10 - sum % 10) % 10 == digits[n].digitValue();
}

// Why the value cannot be printed in the symbology, or "" when it can.
QString Refusal(Symbology symbology, const QString& value) {
    if (value.isEmpty()) {
        return QStringLiteral("There is no value to encode.");
    }
    switch (symbology) {
        case Symbology::Ean13:
            return AllDigits(value) && value.size() == 13 && CheckDigitOk(value)
                       ? QString()
                       : QStringLiteral(
                             "An EAN-13 needs 13 digits ending in the right check "
                             "digit.");
        case Symbology::UpcA:
            return AllDigits(value) && value.size() == 12 && CheckDigitOk(value)
                       ? QString()
                       : QStringLiteral(
                             "A UPC-A needs 12 digits ending in the right check "
                             "digit.");
        case Symbology::Code128:
            for (QChar c : value) {
                if (c.unicode() > 126 || c.unicode() < 32) {
                    return QStringLiteral("Code 128 carries printable ASCII only.");
                }
            }
            return {};
        case Symbology::Qr:
        case Symbology::DataMatrix:
            return {};
    }
    return {};
}

int ZintSymbology(Symbology symbology) {
    switch (symbology) {
        case Symbology::Code128:
            return BARCODE_CODE128;
        case Symbology::Ean13:
            return BARCODE_EANX;
        case Symbology::UpcA:
            return BARCODE_UPCA;
        case Symbology::Qr:
            return BARCODE_QRCODE;
        case Symbology::DataMatrix:
            return BARCODE_DATAMATRIX;
    }
    return BARCODE_CODE128;
}

BarcodeSymbol FromVector(const zint_vector& vector) {
    BarcodeSymbol symbol;
    symbol.size = QSizeF(vector.width, vector.height);
    for (const zint_vector_rect* r = vector.rectangles; r != nullptr; r = r->next) {
        symbol.bars.append(QRectF(r->x, r->y, r->width, r->height));
    }
    for (const zint_vector_string* s = vector.strings; s != nullptr; s = s->next) {
        symbol.texts.append({QPointF(s->x, s->y), s->fsize,
                             QString::fromUtf8(reinterpret_cast<const char*>(s->text), s->length)});
    }
    return symbol;
}

}  // namespace

std::optional<BarcodeSymbol> EncodeBarcode(Symbology symbology, const QString& value,
                                           bool humanReadable, QString* error) {
    const QString refusal = Refusal(symbology, value);
    if (!refusal.isEmpty()) {
        *error = refusal;
        return std::nullopt;
    }
    std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    symbol->symbology = ZintSymbology(symbology);
    symbol->show_hrt = humanReadable ? 1 : 0;
    symbol->input_mode = UNICODE_MODE;
    const QByteArray data = value.toUtf8();
    const int encoded =
        ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(data.constData()),
                        static_cast<int>(data.size()));
    if (encoded >= ZINT_ERROR || ZBarcode_Buffer_Vector(symbol.get(), 0) >= ZINT_ERROR) {
        *error = QString::fromUtf8(symbol->errtxt);
        return std::nullopt;
    }
    return FromVector(*symbol->vector);
}

void PaintBarcode(QPainter& painter, const BarcodeSymbol& symbol, Symbology symbology,
                  const QRectF& box) {
    if (symbol.size.isEmpty()) {
        return;
    }
    double sx = box.width() / symbol.size.width();
    double sy = box.height() / symbol.size.height();
    QPointF origin = box.topLeft();
    if (symbology == Symbology::Qr || symbology == Symbology::DataMatrix) {
        sx = sy = std::min(sx, sy);
        origin += QPointF((box.width() - symbol.size.width() * sx) / 2,
                          (box.height() - symbol.size.height() * sy) / 2);
    }
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const QRectF& bar : symbol.bars) {
        painter.drawRect(QRectF(origin.x() + bar.x() * sx, origin.y() + bar.y() * sy,
                                bar.width() * sx, bar.height() * sy));
    }
    painter.setPen(Qt::black);
    for (const BarcodeSymbol::Text& text : symbol.texts) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(std::max(1, qRound(text.height * std::min(sx, sy))));
        painter.setFont(font);
        const QPointF baseline(origin.x() + text.centre.x() * sx,
                               origin.y() + text.centre.y() * sy);
        const double width = painter.fontMetrics().horizontalAdvance(text.text);
        painter.drawText(QPointF(baseline.x() - width / 2, baseline.y()), text.text);
    }
    painter.restore();
}

void PaintBarcodePlaceholder(QPainter& painter, const QRectF& box) {
    painter.save();
    painter.setPen(QPen(Qt::black, std::max(1.0, box.height() / 60), Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    painter.drawLine(box.topLeft(), box.bottomRight());
    painter.drawLine(box.bottomLeft(), box.topRight());
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, qRound(box.height() / 5)));
    painter.setFont(font);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(Qt::white);
    painter.drawText(box, Qt::AlignCenter, QStringLiteral("INVALID BARCODE"));
    painter.restore();
}

}  // namespace vym::preview
