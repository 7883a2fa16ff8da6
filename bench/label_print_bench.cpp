// Printing a label run and designing a large label.
//
//   label_print_bench    1,000 stock labels of the demo shelf label (roll)
//                        printed to one PDF (target 3 s), against painting the
//                        same labels' bars and texts onto a blank PDF without
//                        the template, the data or the barcode encoder; and
//                        the frames per second the designer draws while an
//                        element is dragged on a 200-element label (target 60).

#include <QApplication>
#include <QElapsedTimer>
#include <QGraphicsView>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>

#include "bench_support.h"
#include "preview/print_job.h"
#include "preview/template_designer.h"

namespace {

using namespace vym::preview;

std::vector<LabelRun> StockRuns(int count) {
    std::vector<LabelRun> runs;
    for (int i = 0; i < count; ++i) {
        CPrintData record;
        record.CreateIfNotFound = true;
        record.SetField(QStringLiteral("Stock.Description"),
                        QStringLiteral("Ski Gloves %1").arg(i));
        record.SetField(QStringLiteral("Stock.Unit_Price"), QStringLiteral("24.95"));
        record.SetField(QStringLiteral("Stock.Stock_Size"), QStringLiteral("L"));
        record.SetField(QStringLiteral("Stock.Stock_Id"),
                        QStringLiteral("GLOVE-%1").arg(i, 5, 10, QLatin1Char('0')));
        runs.push_back({record, 1});
    }
    return runs;
}

// The floor: one PDF page a label with the same number of filled rectangles
// and texts, nothing looked up, parsed or encoded.
double RawPdfMs(int labels, int bars, const QString& path) {
    QElapsedTimer timer;
    timer.start();
    QPdfWriter writer(path);
    writer.setResolution(600);
    writer.setPageLayout(QPageLayout(QPageSize(QSizeF(31.75, 57.15), QPageSize::Millimeter),
                                     QPageLayout::Landscape, QMarginsF()));
    QPainter painter(&writer);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (int i = 0; i < labels; ++i) {
        if (i > 0) {
            writer.newPage();
        }
        for (int b = 0; b < bars; ++b) {
            painter.drawRect(QRectF(100 + b * 12, 400, 6, 300));
        }
        painter.setPen(Qt::black);
        painter.drawText(QPointF(50, 100), QStringLiteral("Ski Gloves %1").arg(i));
        painter.drawText(QPointF(50, 200), QStringLiteral("Size L"));
        painter.drawText(QPointF(600, 200), QStringLiteral("$24.95"));
        painter.setPen(Qt::NoPen);
    }
    painter.end();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double PrintMs(vym::Connection& db, int labels, const QString& path) {
    const std::vector<LabelRun> runs = StockRuns(labels);
    PdfOutput output(path);
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!PrintRecords(db, 4, runs, QString(), QStringLiteral("2.25X1.25"), PreviewMode::None,
                      &error)) {
        std::fprintf(stderr, "printing failed: %s\n", qPrintable(error));
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

LabelTemplate LargeLabel(int elements) {
    LabelTemplate label = NewTemplate();
    label.pageWidth = 210;
    label.pageHeight = 297;
    label.landscape = false;
    for (int i = 0; i < elements; ++i) {
        Element e;
        e.kind = i % 10 == 0  ? ElementKind::Barcode
                 : i % 3 == 0 ? ElementKind::Rect
                              : ElementKind::Field;
        e.x = (i % 10) * 20 + 1;
        e.y = (i / 10) * 14 + 1;
        e.width = 18;
        e.height = 12;
        e.name = QStringLiteral("Stock.Description");
        label.elements.push_back(e);
    }
    return label;
}

// Drags the first element across the label, drawing the whole view after
// every mouse move (more than the screen redraws); frames per second. The
// element's final position shows that the drag did move it.
double DragFps(int elements, int moves) {
    TemplateDesigner designer;
    designer.RegisterFields({QStringLiteral("Stock.Description")});
    designer.Load(LargeLabel(elements));
    designer.resize(1200, 900);
    designer.show();
    auto* view = designer.findChild<QGraphicsView*>(QStringLiteral("viewLabel"));
    QWidget* viewport = view->viewport();
    const QPoint start = view->mapFromScene(QPointF(100, 60));
    auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    };
    QImage frame(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    viewport->render(&frame);
    QElapsedTimer timer;
    timer.start();
    for (int i = 1; i <= moves; ++i) {
        send(QEvent::MouseMove, start + QPoint(i * 3, i * 2), Qt::LeftButton);
        viewport->render(&frame);
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    send(QEvent::MouseButtonRelease, start + QPoint(moves * 3, moves * 2), Qt::NoButton);
    const Element& moved = designer.Label().elements.front();
    std::printf("dragged element now at %.0f, %.0f mm (from 1, 1)\n", moved.x, moved.y);
    return moves / seconds;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vym::server::OpenOptions options;
    options.demoData = true;
    vym::bench::BenchDatabase database("labels", options);
    QTemporaryDir dir;
    constexpr int kLabels = 1000;
    // Paired in one run: ours, then the floor, then ours again to show the spread.
    const double ours = PrintMs(database.DB(), kLabels, dir.filePath(QStringLiteral("ours.pdf")));
    const double raw = RawPdfMs(kLabels, 60, dir.filePath(QStringLiteral("raw.pdf")));
    const double again = PrintMs(database.DB(), kLabels, dir.filePath(QStringLiteral("again.pdf")));
    const double fps = DragFps(200, 120);
    std::printf("%-46s %10s %10s\n", "", "value", "target");
    std::printf("%-46s %10.0f %10s\n", "1,000 shelf labels to one PDF (ms)", ours, "3000");
    std::printf("%-46s %10.0f\n", "same again (ms)", again);
    std::printf("%-46s %10.0f\n", "bare QPdfWriter, same pages and bars (ms)", raw);
    std::printf("%-46s %10.2f\n", "ratio ours / bare", ours / raw);
    std::printf("%-46s %10.1f %10s\n", "designer drag, 200 elements (frames/s)", fps, "60");
    return 0;
}
