#pragma once

#include <QDialog>
#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "gateway/error_trap.h"

class QMenu;
class QAction;

namespace Ui {
class frmTemplates;
}

namespace vym::preview {
class TemplatePreview;
}

namespace vym {

class CTemplate;
class Connection;
class ErrorObject;
class ScreenContext;

// The template manager ("Templates"): print formats by type in a tree, down
// to their templates by printer type, page size and customer level. Formats
// are added, renamed and deleted from the tree's context menu; a template is
// shown on the right (its text, or the preview of a graphical one), edited,
// imported, exported and saved with Apply or OK.
class frmTemplates : public QDialog {
    Q_OBJECT

  public:
    explicit frmTemplates(QWidget* parent = nullptr);
    ~frmTemplates() override;

    // Shows the formats of sFormatType ("STOCK", "ITEM" or "CLUB"; every type
    // when empty). False when the lists could not be read (reported under
    // "frmTemplates Setup").
    bool Setup(ScreenContext* itemMaint, const QString& sFormatType = {});
    // Stores the current template when it has changes; False, with the entry
    // kept, after telling why or when the database refused.
    bool SaveData();
    // The format of the selected node (0 for a type node or none), which OK
    // hands back in selection mode.
    std::int32_t SelectedFormat() const;

  private:
    void SetupTree();
    void SetupBranch(const QString& type);
    void AddTemplateRow(const QString& formatKey, const QString& printer, const QString& page,
                        const QString& level, const QString& description);
    void tvwTemplates_NodeSelected(const QString& key);
    // Asks to save unsaved changes; False when the user stays where he is.
    bool ConfirmLeave();
    void SelectCurrentTemplate(const QString& key);
    void DisplayTemplate();
    void UpdateCommands();
    void WatchTemplate();
    void TemplateCommitted();
    void EditTemplate();
    void ImportTemplate();
    void ExportTemplate();
    void InsertField();
    void AddFormat(const QString& nodeKey);
    void EditFormat(const QString& key);
    bool RenameFormat(const QString& key, const QString& description);
    void AddTemplate(const QString& key);
    void DeleteNode(const QString& key);
    void DeleteFormat(const QString& key);
    void DeleteTemplate(const QString& key);
    // Drops the current template when it lies under `key` (about to go).
    void ForgetTemplateUnder(const QString& key);
    void ShowNodeMenu(const QPoint& position);
    void BuildNodeMenu();
    QString Level(const QString& key) const;
    // The data fields of the current template's format type.
    QStringList Fields() const;
    bool Dirty() const;

    std::unique_ptr<Ui::frmTemplates> ui_;
    ErrorTrap trap_{"frmTemplates"};
    ScreenContext* context_ = nullptr;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    QString formatType_;
    std::unique_ptr<CTemplate> template_;
    QString currentKey_;
    QString menuKey_;
    QHash<QString, QString> formatDescriptions_;  // by format node key
    bool textChanged_ = false;
    bool loading_ = false;
    bool switching_ = false;                       // asking to save before another node shows
    preview::TemplatePreview* preview_ = nullptr;  // owned by the pane
    QMenu* mnuNode_ = nullptr;
    QAction* mnuAddFormat_ = nullptr;
    QAction* mnuAddTemplate_ = nullptr;
    QAction* mnuDelete_ = nullptr;
    QAction* mnuEdit_ = nullptr;
};

}  // namespace vym
