#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QPushButton>
#include <QWidget>
#include <string>

#include "gateway/recordset.h"
#include "service/citem_maint.h"
#include "support/core/prompter_script.h"
#include "support/qt/grid_typing.h"
#include "support/qt/scripted_modal_runner.h"
#include "support/server/back_office.h"
#include "ui/flex_grid.h"

namespace vym::test {

// Clicks a form's button as the user does.
inline void Press(QWidget& form, const char* button) {
    form.findChild<QPushButton*>(button)->click();
}

// What a screen test starts from: a demo back office with the service bound
// to it, scripted message boxes and dialogs, and the lookups a user's eye and
// hand make on the screen under test. The fixture hands over its screen (and
// the name of its main grid), if it has one, before the screen is built; each test ends with
// no error reported unless it says it expects some.
class ScreenTest : public ::testing::Test {
  protected:
    explicit ScreenTest(QWidget* screen = nullptr, const char* grid = "",
                        BackOffice::Options options = {})
        : office_(std::move(options)), screen_(screen), grid_(grid) {
        maint_.SetAppServer(&office_.Server());
    }
    ~ScreenTest() override { maint_.SetAppServer(nullptr); }
    void TearDown() override {
        if (!errorsExpected_) {
            office_.ExpectNoErrorReports();
        }
    }

    template <class T>
    T& Find(const char* name) {
        T* widget = screen_->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }
    ui::FlexGrid& Grid() { return Find<ui::FlexGrid>(grid_); }
    void Click(const char* button) { Find<QAbstractButton>(button).click(); }
    // Binds the service again: it takes the server's connection when bound.
    void Rebind() {
        maint_.SetAppServer(nullptr);
        maint_.SetAppServer(&office_.Server());
    }
    // Puts the fault injector between the service and the database.
    FaultInjectingConnection& Faults() {
        FaultInjectingConnection& faults = office_.Faults();
        Rebind();
        return faults;
    }
    Connection* Db() { return &office_.Db(); }
    ErrorObject* Errors() { return &office_.Local().ErrorObject(); }
    void Sql(const std::string& sql) { office_.Sql(sql); }
    // The first column of the first row as text, "<none>" when there is no row.
    std::string Scalar(const std::string& sql) { return office_.Text(sql); }
    // Types into a cell of the main grid as a user would; false when the grid refused the edit.
    bool Type(int row, int col, const QString& text) {
        return TypeIntoCell(Grid(), row, col, text);
    }
    void Choose(ui::FlexGrid& grid, int row, int col, const QString& shown) {
        ASSERT_TRUE(ChooseInCell(grid, row, col, shown)) << shown.toStdString();
    }
    void Choose(int row, int col, const QString& shown) { Choose(Grid(), row, col, shown); }
    // Scripts the question a save refused for another station's change asks, and its answer.
    void ExpectReload(const std::string& question, MsgResult answer) {
        script_.ExpectMessage(question, "Changed by Another User", kQuestionYesNoDefaultNo, answer);
    }

    PrompterScript script_;
    ScriptedModalRunner modals_;
    BackOffice office_;
    CItemMaint maint_;
    bool errorsExpected_ = false;
    // Where Find looks; a fixture that builds its screen per test points it there.
    QWidget* screen_;

  private:
    const char* grid_;
};

// A screen test of one window, built anew for each test.
template <class Window>
class ScreenOf : public ScreenTest {
  protected:
    explicit ScreenOf(const char* grid = "", BackOffice::Options options = {})
        : ScreenTest(&window_, grid, std::move(options)) {}

    Window window_;
};

}  // namespace vym::test
