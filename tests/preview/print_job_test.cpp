#include "preview/print_job.h"

#include <gtest/gtest.h>

#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "support/qt/qt_printers.h"
#include "support/qt/run_tool.h"
#include "support/server/back_office.h"
#include "support/server/fault_injecting_connection.h"

namespace vym::preview {
namespace {

using test::RunTool;

constexpr long kShelfLabel = 4;

// Every barcode a scanner reads off the PDF's pages, sorted.
QStringList Decode(const QString& pdf) {
    const QString prefix = pdf + QStringLiteral("-page");
    RunTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"), pdf, prefix});
    QStringList pages;
    for (const QFileInfo& page :
         QDir(QFileInfo(pdf).path()).entryInfoList({QStringLiteral("*.png")})) {
        pages << page.filePath();
    }
    QStringList found =
        RunTool(QStringLiteral("zbarimg"),
                QStringList{QStringLiteral("--raw"), QStringLiteral("-q"), QStringLiteral("--set"),
                            QStringLiteral("upca.enable=1")} +
                    pages)
            .split(u'\n', Qt::SkipEmptyParts);
    found.sort();
    return found;
}

CPrintData StockRecord(const QString& description, const QString& upc, const QString& stockId) {
    CPrintData record;
    record.CreateIfNotFound = true;
    record.SetField(QStringLiteral("Stock.Description"), description);
    record.SetField(QStringLiteral("Stock.Unit_Price"), QStringLiteral("$24.95"));
    record.SetField(QStringLiteral("Stock.Stock_Size"), QStringLiteral("L"));
    record.SetField(QStringLiteral("Serial.UPC_Code"), upc);
    record.SetField(QStringLiteral("Stock.Stock_Id"), stockId);
    return record;
}

QStringList PrintAndDecode(test::BackOffice& office, const std::vector<LabelRun>& runs,
                           const QString& page) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    PdfOutput output(pdf);
    QString error;
    EXPECT_TRUE(
        PrintRecords(office.Db(), kShelfLabel, runs, QString(), page, PreviewMode::None, &error))
        << error.toStdString();
    return Decode(pdf);
}

TEST(PrintJob, StockLabelsOnRollsAndSheetsScanAsEachRecordsUpcOrStockId) {
    test::BackOffice office;
    // A roll prints a page a label, copies included.
    const std::vector<LabelRun> roll = {
        {StockRecord("Ski Gloves", "036000291452", "GLOVE-BLK-L"), 2},
        {StockRecord("Goggles", "", "GOGGLE-AMB"), 1},
        {StockRecord("Helmet", "012345678905", "HELMET-M"), 1},
    };
    EXPECT_EQ(PrintAndDecode(office, roll, QStringLiteral("2.25X1.25")),
              QStringList({"012345678905", "036000291452", "036000291452", "GOGGLE-AMB"}));
    // A scanner reports a value once a page, so the 32 labels of a sheet and
    // a half all differ: every other one has no UPC and scans as its stock id.
    std::vector<LabelRun> sheet;
    QStringList want;
    for (int i = 0; i < 32; ++i) {
        const QString upc =
            i % 2 == 0 ? QStringLiteral("0360002914%1").arg(i, 2, 10, QLatin1Char('0')) : QString();
        const QString stockId = QStringLiteral("GOGGLE-%1").arg(i);
        sheet.push_back({StockRecord("Goggles", upc, stockId), 1});
        want << (upc.isEmpty() ? stockId : upc);
    }
    want.sort();
    EXPECT_EQ(PrintAndDecode(office, sheet, QStringLiteral("LETTER30")), want);
}

LabelTemplate OneElement(const Element& element) {
    LabelTemplate label = NewTemplate();
    label.pageWidth = 100;
    label.pageHeight = 60;
    label.elements.push_back(element);
    return label;
}

// One 100 x 60 mm label of the record, written to `pdf`; its problems.
QString WriteLabel(const QString& pdf, const LabelTemplate& label, const CPrintData& record) {
    QPdfWriter writer(pdf);
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(60, 100), QPageSize::Millimeter),
                                     QPageLayout::Landscape, QMarginsF()));
    std::vector<QString> problems;
    EXPECT_TRUE(RenderLabels(writer, label, {LabelRun{record, 1}}, &problems));
    return problems.at(0);
}

QStringList RenderAndDecode(const LabelTemplate& label, const CPrintData& record,
                            QString* problems) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("code.pdf"));
    *problems = WriteLabel(pdf, label, record);
    return Decode(pdf);
}

TEST(PrintJob, EachSymbologyScansAsItsValueAndABadValuePrintsNoCode) {
    struct Case {
        Symbology symbology;
        QString value;
        bool valid;
    } cases[] = {
        {Symbology::Code128, "VYM-1001 / L", true},
        {Symbology::Ean13, "4006381333931", true},
        {Symbology::UpcA, "036000291452", true},
        {Symbology::Qr, "https://tickets.example/42?day=2", true},
        {Symbology::Ean13, "40063813339A1", false},  // a letter
        {Symbology::Ean13, "4006381333932", false},  // wrong check digit
        {Symbology::UpcA, "3600029145", false},      // short: would be padded into another code
        {Symbology::Code128, "Größe", false},
        {Symbology::Qr, "", false},
    };
    for (const Case& c : cases) {
        Element code;
        code.kind = ElementKind::Barcode;
        code.x = code.y = 5;
        code.width = 80;
        code.height = 45;
        code.symbology = c.symbology;
        code.name = QStringLiteral("Item.Code");
        CPrintData record({QStringLiteral("Item.Code")});
        record.SetField(QStringLiteral("item.code"), c.value);
        QString problems;
        const QStringList decoded = RenderAndDecode(OneElement(code), record, &problems);
        EXPECT_EQ(decoded, c.valid ? QStringList{c.value} : QStringList{}) << c.value.toStdString();
        EXPECT_EQ(problems.isEmpty(), c.valid) << c.value.toStdString();
    }
}

// Word boxes of pdftotext -bbox in millimetres: xMin, yMin, xMax by word.
std::map<QString, std::array<double, 3>> WordBoxes(const QString& pdf) {
    const QString html =
        RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    static const QRegularExpression kWord(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re"));
    std::map<QString, std::array<double, 3>> boxes;
    for (auto it = kWord.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const double mm = 25.4 / 72;
        boxes[m.captured(4)] = {m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm,
                                m.captured(3).toDouble() * mm};
    }
    return boxes;
}

TEST(PrintJob, TextLandsWhereTheTemplatePlacesItWithinHalfAMillimetre) {
    LabelTemplate label = NewTemplate();
    label.pageWidth = 100;
    label.pageHeight = 60;
    struct Placed {
        const char* word;
        double x, y, width;
        Align align;
        double size;
    } placed[] = {{"ALPHA", 5, 4, 40, Align::Left, 10},
                  {"OMEGA", 20, 20, 30, Align::Right, 14},
                  {"DELTA", 10.5, 40.25, 50, Align::Left, 7}};
    for (const Placed& p : placed) {
        Element e;
        e.kind = ElementKind::Text;
        e.text = QLatin1String(p.word);
        e.x = p.x;
        e.y = p.y;
        e.width = p.width;
        e.height = 10;
        e.align = p.align;
        e.size = p.size;
        label.elements.push_back(e);
    }
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("text.pdf"));
    WriteLabel(pdf, label, CPrintData());
    const auto boxes = WordBoxes(pdf);
    for (const Placed& p : placed) {
        ASSERT_TRUE(boxes.contains(QLatin1String(p.word))) << p.word;
        const auto& box = boxes.at(QLatin1String(p.word));
        const double edge = p.align == Align::Right ? box[2] : box[0];
        EXPECT_NEAR(edge, p.align == Align::Right ? p.x + p.width : p.x, 0.5) << p.word;
        EXPECT_NEAR(box[1], p.y, 0.5) << p.word;
    }
}

TEST(PrintJob, AFormatResolvesToTheTemplateOfItsPageAndCustomerLevelAndATextOneReadsAsText) {
    test::BackOffice office;
    const long binTag = office.Scalar(
        "SELECT format_no FROM vym_print_format WHERE description = 'Bin Tag (Text)'");
    struct Case {
        long format;
        QString page, level;
        QString printer, expectedPage, expectedLevel;
    } cases[] = {
        {kShelfLabel, "2.25X1.25", "", "THERMAL", "2.25X1.25", "None"},
        {kShelfLabel, "letter30", "", "LASER", "LETTER30", "None"},
        {kShelfLabel, "", "", "LASER", "LETTER30", "None"},    // default printer: the first
        {kShelfLabel, "A4", "", "LASER", "LETTER30", "None"},  // no A4 template: the first
        {2, "CR80", "GOLD", "CARD", "CR80", "GOLD"},
        {2, "CR80", "SILVER", "CARD", "CR80", "None"},  // no silver card: the plain one
        {2, "CR80", "x' OR '1'='1", "CARD", "CR80", "None"},
        {binTag, "", "", "THERMAL", "2.25X1.25", "None"},
    };
    for (const Case& c : cases) {
        QString error;
        const auto found = ResolveTemplate(office.Db(), c.format, c.page, c.level, &error);
        ASSERT_TRUE(found) << error.toStdString();
        EXPECT_EQ(found->printerTypeId + "/" + found->pageSizeId + "/" + found->customerLevelId,
                  c.printer + "/" + c.expectedPage + "/" + c.expectedLevel)
            << c.page.toStdString() << " " << c.level.toStdString();
        EXPECT_EQ(found->textOnly, c.format == binTag);
    }
    QString error;
    EXPECT_FALSE(ResolveTemplate(office.Db(), 5, QString(), QString(), &error));
    EXPECT_EQ(error, "Print format 5 has no template.");

    // A text-only template prints the record's values as plain text.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("tag.pdf"));
    PdfOutput output(pdf);
    ASSERT_TRUE(PrintRecord(office.Db(), binTag, StockRecord("Ski Gloves", "", "GLOVE-BLK-L"), 1,
                            QString(), QString(), PreviewMode::None, &error))
        << error.toStdString();
    const QString text =
        RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QLatin1String("Ski Gloves"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("$24.95"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Stock GLOVE-BLK-L +UPC\n"))))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1String("{{"))) << text.toStdString();

    // Pages that cannot be written are not printed.
    {
        PdfOutput nowhere(dir.filePath(QStringLiteral("missing/tag.pdf")));
        EXPECT_FALSE(PrintRecord(office.Db(), binTag, CPrintData(), 1, QString(), QString(),
                                 PreviewMode::None, &error));
        EXPECT_EQ(error, "The pages could not be written.");
    }

    // A locked database prints nothing and says why.
    office.Faults().FailEveryCall(test::FaultInjectingConnection::Fault::Locked);
    QFile::remove(pdf);
    EXPECT_FALSE(PrintRecord(*office.Server().DBConnection(), binTag, CPrintData(), 1, QString(),
                             QString(), PreviewMode::None, &error));
    EXPECT_TRUE(error.contains(QLatin1String("locked"), Qt::CaseInsensitive))
        << error.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

}  // namespace
}  // namespace vym::preview
