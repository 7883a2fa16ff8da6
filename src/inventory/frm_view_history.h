#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <memory>

namespace Ui {
class frmViewHistory;
}

namespace vym {

// "View History": a grid of rows the caller supplies and one button that asks
// the caller for the next part of the history.
class frmViewHistory : public QDialog {
    Q_OBJECT

  public:
    explicit frmViewHistory(QWidget* parent = nullptr);
    ~frmViewHistory() override;

    // The grid's format string and its rows, cells separated by tabs.
    void Setup(const QString& format, const QStringList& rows);
    // "NEXT" after the button (or F7), "CANCEL" when the window was closed.
    QString Result() const { return result_; }

  private:
    void cmdNext_Click();

    std::unique_ptr<Ui::frmViewHistory> ui_;
    QString result_ = "CANCEL";
};

}  // namespace vym
