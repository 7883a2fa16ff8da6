#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class frmNewSale;
}

namespace vym {

class CSale;
class Connection;
class ErrorObject;

// "Create New Sale": the description and the kind of a new sale. Ok saves
// the sale, which gives it its number.
class frmNewSale : public QDialog {
    Q_OBJECT

  public:
    explicit frmNewSale(QWidget* parent = nullptr);
    ~frmNewSale() override;

    // Shows the sale (not owned) and selects the option of its type.
    void Setup(Connection* db, ErrorObject* errors, CSale* sale);
    bool UserCanceled() const { return userCanceled_; }

  private:
    void cmdOk_Click();

    std::unique_ptr<Ui::frmNewSale> ui_;
    Connection* db_ = nullptr;
    ErrorObject* errors_ = nullptr;
    CSale* sale_ = nullptr;
    bool userCanceled_ = true;
};

}  // namespace vym
