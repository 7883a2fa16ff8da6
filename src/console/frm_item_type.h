#pragma once

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class frmItemType;
}

namespace vym {

// The item-type chooser ("Select An Item Type") for a new item.
class frmItemType : public QDialog {
    Q_OBJECT

  public:
    explicit frmItemType(QWidget* parent = nullptr);
    ~frmItemType() override;

    // Preselects the type ("SHIP", "PHOTO", "STOCK", "SS", "RENTAL"; anything
    // else: "TICKET") and counts as cancelled until "&Ok".
    void Setup(const QString& itemType);
    // The code of the chosen type.
    QString ItemType() const;
    bool UserCancelled() const { return cancelled_; }

  private:
    std::unique_ptr<Ui::frmItemType> ui_;
    bool cancelled_ = true;
};

}  // namespace vym
