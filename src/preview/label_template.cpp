#include "preview/label_template.h"

#include <pugixml.hpp>

#include <QImage>
#include <cmath>
#include <initializer_list>

namespace vym::preview {
namespace {

constexpr qsizetype kMaxTemplateBytes = 4 * 1024 * 1024;
constexpr std::size_t kMaxElements = 5000;
constexpr double kMaxMm = 2000;
constexpr int kVersion = 1;

struct KindName {
    ElementKind kind;
    const char* name;
};
constexpr KindName kKinds[] = {
    {ElementKind::Text, "text"}, {ElementKind::Field, "field"}, {ElementKind::Barcode, "barcode"},
    {ElementKind::Line, "line"}, {ElementKind::Rect, "rect"},   {ElementKind::Image, "image"},
};

struct SymbologyName_ {
    Symbology symbology;
    const char* name;
};
constexpr SymbologyName_ kSymbologies[] = {
    {Symbology::Code128, "code128"},
    {Symbology::Ean13, "ean13"},
    {Symbology::UpcA, "upca"},
    {Symbology::Qr, "qr"},
    {Symbology::DataMatrix, "datamatrix"},
};

constexpr const char* kAligns[] = {"left", "center", "right"};

// Reads the attributes of one element, remembering the first fault; every
// attribute the element carries must be one it may carry.
class Reader {
  public:
    Reader(pugi::xml_node node, QString* error) : node_(node), error_(error) {}

    bool Only(std::initializer_list<const char*> names) {
        for (pugi::xml_attribute attribute : node_.attributes()) {
            bool known = false;
            for (const char* name : names) {
                known = known || std::string_view(attribute.name()) == name;
            }
            if (!known) {
                return Fail(QStringLiteral("<%1> has an unknown attribute \"%2\".")
                                .arg(node_.name(), attribute.name()));
            }
        }
        return true;
    }

    // Millimetres and points, kept to hundredths so that a saved file reads back the same.
    double Number(const char* name, double low, double high) {
        const pugi::xml_attribute attribute = node_.attribute(name);
        if (!attribute) {
            Fail(QStringLiteral("<%1> needs the attribute \"%2\".").arg(node_.name(), name));
            return low;
        }
        bool ok = false;
        const double value = QString::fromUtf8(attribute.value()).toDouble(&ok);
        if (!ok || !std::isfinite(value) || value < low || value > high) {
            Fail(QStringLiteral("<%1> %2=\"%3\" is not a number from %4 to %5.")
                     .arg(node_.name(), name, QString::fromUtf8(attribute.value()))
                     .arg(low)
                     .arg(high));
            return low;
        }
        return std::round(value * 100) / 100;
    }

    int Whole(const char* name, int low, int high) {
        const double value = Number(name, low, high);
        if (value != std::floor(value)) {
            Fail(QStringLiteral("<%1> %2 must be a whole number.").arg(node_.name(), name));
        }
        return static_cast<int>(value);
    }

    QString Text(const char* name, bool required) {
        const pugi::xml_attribute attribute = node_.attribute(name);
        if (!attribute && required) {
            Fail(QStringLiteral("<%1> needs the attribute \"%2\".").arg(node_.name(), name));
        }
        return QString::fromUtf8(attribute.value());
    }

    // The position of `value` among `choices`.
    template <class Choices>
    int Choice(const char* name, const Choices& choices) {
        const std::string_view value = node_.attribute(name).value();
        int index = 0;
        for (const auto& choice : choices) {
            if (value == ChoiceName(choice)) {
                return index;
            }
            ++index;
        }
        Fail(QStringLiteral("<%1> %2=\"%3\" is not one of the known values.")
                 .arg(node_.name(), name, QString::fromUtf8(value.data(), value.size())));
        return 0;
    }

    bool Flag(const char* name) {
        constexpr const char* kFlags[] = {"false", "true"};
        return Choice(name, kFlags) == 1;
    }

    bool Fail(const QString& message) {
        if (ok_) {
            *error_ = message;
        }
        ok_ = false;
        return false;
    }
    bool Ok() const { return ok_; }

  private:
    static const char* ChoiceName(const char* name) { return name; }
    static const char* ChoiceName(const SymbologyName_& s) { return s.name; }

    pugi::xml_node node_;
    QString* error_;
    bool ok_ = true;
};

void ReadBox(Reader& in, Element& e, bool signedSize) {
    e.x = in.Number("x", 0, kMaxMm);
    e.y = in.Number("y", 0, kMaxMm);
    e.width = in.Number("width", signedSize ? -kMaxMm : 0, kMaxMm);
    e.height = in.Number("height", signedSize ? -kMaxMm : 0, kMaxMm);
}

void ReadFont(Reader& in, Element& e) {
    e.font = in.Text("font", true);
    e.size = in.Number("size", 1, 400);
    e.bold = in.Flag("bold");
    e.align = static_cast<Align>(in.Choice("align", kAligns));
}

// The element's own content: static text, or an image's base64 bytes.
bool ReadContent(Reader& in, pugi::xml_node node, Element& e) {
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_pcdata) {
            return in.Fail(QStringLiteral("<%1> may hold only text.").arg(node.name()));
        }
    }
    const QByteArray content(node.child_value());
    if (e.kind == ElementKind::Text) {
        e.text = QString::fromUtf8(content);
        return true;
    }
    auto decoded =
        QByteArray::fromBase64Encoding(content.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || QImage::fromData(*decoded).isNull()) {
        return in.Fail(QStringLiteral("<image> does not hold a PNG or JPEG picture in base64."));
    }
    e.image = *decoded;
    return true;
}

std::optional<Element> ReadElement(pugi::xml_node node, ElementKind kind, QString* error) {
    Reader in(node, error);
    Element e;
    e.kind = kind;
    switch (kind) {
        case ElementKind::Text:
            in.Only({"x", "y", "width", "height", "font", "size", "bold", "align"});
            ReadFont(in, e);
            break;
        case ElementKind::Field:
            in.Only(
                {"x", "y", "width", "height", "font", "size", "bold", "align", "format", "name"});
            ReadFont(in, e);
            e.format = in.Text("format", false);
            e.name = in.Text("name", true);
            break;
        case ElementKind::Barcode:
            in.Only(
                {"x", "y", "width", "height", "symbology", "human-readable", "name", "or-name"});
            e.symbology = kSymbologies[in.Choice("symbology", kSymbologies)].symbology;
            e.humanReadable = in.Flag("human-readable");
            e.name = in.Text("name", true);
            e.orName = in.Text("or-name", false);
            break;
        case ElementKind::Line:
        case ElementKind::Rect:
            in.Only({"x", "y", "width", "height", "thickness", "filled"});
            e.thickness = in.Number("thickness", 0, 50);
            e.filled = kind == ElementKind::Rect && in.Flag("filled");
            break;
        case ElementKind::Image:
            in.Only({"x", "y", "width", "height"});
            break;
    }
    ReadBox(in, e, kind == ElementKind::Line);
    if (in.Ok() && (kind == ElementKind::Text || kind == ElementKind::Image)) {
        ReadContent(in, node, e);
    } else if (in.Ok() && node.first_child()) {
        in.Fail(QStringLiteral("<%1> may not hold anything.").arg(node.name()));
    }
    return in.Ok() ? std::optional(e) : std::nullopt;
}

bool ReadPage(pugi::xml_node node, LabelTemplate& label, QString* error) {
    Reader in(node, error);
    in.Only({"width", "height", "orientation"});
    label.pageWidth = in.Number("width", 5, kMaxMm);
    label.pageHeight = in.Number("height", 5, kMaxMm);
    constexpr const char* kOrientations[] = {"portrait", "landscape"};
    label.landscape = in.Choice("orientation", kOrientations) == 1;
    if (in.Ok() && label.pageWidth != label.pageHeight &&
        label.landscape != (label.pageWidth > label.pageHeight)) {
        in.Fail(label.landscape ? QStringLiteral("A landscape page must be wider than tall.")
                                : QStringLiteral("A portrait page must be taller than wide."));
    }
    return in.Ok();
}

bool ReadSheet(pugi::xml_node node, LabelTemplate& label, QString* error) {
    Reader in(node, error);
    in.Only({"columns", "rows", "label-width", "label-height", "column-gap", "row-gap",
             "margin-left", "margin-top"});
    SheetLayout s;
    s.columns = in.Whole("columns", 1, 100);
    s.rows = in.Whole("rows", 1, 100);
    s.labelWidth = in.Number("label-width", 1, kMaxMm);
    s.labelHeight = in.Number("label-height", 1, kMaxMm);
    s.columnGap = in.Number("column-gap", 0, kMaxMm);
    s.rowGap = in.Number("row-gap", 0, kMaxMm);
    s.marginLeft = in.Number("margin-left", 0, kMaxMm);
    s.marginTop = in.Number("margin-top", 0, kMaxMm);
    const double right = s.marginLeft + s.columns * s.labelWidth + (s.columns - 1) * s.columnGap;
    const double bottom = s.marginTop + s.rows * s.labelHeight + (s.rows - 1) * s.rowGap;
    if (in.Ok() && (right > label.pageWidth + 0.01 || bottom > label.pageHeight + 0.01)) {
        in.Fail(
            QStringLiteral("%1 x %2 labels do not fit on the page.").arg(s.columns).arg(s.rows));
    }
    label.sheet = s;
    return in.Ok();
}

std::optional<ElementKind> KindOf(std::string_view name) {
    for (const KindName& k : kKinds) {
        if (name == k.name) {
            return k.kind;
        }
    }
    return std::nullopt;
}

bool ReadElements(pugi::xml_node root, LabelTemplate& label, QString* error) {
    bool pageRead = false;
    for (pugi::xml_node node : root.children()) {
        const std::string_view name = node.name();
        if (node.type() != pugi::node_element) {
            if (node.type() == pugi::node_pcdata && !QByteArray(node.value()).trimmed().isEmpty()) {
                *error = QStringLiteral("The template holds stray text.");
                return false;
            }
            continue;
        }
        if (name == "page" && !pageRead && label.elements.empty()) {
            pageRead = ReadPage(node, label, error);
            if (!pageRead) {
                return false;
            }
            continue;
        }
        if (name == "sheet" && pageRead && !label.sheet && label.elements.empty()) {
            if (!ReadSheet(node, label, error)) {
                return false;
            }
            continue;
        }
        const std::optional<ElementKind> kind = KindOf(name);
        if (!kind || !pageRead) {
            *error = !pageRead ? QStringLiteral("The template must begin with its <page>.")
                               : QStringLiteral("Unknown element <%1> in the template.")
                                     .arg(QString::fromUtf8(node.name()));
            return false;
        }
        if (label.elements.size() == kMaxElements) {
            *error = QStringLiteral("The template has more than %1 elements.").arg(kMaxElements);
            return false;
        }
        std::optional<Element> element = ReadElement(node, *kind, error);
        if (!element) {
            return false;
        }
        if (element->x > label.LabelWidth() + 0.01 || element->y > label.LabelHeight() + 0.01) {
            *error = QStringLiteral("A <%1> lies outside the label.").arg(node.name());
            return false;
        }
        label.elements.push_back(std::move(*element));
    }
    if (!pageRead) {
        *error = QStringLiteral("The template has no <page>.");
    }
    return pageRead;
}

// The root element, refusing document types (entity declarations are how
// hostile files blow up) and anything beside the one root.
std::optional<pugi::xml_node> RootOf(const pugi::xml_document& doc, QString* error) {
    std::optional<pugi::xml_node> root;
    for (pugi::xml_node node : doc.children()) {
        if (node.type() == pugi::node_doctype) {
            *error = QStringLiteral("Template files may not declare a document type.");
            return std::nullopt;
        }
        if (node.type() == pugi::node_element) {
            if (root || std::string_view(node.name()) != "label-template") {
                *error = QStringLiteral(
                    "Not a label template: the file must hold one "
                    "<label-template> element.");
                return std::nullopt;
            }
            root = node;
        }
    }
    if (!root) {
        *error = QStringLiteral("Not a label template: the file holds no <label-template>.");
    }
    return root;
}

bool CheckVersion(pugi::xml_node root, QString* error) {
    bool ok = false;
    const int version = QString::fromUtf8(root.attribute("version").value()).toInt(&ok);
    if (ok && version > kVersion) {
        *error = QStringLiteral(
                     "The template was written by a newer version (format %1); "
                     "this program reads format %2.")
                     .arg(version)
                     .arg(kVersion);
        return false;
    }
    if (!ok || version < 1 || std::distance(root.attributes_begin(), root.attributes_end()) != 1) {
        *error = QStringLiteral("The <label-template> must carry only its version=\"1\".");
        return false;
    }
    return true;
}

QString Mm(double value) {
    QString text = QString::number(std::round(value * 100) / 100, 'f', 2);
    while (text.endsWith(u'0')) {
        text.chop(1);
    }
    if (text.endsWith(u'.')) {
        text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString Escaped(const QString& text) {
    QString out = text.toHtmlEscaped();
    out.replace(u'\n', QLatin1String("&#10;")).replace(u'\t', QLatin1String("&#9;"));
    return out.replace(u'\r', QLatin1String("&#13;"));
}

QString Attr(const char* name, const QString& value) {
    return QStringLiteral(" %1=\"%2\"").arg(QLatin1String(name), Escaped(value));
}

QString FontAttrs(const Element& e) {
    return Attr("font", e.font) + Attr("size", Mm(e.size)) +
           Attr("bold", e.bold ? "true" : "false") +
           Attr("align", QLatin1String(kAligns[static_cast<int>(e.align)]));
}

QString WriteElement(const Element& e) {
    const QString name = QLatin1String(kKinds[static_cast<int>(e.kind)].name);
    QString out = QStringLiteral("  <") + name + Attr("x", Mm(e.x)) + Attr("y", Mm(e.y)) +
                  Attr("width", Mm(e.width)) + Attr("height", Mm(e.height));
    switch (e.kind) {
        case ElementKind::Text:
            return out + FontAttrs(e) + ">" + Escaped(e.text) + "</text>\n";
        case ElementKind::Field:
            out += FontAttrs(e) + (e.format.isEmpty() ? QString() : Attr("format", e.format));
            return out + Attr("name", e.name) + "/>\n";
        case ElementKind::Barcode:
            out += Attr("symbology", SymbologyName(e.symbology)) +
                   Attr("human-readable", e.humanReadable ? "true" : "false") +
                   Attr("name", e.name);
            return out + (e.orName.isEmpty() ? QString() : Attr("or-name", e.orName)) + "/>\n";
        case ElementKind::Line:
            return out + Attr("thickness", Mm(e.thickness)) + "/>\n";
        case ElementKind::Rect:
            return out + Attr("thickness", Mm(e.thickness)) +
                   Attr("filled", e.filled ? "true" : "false") + "/>\n";
        case ElementKind::Image:
            return out + ">" + QString::fromLatin1(e.image.toBase64()) + "</image>\n";
    }
    return out;
}

}  // namespace

QString SymbologyName(Symbology symbology) {
    return QLatin1String(kSymbologies[static_cast<int>(symbology)].name);
}

std::optional<LabelTemplate> ParseTemplate(const QByteArray& xml, QString* error) {
    QString ignored;
    error = error != nullptr ? error : &ignored;
    if (xml.size() > kMaxTemplateBytes) {
        *error = QStringLiteral("The template is larger than %1 MB.")
                     .arg(kMaxTemplateBytes / (1024 * 1024));
        return std::nullopt;
    }
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_buffer(
        xml.constData(), static_cast<std::size_t>(xml.size()),
        pugi::parse_default | pugi::parse_doctype | pugi::parse_ws_pcdata, pugi::encoding_utf8);
    if (!parsed) {
        *error = QStringLiteral("The template is not well-formed XML (%1 at byte %2).")
                     .arg(QString::fromUtf8(parsed.description()))
                     .arg(parsed.offset);
        return std::nullopt;
    }
    const std::optional<pugi::xml_node> root = RootOf(doc, error);
    LabelTemplate label;
    if (!root || !CheckVersion(*root, error) || !ReadElements(*root, label, error)) {
        return std::nullopt;
    }
    return label;
}

QByteArray SaveTemplate(const LabelTemplate& label) {
    QString out = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<label-template version=\"1\">\n");
    out += QStringLiteral("  <page") + Attr("width", Mm(label.pageWidth)) +
           Attr("height", Mm(label.pageHeight)) +
           Attr("orientation", label.landscape ? "landscape" : "portrait") + "/>\n";
    if (const auto& s = label.sheet) {
        out += QStringLiteral("  <sheet") + Attr("columns", QString::number(s->columns)) +
               Attr("rows", QString::number(s->rows)) + Attr("label-width", Mm(s->labelWidth)) +
               Attr("label-height", Mm(s->labelHeight)) + Attr("column-gap", Mm(s->columnGap)) +
               Attr("row-gap", Mm(s->rowGap)) + Attr("margin-left", Mm(s->marginLeft)) +
               Attr("margin-top", Mm(s->marginTop)) + "/>\n";
    }
    for (const Element& e : label.elements) {
        out += WriteElement(e);
    }
    return (out + "</label-template>\n").toUtf8();
}

LabelTemplate NewTemplate() {
    LabelTemplate label;
    label.landscape = true;
    return label;
}

}  // namespace vym::preview
