#include "editors/frm_import.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "base/prompter.h"
#include "host/screen_context.h"
#include "ui/flex_grid.h"
#include "ui/qt_text.h"
#include "ui_frm_import.h"

namespace vym {
namespace {

using ui::FlexGrid;
using ui::Q;
using ui::S;

constexpr const char* kTitle = "Import";
constexpr const char* kCsvFilter = "CSV files (*.csv);;All files (*)";
constexpr int kProgressSteps = 1000;

std::filesystem::path PathOf(const QString& path) {
    return std::filesystem::path(path.toStdU16String());
}

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(PathOf(Q(path)), std::ios::binary | std::ios::trunc);
    out << text;
    if (out.flush()) {
        return true;
    }
    MsgBox("The file \"" + path + "\" can not be written.", kExclamation, kTitle);
    return false;
}

}  // namespace

frmImport::frmImport(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::frmImport>()) {
    ui_->setupUi(this);
    FlexGrid& grid = *ui_->fgRows;
    grid.SetFormatString(">Line|<Fate|<Key|<Details");
    grid.DefineRowStyle("New", QColor(0xE4, 0xF4, 0xE4));
    grid.DefineRowStyle("Changed", QColor(0xFF, 0xF6, 0xD5));
    grid.DefineRowStyle("Refused", QColor(0xFB, 0xE3, 0xE3));
    ui_->prgImport->setRange(0, kProgressSteps);
    ui_->prgImport->setValue(0);
    connect(ui_->cmdBrowse, &QPushButton::clicked, this, &frmImport::Browse);
    connect(ui_->cmdTemplate, &QPushButton::clicked, this, &frmImport::ExportTemplate);
    connect(ui_->cmdDryRun, &QPushButton::clicked, this, &frmImport::DryRun);
    connect(ui_->cmdImport, &QPushButton::clicked, this, &frmImport::Import);
    connect(ui_->cmdSaveRefused, &QPushButton::clicked, this, &frmImport::SaveRefused);
    connect(ui_->cmdStop, &QPushButton::clicked, this, [this] { stopRequested_ = true; });
    connect(ui_->cmdClose, &QPushButton::clicked, this, &frmImport::reject);
    // A dry run holds for the file and kind it read.
    connect(ui_->txtFile, &QLineEdit::textEdited, this, &frmImport::Invalidate);
    connect(ui_->cmbKind, &QComboBox::currentIndexChanged, this, &frmImport::Invalidate);
    SetWorking(false);
}

frmImport::~frmImport() = default;

bool frmImport::Setup(ScreenContext* itemMaint) {
    db_ = itemMaint != nullptr ? itemMaint->DBConnection().get() : nullptr;
    return db_ != nullptr;
}

void frmImport::SetFile(const QString& path) {
    ui_->txtFile->setText(path);
    Invalidate();
}

void frmImport::reject() {
    stopRequested_ = true;
    if (!working_) {
        QDialog::reject();
    }
}

ImportKind frmImport::Kind() const {
    return ui_->cmbKind->currentIndex() == 1 ? ImportKind::Prices : ImportKind::StockItems;
}

// Buttons that start work are off while it runs, Stop only then; Import and
// Save Refused Rows need a dry run with rows of their kind.
void frmImport::SetWorking(bool working) {
    working_ = working;
    const bool read = import_ != nullptr;
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui_->txtFile, ui_->cmdBrowse, ui_->cmbKind,
                                         ui_->cmdTemplate, ui_->cmdDryRun, ui_->cmdClose}) {
        w->setEnabled(!working);
    }
    ui_->cmdStop->setEnabled(working);
    ui_->cmdImport->setEnabled(!working && read &&
                               import_->Count(RowFate::New) + import_->Count(RowFate::Changed) > 0);
    ui_->cmdSaveRefused->setEnabled(!working && read && import_->Count(RowFate::Refused) > 0);
}

void frmImport::Invalidate() {
    import_.reset();
    ui_->fgRows->Clear();
    ui_->lblSummary->clear();
    ui_->prgImport->setValue(0);
    SetWorking(false);
}

ImportProgress frmImport::Progress() {
    stopRequested_ = false;
    return [this, self = QPointer<frmImport>(this)](std::uint64_t done, std::uint64_t total) {
        ui_->prgImport->setValue(total == 0 ? kProgressSteps
                                            : static_cast<int>(done * kProgressSteps / total));
        DoEvents();
        return self && !stopRequested_;
    };
}

void frmImport::Browse() {
    if (auto path = CurrentPrompter().OpenFile(kTitle, kCsvFilter, S(ui_->txtFile->text()))) {
        SetFile(Q(*path));
    }
}

void frmImport::ExportTemplate() {
    const bool stock = Kind() == ImportKind::StockItems;
    if (auto path = CurrentPrompter().SaveFile("Export Template", kCsvFilter,
                                               stock ? "stock-items.csv" : "prices.csv")) {
        WriteFile(*path, CatalogueImport::Template(Kind()));
    }
}

bool frmImport::DryRun() {
    Invalidate();
    const QString path = ui_->txtFile->text().trimmed();
    if (path.isEmpty() || db_ == nullptr) {
        MsgBox("Choose the file to import.", kInformation, kTitle);
        ui_->txtFile->setFocus();
        return false;
    }
    std::ifstream file(PathOf(path), std::ios::binary);
    if (!file) {
        MsgBox("The file \"" + S(path) + "\" can not be read.", kExclamation, kTitle);
        return false;
    }
    auto import = std::make_unique<CatalogueImport>(*db_, Kind());
    QPointer<frmImport> self(this);
    SetWorking(true);
    const ImportOutcome outcome = import->DryRun(file, Progress());
    if (!self) {
        return false;
    }
    if (outcome == ImportOutcome::Done) {
        import_ = std::move(import);
        FillRows();
        ShowSummary();
    } else if (outcome == ImportOutcome::Stopped) {
        ui_->lblSummary->setText("The dry run was stopped.");
    } else {
        MsgBox(import->Message(), kExclamation, kTitle);
    }
    SetWorking(false);
    return outcome == ImportOutcome::Done;
}

void frmImport::FillRows() {
    FlexGrid& grid = *ui_->fgRows;
    grid.BeginBulkLoad();
    for (std::size_t i = 0; i < import_->RowCount(); ++i) {
        const ImportRow& row = import_->Row(i);
        const QString fate = CatalogueImport::FateText(row.fate);
        grid.AddRow({QString::number(row.line), fate, Q(row.key), Q(row.details)});
        if (row.fate != RowFate::Unchanged) {
            grid.SetRowStyle(grid.Rows() - 1, fate);
        }
    }
    grid.EndBulkLoad();
    grid.AutoSizeColumns();
}

void frmImport::ShowSummary() {
    QString text = QString("%1 new, %2 changed, %3 unchanged, %4 refused.")
                       .arg(import_->Count(RowFate::New))
                       .arg(import_->Count(RowFate::Changed))
                       .arg(import_->Count(RowFate::Unchanged))
                       .arg(import_->Count(RowFate::Refused));
    for (const std::string& note : import_->Notes()) {
        text += " " + Q(note);
    }
    ui_->lblSummary->setText(text);
}

void frmImport::Import() {
    const std::int64_t rows = import_->Count(RowFate::New) + import_->Count(RowFate::Changed);
    if (MsgBox("Import " + std::to_string(rows) + (rows == 1 ? " row" : " rows") +
                   "? The unchanged and refused rows are left as they are.",
               kQuestionYesNo, kTitle) != MsgResult::Yes) {
        return;
    }
    QPointer<frmImport> self(this);
    SetWorking(true);
    const ImportOutcome outcome = import_->Commit(Progress());
    if (!self) {
        return;
    }
    if (outcome == ImportOutcome::Done) {
        // What was imported is no longer to import: the next import needs a new dry run.
        Invalidate();
        ui_->lblSummary->setText(
            QString("Imported %1 %2.").arg(rows).arg(rows == 1 ? "row" : "rows"));
        MsgBox("Imported " + std::to_string(rows) + (rows == 1 ? " row." : " rows."), kInformation,
               kTitle);
        return;
    }
    SetWorking(false);
    MsgBox(outcome == ImportOutcome::Stopped ? "The import was stopped. Nothing was imported."
                                             : import_->Message(),
           kExclamation, kTitle);
}

void frmImport::SaveRefused() {
    const QFileInfo source(ui_->txtFile->text());
    const QString suggested = source.completeBaseName() + "-refused.csv";
    if (auto path = CurrentPrompter().SaveFile("Save Refused Rows", kCsvFilter,
                                               S(source.dir().filePath(suggested)))) {
        WriteFile(*path, import_->RefusedCsv());
    }
}

}  // namespace vym
