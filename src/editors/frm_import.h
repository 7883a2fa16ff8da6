#pragma once

#include <QDialog>
#include <QString>
#include <memory>

#include "model/catalogue_import.h"

namespace Ui {
class frmImport;
}

namespace vym {

class ScreenContext;

// "Import": stock items or prices from a CSV file. The dry run lists every
// row of the file with its fate (new, changed, unchanged, refused and why)
// and saves nothing; Import then saves the new and changed rows in one
// transaction. The refused rows can be saved as a file to fix and import
// again, and the header line of either kind as a template. Reading and saving
// show their progress and stop at Stop, leaving the database as it was.
class frmImport : public QDialog {
    Q_OBJECT

  public:
    explicit frmImport(QWidget* parent = nullptr);
    ~frmImport() override;

    // Keeps the connection of itemMaint (not owned). False without one.
    bool Setup(ScreenContext* itemMaint);
    // The file to import, as if typed.
    void SetFile(const QString& path);
    // Reads the file and lists its rows; False when the file was refused,
    // could not be read or the user stopped.
    bool DryRun();

  protected:
    // Esc stops the work under way; without any, it closes the screen.
    void reject() override;

  private:
    ImportKind Kind() const;
    void Browse();
    void ExportTemplate();
    void Import();
    void SaveRefused();
    void FillRows();
    void ShowSummary();
    void Invalidate();
    void SetWorking(bool working);
    ImportProgress Progress();

    std::unique_ptr<Ui::frmImport> ui_;
    Connection* db_ = nullptr;
    std::unique_ptr<CatalogueImport> import_;
    bool stopRequested_ = false;
    bool working_ = false;
};

}  // namespace vym
