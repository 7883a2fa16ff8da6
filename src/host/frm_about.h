#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>

namespace Ui {
class frmAbout;
}

namespace vym {

// The about box: component title, version, description and the system
// information button.
class frmAbout : public QDialog {
    Q_OBJECT

  public:
    // The path of the platform's system-information tool, "" when there is none.
    using ToolLocator = std::function<QString()>;

    explicit frmAbout(QWidget* parent = nullptr, ToolLocator locator = &LocateSystemInfoTool);
    ~frmAbout() override;

    // The first of the usual desktop system-information programs found on PATH
    // (hardinfo2, hardinfo, kinfocenter, gnome-system-monitor,
    // mate-system-monitor, xfce4-taskmanager); "" when none is installed.
    static QString LocateSystemInfoTool();

  private:
    void cmdSysInfo_Click();

    std::unique_ptr<Ui::frmAbout> ui_;
    ToolLocator locator_;
};

}  // namespace vym
