#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "gateway/connection.h"
#include "preview/label_template.h"
#include "preview/print_data.h"

class QPagedPaintDevice;

namespace vym::preview {

// "None" prints straight away; Preview shows the pages first and prints
// when the user asks.
enum class PreviewMode { None, Preview };

// A record and how many labels of it to print.
struct LabelRun {
    CPrintData record;
    int copies = 1;
};

// The stored template a format prints with for a printer and page size.
struct ResolvedTemplate {
    QString printerTypeId, pageSizeId, customerLevelId;
    bool textOnly = false;  // a CUSTOM template
    QByteArray content;
    double pageWidth = 0, pageHeight = 0;  // mm, of the page size row
};

// The template of `formatNo` for `pageSize` and the record's customer
// level. A format without a template for that page (or when the default
// printer is asked for, with no page) prints with its first template:
// one not tied to a customer level before one that is, then by printer
// type and page size. Nullopt with the reason when the format has none.
std::optional<ResolvedTemplate> ResolveTemplate(Connection& db, long formatNo,
                                                const QString& pageSize,
                                                const QString& customerLevel, QString* error);

// Prints the runs in one job with the template of the format, in order; an
// empty printer name means the default printer. Where no printer is
// installed the pages go to a PDF file the user chooses. What became of each
// run, in order: empty when it printed, else why not. What stops the job (no
// template, no printer, pages that cannot be written) is every run's reason;
// a barcode that could not be encoded is its own run's only: that label
// prints with a placeholder and the run counts as not printed.
std::vector<QString> PrintRuns(Connection& db, long formatNo, const std::vector<LabelRun>& runs,
                               const QString& printerName, const QString& pageSize,
                               PreviewMode mode);
// The same, true when every run printed; the reasons of the others in `error`.
bool PrintRecords(Connection& db, long formatNo, const std::vector<LabelRun>& runs,
                  const QString& printerName, const QString& pageSize, PreviewMode mode,
                  QString* error);
// `copies` labels of one record.
bool PrintRecord(Connection& db, long formatNo, const CPrintData& record, int copies,
                 const QString& printerName, const QString& pageSize, PreviewMode mode,
                 QString* error);

// Sends every print job to a PDF file instead of a printer while it lives:
// the first job to `path`, each later one beside it with its number
// ("labels-2.pdf"), so that a run of jobs keeps every job's pages.
class PdfOutput {
  public:
    explicit PdfOutput(const QString& path);
    ~PdfOutput();
    PdfOutput(const PdfOutput&) = delete;
    PdfOutput& operator=(const PdfOutput&) = delete;

    // The files the jobs went to, in the order they were printed.
    const QStringList& Files() const { return files_; }
    // The file of the next job.
    QString NextFile();

  private:
    QString path_;
    QStringList files_;
    PdfOutput* previous_;
};

// The pages of a label run on any paged device (printer, PDF writer);
// labels fill a sheet's positions row by row. Each run's problems, as
// PaintLabel reports them, go to its entry of `problems` (as many as runs).
// False when the device could not be painted on: nothing was printed.
bool RenderLabels(QPagedPaintDevice& device, const LabelTemplate& label,
                  const std::vector<LabelRun>& runs, std::vector<QString>* problems);
// A text-only template with {{table.field}} replaced by the record's values.
QString FillTextTemplate(const QString& text, const CPrintData& record);

}  // namespace vym::preview
