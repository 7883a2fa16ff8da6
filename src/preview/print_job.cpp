#include "preview/print_job.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

#include "base/error.h"
#include "base/prompter.h"
#include "gateway/sql_quote.h"
#include "preview/label_painter.h"
#include "ui/modal_runner.h"
#include "ui/qt_text.h"

namespace vym::preview {
namespace {

PdfOutput*& CurrentPdfOutput() {
    static PdfOutput* output = nullptr;
    return output;
}

QPageLayout LayoutFor(double width, double height, bool landscape) {
    // A page size is given upright; a landscape page turns it.
    const QSizeF upright = landscape ? QSizeF(height, width) : QSizeF(width, height);
    return QPageLayout(QPageSize(upright, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

bool RenderText(QPagedPaintDevice& device, const QString& text, const std::vector<LabelRun>& runs) {
    QPainter painter(&device);
    if (!painter.isActive()) {
        return false;
    }
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(std::max(1, device.logicalDpiY() * 9 / 72));
    painter.setFont(font);
    bool first = true;
    for (const LabelRun& run : runs) {
        const QString page = FillTextTemplate(text, run.record);
        for (int copy = 0; copy < run.copies; ++copy) {
            if (!first) {
                device.newPage();
            }
            first = false;
            painter.drawText(
                QRectF(QPointF(), device.pageLayout().paintRectPixels(device.logicalDpiX()).size()),
                Qt::AlignLeft | Qt::AlignTop, page);
        }
    }
    return painter.end();
}

// Where the pages go: a PDF file when one is asked for or no printer is
// installed, else the named (or default) printer.
std::unique_ptr<QPagedPaintDevice> OpenDevice(const QString& printerName, QString* error) {
    std::optional<QString> path;
    if (CurrentPdfOutput() != nullptr) {
        path = CurrentPdfOutput()->NextFile();
    }
    if (!path && QPrinterInfo::availablePrinterNames().isEmpty()) {
        const auto chosen =
            CurrentPrompter().SaveFile("Print To PDF File", "PDF (*.pdf)|*.pdf", "labels.pdf");
        if (!chosen) {
            *error = QStringLiteral("No printer is installed and no PDF file was chosen.");
            return nullptr;
        }
        path = ui::Q(*chosen);
    }
    if (path) {
        auto writer = std::make_unique<QPdfWriter>(*path);
        writer->setResolution(600);
        writer->setCreator(QStringLiteral("VYMItem"));
        return writer;
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (!printerName.isEmpty()) {
        printer->setPrinterName(printerName);
    }
    if (!printer->isValid()) {
        *error = QStringLiteral("The printer \"%1\" is not installed.").arg(printerName);
        return nullptr;
    }
    return printer;
}

// Each run's problems, as RenderLabels reports them.
std::vector<QString> Render(QPagedPaintDevice& device, const ResolvedTemplate& resolved,
                            const std::optional<LabelTemplate>& label,
                            const std::vector<LabelRun>& runs) {
    std::vector<QString> problems(runs.size());
    bool painted = false;
    if (label) {
        device.setPageLayout(LayoutFor(label->pageWidth, label->pageHeight, label->landscape));
        painted = RenderLabels(device, *label, runs, &problems);
    } else {
        device.setPageLayout(LayoutFor(resolved.pageWidth, resolved.pageHeight,
                                       resolved.pageWidth > resolved.pageHeight));
        painted = RenderText(device, QString::fromUtf8(resolved.content), runs);
    }
    if (!painted) {
        problems.assign(runs.size(), QStringLiteral("The pages could not be written."));
    }
    return problems;
}

// The problems of the pages as last drawn, for the preview or the printer.
std::vector<QString> ShowPreview(const ResolvedTemplate& resolved,
                                 const std::optional<LabelTemplate>& label,
                                 const std::vector<LabelRun>& runs) {
    std::vector<QString> problems(runs.size());
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&](QPrinter* target) { problems = Render(*target, resolved, label, runs); });
    ui::RunModal(dialog);
    return problems;
}

}  // namespace

std::optional<ResolvedTemplate> ResolveTemplate(Connection& db, long formatNo,
                                                const QString& pageSize,
                                                const QString& customerLevel, QString* error) {
    const std::string sql =
        "SELECT t.printer_type_id, t.page_size_id, t.customer_level_id, t.template_type, "
        "t.format_template, p.width_mm, p.height_mm FROM vym_print_format_template t "
        "JOIN vym_printer_type_page_size p ON p.printer_type_id = t.printer_type_id "
        "AND p.page_size_id = t.page_size_id WHERE t.format_no = " +
        std::to_string(formatNo) +
        " ORDER BY CASE WHEN t.page_size_id = " + SqlQuote(ui::S(pageSize)) +
        " THEN 0 ELSE 1 END, CASE WHEN t.customer_level_id = " + SqlQuote(ui::S(customerLevel)) +
        " THEN 0 WHEN t.customer_level_id = 'None' THEN 1 ELSE 2 END, t.printer_type_id, "
        "t.page_size_id";
    const std::unique_ptr<Recordset> rows = db.OpenRecordset(sql);
    if (rows->Eof()) {
        *error = QStringLiteral("Print format %1 has no template.").arg(formatNo);
        return std::nullopt;
    }
    ResolvedTemplate found;
    found.printerTypeId = ui::FieldText(*rows, "printer_type_id");
    found.pageSizeId = ui::FieldText(*rows, "page_size_id");
    found.customerLevelId = ui::FieldText(*rows, "customer_level_id");
    found.textOnly =
        ui::FieldText(*rows, "template_type").compare(u"CUSTOM", Qt::CaseInsensitive) == 0;
    const vym::Value content = rows->Fields("format_template").Value();
    if (!content.IsNull()) {
        const Bytes bytes = content.ToBytes();
        found.content = QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                   static_cast<qsizetype>(bytes.size()));
    }
    found.pageWidth = rows->Fields("width_mm").Value().ToDouble();
    found.pageHeight = rows->Fields("height_mm").Value().ToDouble();
    return found;
}

std::vector<QString> PrintRuns(Connection& db, long formatNo, const std::vector<LabelRun>& runs,
                               const QString& printerName, const QString& pageSize,
                               PreviewMode mode) {
    if (runs.empty()) {
        return {};
    }
    QString error;
    const auto everyRun = [&] { return std::vector<QString>(runs.size(), error); };
    std::optional<ResolvedTemplate> resolved;
    try {
        resolved = ResolveTemplate(
            db, formatNo, pageSize,
            runs.front().record.Field(QStringLiteral("Customer.Customer_Level_No")), &error);
    } catch (const vym::Error& failure) {
        // The caller shows its own message; the reason goes with it.
        error = ui::Q(failure.Description());
    }
    if (!resolved) {
        return everyRun();
    }
    std::optional<LabelTemplate> label;
    if (!resolved->textOnly) {
        QString why;
        label = ParseTemplate(resolved->content, &why);
        if (!label) {
            error = QStringLiteral("The template of print format %1 cannot be read: %2")
                        .arg(formatNo)
                        .arg(why);
            return everyRun();
        }
    }
    if (mode == PreviewMode::Preview) {
        return ShowPreview(*resolved, label, runs);
    }
    const std::unique_ptr<QPagedPaintDevice> device = OpenDevice(printerName, &error);
    if (!device) {
        return everyRun();
    }
    return Render(*device, *resolved, label, runs);
}

bool PrintRecords(Connection& db, long formatNo, const std::vector<LabelRun>& runs,
                  const QString& printerName, const QString& pageSize, PreviewMode mode,
                  QString* error) {
    QStringList reasons;
    for (const QString& reason : PrintRuns(db, formatNo, runs, printerName, pageSize, mode)) {
        if (!reason.isEmpty() && !reasons.contains(reason)) {
            reasons << reason;
        }
    }
    if (error != nullptr) {
        *error = reasons.join(u'\n');
    }
    return reasons.isEmpty();
}

bool PrintRecord(Connection& db, long formatNo, const CPrintData& record, int copies,
                 const QString& printerName, const QString& pageSize, PreviewMode mode,
                 QString* error) {
    return PrintRecords(db, formatNo, {LabelRun{record, copies}}, printerName, pageSize, mode,
                        error);
}

PdfOutput::PdfOutput(const QString& path) : path_(path), previous_(CurrentPdfOutput()) {
    CurrentPdfOutput() = this;
}

PdfOutput::~PdfOutput() {
    CurrentPdfOutput() = previous_;
}

QString PdfOutput::NextFile() {
    QString file = path_;
    if (!files_.isEmpty()) {
        const QFileInfo info(path_);
        file = info.dir().filePath(QStringLiteral("%1-%2.%3")
                                       .arg(info.completeBaseName())
                                       .arg(files_.size() + 1)
                                       .arg(info.suffix()));
    }
    files_ << file;
    return file;
}

bool RenderLabels(QPagedPaintDevice& device, const LabelTemplate& label,
                  const std::vector<LabelRun>& runs, std::vector<QString>* problems) {
    problems->assign(runs.size(), QString());
    QPainter painter(&device);
    if (!painter.isActive()) {
        return false;
    }
    const double pxPerMm = device.logicalDpiX() / 25.4;
    const int perPage = label.LabelsPerPage();
    int position = 0;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        QStringList found;
        for (int copy = 0; copy < runs[r].copies; ++copy, ++position) {
            if (position > 0 && position % perPage == 0) {
                device.newPage();
            }
            // A problem with a record's barcode is told once, not once a copy.
            PaintLabel(painter, label, runs[r].record, LabelOrigin(label, position) * pxPerMm,
                       pxPerMm, copy == 0 ? &found : nullptr);
        }
        (*problems)[r] = found.join(u'\n');
    }
    return painter.end();
}

QString FillTextTemplate(const QString& text, const CPrintData& record) {
    static const QRegularExpression kField(
        QStringLiteral(R"(\{\{\s*([A-Za-z0-9_]+\.[A-Za-z0-9_]+)\s*\}\})"));
    QString out;
    qsizetype from = 0;
    for (auto match = kField.globalMatch(text); match.hasNext();) {
        const QRegularExpressionMatch m = match.next();
        out += text.mid(from, m.capturedStart() - from) + record.Field(m.captured(1));
        from = m.capturedEnd();
    }
    return out + text.mid(from);
}

}  // namespace vym::preview
