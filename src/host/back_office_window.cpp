#include "host/back_office_window.h"

#include <QAction>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "gateway/app_server.h"
#include "host/frm_about.h"
#include "host/plug_in_registry.h"
#include "ui/modal_runner.h"

namespace vym {

BackOfficeWindow::BackOfficeWindow(AppServer& server, const PlugInRegistry& plugIns,
                                   const QString& databasePath, QWidget* parent)
    : QMainWindow(parent) {
    setObjectName("BackOfficeWindow");
    setWindowTitle("VYM Back Office");
    resize(960, 640);

    QMenu* mnuFile = menuBar()->addMenu("&File");
    QAction* mnuExit = mnuFile->addAction("E&xit");
    mnuExit->setObjectName("mnuExit");
    connect(mnuExit, &QAction::triggered, this, &QMainWindow::close);
    // One entry per console, Ctrl+1, Ctrl+2 ... in tab order.
    QMenu* mnuConsoles = menuBar()->addMenu("&Consoles");
    mnuConsoles->setObjectName("mnuConsoles");
    mnuMaintenance_ = menuBar()->addMenu("&Maintenance");
    mnuMaintenance_->setObjectName("mnuMaintenance");
    mnuMaintenance_->menuAction()->setVisible(false);
    QMenu* mnuHelp = menuBar()->addMenu("&Help");
    QAction* mnuAbout = mnuHelp->addAction("&About...");
    mnuAbout->setObjectName("mnuAbout");
    connect(mnuAbout, &QAction::triggered, this, &BackOfficeWindow::ShowAbout);

    pages_ = new QStackedWidget(this);
    pages_->setObjectName("stkPages");
    setCentralWidget(pages_);
    const std::shared_ptr<Connection> connection = server.DBConnection();
    pages_->addWidget(BuildStartPage(
        databasePath,
        connection ? QString::fromStdString(connection->CurrentUserId()) : QString()));
    tabApplications_ = new QTabWidget(pages_);
    tabApplications_->setObjectName("tabApplications");
    tabApplications_->setDocumentMode(true);
    pages_->addWidget(tabApplications_);
    for (const PlugInRegistry::Factory& create : plugIns.Factories()) {
        const PlugInRegistry::Created console = create(tabApplications_);
        plugIns_.push_back(console.plugIn);
        console.plugIn->implements_SetAppServer(&server);
        console.plugIn->implements_Setup();
        console.plugIn->implements_Enable();
        const int tab = tabApplications_->addTab(console.widget,
                                                 console.plugIn->implements_GetApplicationName());
        QAction* show = mnuConsoles->addAction("&" + QString::number(tab + 1) + " " +
                                               console.plugIn->implements_GetApplicationName());
        show->setObjectName("mnuConsole" + QString::number(tab + 1));
        show->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + tab)));
        connect(show, &QAction::triggered, tabApplications_,
                [this, tab] { tabApplications_->setCurrentIndex(tab); });
    }
    pages_->setCurrentWidget(tabApplications_->count() > 0 ? static_cast<QWidget*>(tabApplications_)
                                                           : pages_->widget(0));

    lblStatus_ = new QLabel(QString::fromStdString(server.StatusText()), this);
    lblStatus_->setObjectName("lblStatus");
    statusBar()->addWidget(lblStatus_, 1);
    // The server outlives this window but keeps its listeners: guard the label.
    server.OnStatusText([label = QPointer<QLabel>(lblStatus_)](const std::string& text) {
        if (label) {
            label->setText(QString::fromStdString(text));
        }
    });
}

BackOfficeWindow::~BackOfficeWindow() {
    // Consoles let go of the server before the tabs destroy them.
    for (VYMInterface* plugIn : plugIns_) {
        plugIn->Implements_ShutDown();
    }
}

void BackOfficeWindow::AddMaintenanceCommand(const QString& caption, const QString& objectName,
                                             std::function<void(QWidget* parent)> open) {
    QAction* command = mnuMaintenance_->addAction(caption);
    command->setObjectName(objectName);
    connect(command, &QAction::triggered, this, [this, open = std::move(open)] { open(this); });
    mnuMaintenance_->menuAction()->setVisible(true);
}

QWidget* BackOfficeWindow::BuildStartPage(const QString& databasePath, const QString& userId) {
    auto* page = new QWidget(this);
    page->setObjectName("pageStart");
    auto* outer = new QVBoxLayout(page);
    outer->addStretch(1);

    auto* heading = new QLabel("VYM Back Office", page);
    QFont headingFont = heading->font();
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.8);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setAlignment(Qt::AlignHCenter);
    outer->addWidget(heading);
    outer->addSpacing(16);

    auto* details = new QFormLayout();
    auto* lblDatabase = new QLabel(QDir::toNativeSeparators(databasePath), page);
    lblDatabase->setObjectName("lblDatabase");
    lblDatabase->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* lblUser = new QLabel(userId, page);
    lblUser->setObjectName("lblUser");
    details->addRow("Database:", lblDatabase);
    details->addRow("User:", lblUser);
    auto* centred = new QHBoxLayout();
    centred->addStretch(1);
    centred->addLayout(details);
    centred->addStretch(1);
    outer->addLayout(centred);
    outer->addStretch(2);
    return page;
}

void BackOfficeWindow::ShowAbout() {
    frmAbout about(this);
    ui::RunModal(about);
}

}  // namespace vym
