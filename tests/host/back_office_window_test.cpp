#include "host/back_office_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QStackedWidget>
#include <QTabWidget>

#include "gateway/connection.h"
#include "host/plug_in_registry.h"
#include "host/vym_interface.h"
#include "support/qt/scripted_modal_runner.h"
#include "support/server/back_office.h"

namespace vym {
namespace {

QStringList& ConsoleLog() {
    static QStringList log;
    return log;
}

AppServer* expectedServer = nullptr;

// A console as the host sees it: a widget that logs each plug-in call.
template <const char* Name>
class LoggingConsole : public QLabel, public VYMInterface {
  public:
    explicit LoggingConsole(QWidget* parent) : QLabel(Name, parent) {}
    void implements_SetAppServer(AppServer* server) override {
        Log(server == expectedServer ? "SetAppServer bound" : "SetAppServer other");
    }
    void implements_Setup() override { Log("Setup"); }
    void implements_Enable() override { Log("Enable"); }
    void implements_ShowAbout() override { Log("ShowAbout"); }
    QString implements_GetApplicationName() const override { return Name; }
    QString implements_ProgID() const override { return Name; }
    void Implements_ShutDown() override { Log("ShutDown"); }

  private:
    static void Log(const char* call) { ConsoleLog().append(QString(Name) + " " + call); }
};
constexpr char kItemName[] = "Item Maintenance";
constexpr char kSerialName[] = "Serial Maintenance";
using ItemConsole = LoggingConsole<kItemName>;
using SerialConsole = LoggingConsole<kSerialName>;

class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override { expectedServer = &office_.Local(); }
    QString Database() const { return QString::fromStdString(office_.Path()); }
    template <class W>
    static W& Child(const QWidget& window, const char* name) {
        W* widget = window.findChild<W*>(name);
        if (widget == nullptr) {
            throw std::runtime_error(std::string("no widget ") + name);
        }
        return *widget;
    }

    test::BackOffice office_{{.demoData = false}};
    PlugInRegistry plugIns_;
};

TEST_F(MainWindow, WithoutConsolesShowsWhichDatabaseAndUserAreOpenAndTheAboutBox) {
    BackOfficeWindow window(office_.Local(), plugIns_, Database());

    const auto& pages = Child<QStackedWidget>(window, "stkPages");
    EXPECT_EQ(pages.currentWidget()->objectName(), "pageStart");
    EXPECT_EQ(Child<QLabel>(window, "lblDatabase").text(), Database());
    EXPECT_EQ(Child<QLabel>(window, "lblUser").text(), "ADMIN");
    EXPECT_EQ(Child<QTabWidget>(window, "tabApplications").count(), 0);

    test::ScriptedModalRunner modals;
    modals.ExpectReject("frmAbout");
    Child<QAction>(window, "mnuAbout").trigger();
}

TEST_F(MainWindow, RegisteredConsolesOpenAsTabsDrivenThroughThePlugInInterface) {
    ConsoleLog().clear();
    plugIns_.Register<ItemConsole>();
    plugIns_.Register<SerialConsole>();
    {
        BackOfficeWindow window(office_.Local(), plugIns_, Database());

        const auto& tabs = Child<QTabWidget>(window, "tabApplications");
        ASSERT_EQ(tabs.count(), 2);
        EXPECT_EQ(tabs.tabText(0), "Item Maintenance");
        EXPECT_EQ(tabs.tabText(1), "Serial Maintenance");
        EXPECT_EQ(Child<QStackedWidget>(window, "stkPages").currentWidget(), &tabs);
        EXPECT_EQ(ConsoleLog(),
                  (QStringList{"Item Maintenance SetAppServer bound", "Item Maintenance Setup",
                               "Item Maintenance Enable", "Serial Maintenance SetAppServer bound",
                               "Serial Maintenance Setup", "Serial Maintenance Enable"}));
        // The Consoles menu switches between them from the keyboard.
        auto& second = Child<QAction>(window, "mnuConsole2");
        EXPECT_EQ(second.text(), "&2 Serial Maintenance");
        EXPECT_EQ(second.shortcut(), QKeySequence("Ctrl+2"));
        second.trigger();
        EXPECT_EQ(tabs.currentIndex(), 1);
        Child<QAction>(window, "mnuConsole1").trigger();
        EXPECT_EQ(tabs.currentIndex(), 0);
        ConsoleLog().clear();
    }
    EXPECT_EQ(ConsoleLog(),
              (QStringList{"Item Maintenance ShutDown", "Serial Maintenance ShutDown"}));
}

TEST_F(MainWindow, StatusBarFollowsTheServerStatusText) {
    auto window = std::make_unique<BackOfficeWindow>(office_.Local(), plugIns_, Database());
    office_.Local().SetStatusText("Posting stock summary");
    EXPECT_EQ(Child<QLabel>(*window, "lblStatus").text(), "Posting stock summary");

    window.reset();
    office_.Local().SetStatusText("after the window closed");  // must not touch the gone label
}

}  // namespace
}  // namespace vym
