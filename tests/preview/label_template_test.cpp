#include "preview/label_template.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <random>

#include "preview/print_job.h"
#include "support/qt/qt_printers.h"
#include "support/server/back_office.h"

namespace vym::preview {
namespace {

// Every graphical demo template, as stored.
std::vector<QByteArray> DemoTemplates(test::BackOffice& office) {
    std::vector<QByteArray> out;
    auto rows = office.Db().OpenRecordset(
        "SELECT format_template FROM vym_print_format_template WHERE template_type = 'TEMPLATE' "
        "ORDER BY format_no, printer_type_id, page_size_id, customer_level_id");
    for (; !rows->Eof(); rows->MoveNext()) {
        const Bytes bytes = rows->Fields("format_template").Value().ToBytes();
        out.emplace_back(reinterpret_cast<const char*>(bytes.data()),
                         static_cast<qsizetype>(bytes.size()));
    }
    return out;
}

QByteArray Png() {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

TEST(LabelTemplate, DemoTemplatesAndEveryElementKindSaveBackByteForByte) {
    test::BackOffice office;
    std::vector<QByteArray> files = DemoTemplates(office);
    ASSERT_EQ(files.size(), 6u);

    LabelTemplate all = NewTemplate();
    all.sheet = SheetLayout{3, 10, 18.5, 2.5, 0.25, 0, 1.1, 2};
    for (ElementKind kind : {ElementKind::Text, ElementKind::Field, ElementKind::Barcode,
                             ElementKind::Line, ElementKind::Rect, ElementKind::Image}) {
        Element e;
        e.kind = kind;
        e.x = 1.25;
        e.text = kind == ElementKind::Text ? QStringLiteral("Größe \"A&B\" <x>\n\t ") : QString();
        const bool data = kind == ElementKind::Field || kind == ElementKind::Barcode;
        e.name = data ? QStringLiteral("Stock.Unit_Price") : QString();
        e.format = kind == ElementKind::Field ? QStringLiteral("Currency") : QString();
        e.orName = kind == ElementKind::Barcode ? QStringLiteral("Stock.Stock_Id") : QString();
        e.width = kind == ElementKind::Line ? -3.5 : 12;
        e.image = kind == ElementKind::Image ? Png() : QByteArray();
        e.symbology = kind == ElementKind::Barcode ? Symbology::UpcA : Symbology::Code128;
        e.align = kind == ElementKind::Text ? Align::Right : Align::Left;
        e.filled = kind == ElementKind::Rect;
        all.elements.push_back(e);
    }
    files.push_back(SaveTemplate(all));

    for (const QByteArray& file : files) {
        QString error;
        const auto read = ParseTemplate(file, &error);
        ASSERT_TRUE(read) << error.toStdString() << "\n" << file.toStdString();
        EXPECT_EQ(SaveTemplate(*read), file);
    }
    EXPECT_EQ(ParseTemplate(files.back(), nullptr), all);
}

TEST(LabelTemplate, RefusesMalformedHostileAndAbsurdFilesSayingWhy) {
    const QByteArray page = R"(<page width="57.15" height="31.75" orientation="landscape"/>)";
    auto wrap = [&](const QByteArray& body) {
        return "<label-template version=\"1\">" + page + body + "</label-template>";
    };
    struct Case {
        QByteArray file;
        const char* why;
    } cases[] = {
        {"", "not well-formed"},
        {wrap("<text x=\"1\"").left(70), "not well-formed"},
        {"<?xml version=\"1.0\"?><!DOCTYPE t [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
         "\"&a;&a;&a;&a;&a;&a;&a;&a;\">]><label-template version=\"1\">&b;</label-template>",
         "document type"},
        {wrap("<script/>"), "Unknown element <script>"},
        {"<label-template version=\"1\"><text x=\"1\" y=\"1\" width=\"1\" height=\"1\" "
         "font=\"A\" size=\"8\" bold=\"false\" align=\"left\">x</text></label-template>",
         "must begin with its <page>"},
        {"<label-template version=\"2\">" + page + "</label-template>", "newer version"},
        {"<label-template version=\"1\"><page width=\"1e300\" height=\"30\" "
         "orientation=\"landscape\"/></label-template>",
         "is not a number from 5 to 2000"},
        {wrap(R"(<line x="1" y="1" width="1" height="nan" thickness="0.3"/>)"), "not a number"},
        {wrap(R"(<rect x="1" y="1" width="1" height="1" thickness="0.3" filled="yes"/>)"),
         "filled=\"yes\" is not one of"},
        {wrap(R"(<line x="1" y="1" width="1" height="1" thickness="0.3" onload="x"/>)"),
         "unknown attribute \"onload\""},
        {wrap(R"(<line x="90" y="1" width="1" height="1" thickness="0.3"/>)"), "outside the label"},
        {wrap(R"(<image x="1" y="1" width="1" height="1">bm90IGFuIGltYWdl</image>)"),
         "PNG or JPEG"},
        {"<label-template version=\"1\">" + page +
             R"(<sheet columns="3" rows="10" label-width="66.68" label-height="25.4" column-gap="3.18" row-gap="0" margin-left="4.76" margin-top="12.7"/></label-template>)",
         "do not fit on the page"},
        {"<label-template version=\"1\"><page width=\"30\" height=\"50\" "
         "orientation=\"landscape\"/></label-template>",
         "wider than tall"},
        {wrap(QByteArray(5 * 1024 * 1024, ' ')), "larger than 4 MB"},
    };
    for (const Case& c : cases) {
        QString error;
        EXPECT_FALSE(ParseTemplate(c.file, &error)) << c.why;
        EXPECT_TRUE(error.contains(QLatin1String(c.why))) << error.toStdString();
    }
}

// Mutations of a real template: flipped, dropped, doubled and inserted
// bytes and cuts. Each must read as a template or be refused with a reason,
// and whatever reads must save to a file that reads back the same.
TEST(LabelTemplate, TenThousandMutatedTemplatesNeverCrashTheReader) {
    test::BackOffice office;
    const QByteArray seed = DemoTemplates(office).front();
    std::mt19937 random(19);
    const QByteArray fragments[] = {
        "<",   ">",        "\"", "&", "&#0;", "]]>", "<!--", "<text>", "</label-template>",
        "=\"", "\xff\xfe", "e9", "-"};
    int read = 0;
    for (int i = 0; i < 10000; ++i) {
        QByteArray file = seed;
        const int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits && !file.isEmpty(); ++e) {
            const qsizetype at =
                static_cast<qsizetype>(random() % static_cast<unsigned>(file.size()));
            switch (random() % 5) {
                case 0:
                    file[at] = static_cast<char>(random() % 256);
                    break;
                case 1:
                    file.remove(at, 1 + static_cast<qsizetype>(random() % 16));
                    break;
                case 2:
                    file.insert(at, fragments[random() % std::size(fragments)]);
                    break;
                case 3:
                    file.insert(at, file.mid(at, static_cast<qsizetype>(random() % 64)));
                    break;
                default:
                    file.truncate(at);
                    break;
            }
        }
        QString error;
        const auto label = ParseTemplate(file, &error);
        if (label) {
            ++read;
            EXPECT_EQ(ParseTemplate(SaveTemplate(*label), nullptr), label);
        } else {
            EXPECT_FALSE(error.isEmpty());
        }
    }
    EXPECT_GT(read, 0);  // some mutations (a changed digit) still make a template
}

}  // namespace
}  // namespace vym::preview
