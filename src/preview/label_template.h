#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace vym::preview {

enum class ElementKind { Text, Field, Barcode, Line, Rect, Image };
enum class Align { Left, Center, Right };
enum class Symbology { Code128, Ean13, UpcA, Qr, DataMatrix };

// One thing drawn on a label. Positions and sizes are millimetres from the
// label's top left corner; a line runs from (x, y) to (x + width, y + height).
struct Element {
    ElementKind kind = ElementKind::Text;
    double x = 0, y = 0, width = 20, height = 5;
    // Text and data fields.
    QString font = QStringLiteral("DejaVu Sans");
    double size = 10;  // points
    bool bold = false;
    Align align = Align::Left;
    QString text;    // static text
    QString name;    // data field "table.field", also what a barcode encodes
    QString orName;  // barcodes: the field used when `name` is empty
    QString format;  // display format of a data field ("Currency", "mm/dd/yyyy")
    // Barcodes.
    Symbology symbology = Symbology::Code128;
    bool humanReadable = true;
    // Lines and rectangles.
    double thickness = 0.3;  // mm
    bool filled = false;
    QByteArray image;  // PNG or JPEG bytes

    bool operator==(const Element&) const = default;
};

// Sheet labels: how many labels a page holds and where the first one sits.
struct SheetLayout {
    int columns = 1, rows = 1;
    double labelWidth = 0, labelHeight = 0;
    double columnGap = 0, rowGap = 0, marginLeft = 0, marginTop = 0;
    bool operator==(const SheetLayout&) const = default;
};

// A graphical template. Without a sheet layout the page is one label.
struct LabelTemplate {
    double pageWidth = 57.15, pageHeight = 31.75;  // mm, as the paper is fed
    bool landscape = false;
    std::optional<SheetLayout> sheet;
    std::vector<Element> elements;

    double LabelWidth() const { return sheet ? sheet->labelWidth : pageWidth; }
    double LabelHeight() const { return sheet ? sheet->labelHeight : pageHeight; }
    int LabelsPerPage() const { return sheet ? sheet->columns * sheet->rows : 1; }
    bool operator==(const LabelTemplate&) const = default;
};

// Reads a template file (the format is described in docs/label_templates.md).
// Malformed, truncated, oversized or hostile input gives nullopt and says
// why in `error`.
std::optional<LabelTemplate> ParseTemplate(const QByteArray& xml, QString* error);
// The file of a template; parsing it and saving again gives the same bytes.
QByteArray SaveTemplate(const LabelTemplate& label);
// An empty 2.25" x 1.25" label.
LabelTemplate NewTemplate();

QString SymbologyName(Symbology symbology);

}  // namespace vym::preview
