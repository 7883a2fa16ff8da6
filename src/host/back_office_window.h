#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <vector>

class QLabel;
class QMenu;
class QStackedWidget;
class QTabWidget;

namespace vym {

class AppServer;
class PlugInRegistry;
class VYMInterface;

// The back office's main window: one tab per registered console (bound to the
// server, set up and enabled on opening, shut down on closing), a start page
// naming the open database and user while there is none, the application
// server's status text in the status bar, the Maintenance commands the
// program adds and Help > About.
class BackOfficeWindow : public QMainWindow {
    Q_OBJECT

  public:
    // The server must outlive the window.
    BackOfficeWindow(AppServer& server, const PlugInRegistry& plugIns, const QString& databasePath,
                     QWidget* parent = nullptr);
    ~BackOfficeWindow() override;

    // Adds a command to the Maintenance menu (shown once it has one); `open`
    // shows the command's screen over `parent`, this window.
    void AddMaintenanceCommand(const QString& caption, const QString& objectName,
                               std::function<void(QWidget* parent)> open);

  private:
    QWidget* BuildStartPage(const QString& databasePath, const QString& userId);
    void ShowAbout();

    QStackedWidget* pages_ = nullptr;
    QTabWidget* tabApplications_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    QMenu* mnuMaintenance_ = nullptr;
    std::vector<VYMInterface*> plugIns_;  // the consoles in the tabs, which own them
};

}  // namespace vym
