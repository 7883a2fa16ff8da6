#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

#include "gateway/error_trap.h"
#include "templates/template_rules.h"

namespace Ui {
class frmNewTemplate;
}

namespace vym {

class Connection;
class ErrorObject;
class ScreenContext;

// "New Template": the printer and page, customer level, type and description
// of a new template of one format. OK accepts only a complete entry whose
// printer, page and customer level the format has no template for yet; it
// writes nothing, the manager stores the template on its first save.
class frmNewTemplate : public QDialog {
    Q_OBJECT

  public:
    explicit frmNewTemplate(QWidget* parent = nullptr);
    ~frmNewTemplate() override;

    // Fills the lists for a template of format `formatNo`; False when they
    // could not be read (reported under "frmNewTemplate Setup").
    bool Setup(ScreenContext* itemMaint, std::int32_t formatNo);
    // The accepted entry.
    NewTemplateEntry Entry() const;

  private:
    void cmdOk_Click();
    // Whether the format already has a template for the entry's keys;
    // nothing when the database could not tell.
    std::optional<bool> Exists(const NewTemplateEntry& entry);

    std::unique_ptr<Ui::frmNewTemplate> ui_;
    ErrorTrap trap_{"frmNewTemplate"};
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    std::int32_t formatNo_ = 0;
};

}  // namespace vym
