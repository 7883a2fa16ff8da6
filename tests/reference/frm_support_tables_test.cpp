#include "reference/frm_support_tables.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

#include "support/qt/screen_test.h"
#include "ui/flex_grid_delegate.h"

namespace vym {
namespace {

using test::FaultInjectingConnection;
using test::TypeIntoCell;
using ui::FlexGrid;

// The screen on the demo database: function LIFT with four categories, all
// used by items; TUBING is closed and used by nothing.
class SupportTablesWindow : public test::ScreenOf<frmSupportTables> {
  protected:
    void Open() {
        window_.resize(900, 700);
        window_.Setup(&maint_);
        window_.show();
        QCoreApplication::processEvents();
    }
    FlexGrid& Functions() { return Find<FlexGrid>("fgFunctions"); }
    FlexGrid& Catagories() { return Find<FlexGrid>("fgCatagories"); }
    FlexGrid& Units() { return Find<FlexGrid>("fgUnits"); }
    QString Caption() { return Find<QGroupBox>("fraDependant").title(); }

    static void PressDelete(FlexGrid& grid, int row) {
        grid.SetCurrentCell(row, 1);
        QTest::keyClick(&grid, Qt::Key_Delete);
    }
    // Every data row's key column holds the function.
    static bool AllOf(const FlexGrid& grid, const QString& function) {
        const QStringList keys = test::ColumnTexts(grid, 0);
        return keys.count(function) == keys.size();
    }
};

TEST_F(SupportTablesWindow, SelectingAFunctionShowsOnlyItsCategoriesAndUnits) {
    Open();
    EXPECT_EQ(window_.windowTitle(), "Support Tables");
    FlexGrid& functions = Functions();
    const int lift = functions.FindRow("LIFT", 0);
    const int tubing = functions.FindRow("TUBING", 0);
    ASSERT_GT(lift, 0);
    ASSERT_GT(tubing, 0);
    EXPECT_EQ(functions.TextMatrix(lift, 2), "y") << "the icon cell keeps the character";
    EXPECT_TRUE(functions.CellChecked(lift, 1));
    EXPECT_FALSE(functions.CellChecked(tubing, 1));
    EXPECT_EQ(functions.TextMatrix(functions.Rows() - 1, 0), "") << "an empty row takes a new one";

    functions.SetCurrentCell(lift, 3);
    EXPECT_EQ(Caption(), "Function LIFT Dependant");
    EXPECT_EQ(Catagories().Rows(), 1 + 4 + 1);
    EXPECT_EQ(Catagories().TextMatrix(1, 1), "ADULT");
    EXPECT_TRUE(Catagories().CellChecked(1, 3)) << "lift tickets need an access rule";
    EXPECT_TRUE(Catagories().IsColumnHidden(0));
    EXPECT_TRUE(AllOf(Catagories(), "LIFT"));
    EXPECT_TRUE(AllOf(Units(), "LIFT"));

    functions.SetCurrentCell(functions.FindRow("RETAIL", 0), 0);
    EXPECT_EQ(Caption(), "Function RETAIL Dependant");
    EXPECT_EQ(Catagories().Rows(), 1 + 4 + 1);
    EXPECT_FALSE(Catagories().CellChecked(Catagories().FindRow("SOUVENIR", 1), 2));
    EXPECT_TRUE(AllOf(Catagories(), "RETAIL"));
    EXPECT_TRUE(AllOf(Units(), "RETAIL"));
    EXPECT_EQ(Units().Rows() - 2,
              std::stoi(Scalar("SELECT count(*) FROM vym_unit WHERE function_id = 'RETAIL'")));

    // The new row has no dependants until it is saved.
    functions.SetCurrentCell(functions.Rows() - 1, 0);
    EXPECT_EQ(Catagories().Rows(), 1);
    EXPECT_FALSE(window_.findChild<QGroupBox*>("fraDependant")->isEnabled());
}

TEST_F(SupportTablesWindow, TypingIntoTheLastRowAddsAnEntryWhoseKeyThenStays) {
    Open();
    FlexGrid& functions = Functions();
    const int added = functions.Rows() - 1;
    ASSERT_TRUE(TypeIntoCell(functions, added, 0, "golf"));
    EXPECT_EQ(functions.TextMatrix(added, 0), "GOLF");
    EXPECT_EQ(Scalar("SELECT is_active FROM vym_function WHERE function_id = 'GOLF'"), "True");
    EXPECT_EQ(functions.Rows(), added + 2) << "a fresh empty row follows";
    EXPECT_FALSE(TypeIntoCell(functions, added, 0, "GOLF2")) << "a saved key cannot be changed";
    ASSERT_TRUE(TypeIntoCell(functions, added, 3, "Golf Course"));
    EXPECT_EQ(Scalar("SELECT description FROM vym_function WHERE function_id = 'GOLF'"),
              "Golf Course");
    EXPECT_EQ(Caption(), "Function GOLF Dependant");

    // A key another row has would overwrite that entry.
    script_.ExpectMessage("Function LIFT already exists.", "Duplicate Function", kInformation);
    ASSERT_TRUE(TypeIntoCell(functions, added + 1, 0, "lift"));
    script_.Verify();
    EXPECT_EQ(functions.TextMatrix(added + 1, 0), "");
    EXPECT_EQ(Scalar("SELECT description FROM vym_function WHERE function_id = 'LIFT'"),
              "Lift Tickets");

    // Categories and units of the new function, the same way.
    functions.SetCurrentCell(added, 3);
    FlexGrid& catagories = Catagories();
    ASSERT_EQ(catagories.Rows(), 2);
    ASSERT_TRUE(TypeIntoCell(catagories, 1, 1, "range"));
    ASSERT_TRUE(TypeIntoCell(catagories, 1, 4, "Driving Range"));
    catagories.SetCurrentCell(1, 2);
    QTest::keyClick(&catagories, Qt::Key_Space);  // not active
    EXPECT_EQ(Scalar("SELECT description || '/' || is_active || '/' || require_access_rule "
                     "FROM vym_catagory WHERE function_id = 'GOLF' AND catagory_id = 'RANGE'"),
              "Driving Range/0/0");
    EXPECT_EQ(catagories.Rows(), 3);

    FlexGrid& units = Units();
    ASSERT_TRUE(TypeIntoCell(units, 1, 1, "bucket"));
    ASSERT_TRUE(TypeIntoCell(units, 1, 3, "50"));
    ASSERT_TRUE(TypeIntoCell(units, 1, 3, "lots"));  // not a quantity: refused
    EXPECT_EQ(units.TextMatrix(1, 3), "50");
    ASSERT_TRUE(units.EditCell(1, 2));
    auto* uom = qobject_cast<QComboBox*>(units.indexWidget(units.model()->index(0, 2)));
    ASSERT_NE(uom, nullptr);
    uom->setCurrentIndex(uom->findData("BX"));
    QTest::keyClick(uom, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(Scalar("SELECT qty || '/' || uom_id || '/' || acct_units FROM vym_unit "
                     "WHERE function_id = 'GOLF' AND unit_id = 'BUCKET'"),
              "50/BX/1");
}

TEST_F(SupportTablesWindow, AFailedSaveLeavesTheRowAsTypedAndUnsaved) {
    FaultInjectingConnection& faulty = Faults();
    Open();
    FlexGrid& functions = Functions();
    const int added = functions.Rows() - 1;
    faulty.FailOnCall(1, FaultInjectingConnection::Fault::Locked);
    errorsExpected_ = true;
    script_.ExpectMessage("Unable to update function", "Update Failed", kInformation);
    ASSERT_TRUE(TypeIntoCell(functions, added, 0, "GOLF"));
    script_.Verify();
    EXPECT_EQ(functions.TextMatrix(added, 0), "GOLF");
    EXPECT_EQ(functions.Rows(), added + 1) << "no new row for an entry not saved";
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_function WHERE function_id = 'GOLF'"), "0");

    // The next edit of the row saves it.
    ASSERT_TRUE(TypeIntoCell(functions, added, 3, "Golf"));
    EXPECT_EQ(Scalar("SELECT description FROM vym_function WHERE function_id = 'GOLF'"), "Golf");
    EXPECT_EQ(functions.Rows(), added + 2);
}

TEST_F(SupportTablesWindow, DeleteKeyAsksFirstAndKeepsWhatTheDatabaseRefuses) {
    Open();
    FlexGrid& functions = Functions();
    const int lift = functions.FindRow("LIFT", 0);
    functions.SetCurrentCell(lift, 0);
    FlexGrid& catagories = Catagories();
    const int adult = catagories.FindRow("ADULT", 1);
    const std::string items = Scalar(
        "SELECT count(*) FROM vym_item WHERE function_id = 'LIFT' AND catagory_id = "
        "'ADULT'");
    script_
        .ExpectMessage("Are you sure you want to delete the catagory ADULT", "Confirm Delete",
                       kQuestionYesNoDefaultNo, MsgResult::Yes)
        .ExpectMessage("Catagory ADULT of function LIFT is used by " + items + " items.",
                       "Delete Catagory Error", kInformation);
    PressDelete(catagories, adult);
    script_.Verify();
    EXPECT_EQ(catagories.FindRow("ADULT", 1), adult);

    // No keeps the row without asking the database.
    script_.ExpectMessage("Are you sure you want to delete the function LIFT", "Confirm Delete",
                          kQuestionYesNoDefaultNo, MsgResult::No);
    PressDelete(functions, lift);
    script_.Verify();
    EXPECT_EQ(functions.FindRow("LIFT", 0), lift);

    // The empty row is not an entry: nothing to ask.
    PressDelete(catagories, catagories.Rows() - 1);

    const int tubing = functions.FindRow("TUBING", 0);
    script_.ExpectMessage("Are you sure you want to delete the function TUBING", "Confirm Delete",
                          kQuestionYesNoDefaultNo, MsgResult::Yes);
    PressDelete(functions, tubing);
    script_.Verify();
    EXPECT_EQ(functions.FindRow("TUBING", 0), -1);
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_function WHERE function_id = 'TUBING'"), "0");
    EXPECT_EQ(Caption(), "Function " + functions.TextMatrix(functions.Row(), 0) + " Dependant");
}

TEST_F(SupportTablesWindow, TheIconButtonPicksASymbolAndSavesTheFunction) {
    Open();
    modals_.Expect("frmSymbol", [](QDialog& dialog) {
        auto* symbols = dialog.findChild<FlexGrid*>("fgSymbols");
        // Code 120 is the 88th symbol: row 9, column 7.
        symbols->SetCurrentCell(9, 7);
        dialog.findChild<QPushButton*>("cmdOk")->click();
    });
    FlexGrid& functions = Functions();
    const int ship = functions.FindRow("SHIP", 0);
    const QModelIndex icon = functions.model()->index(ship - 1, 2);
    functions.scrollTo(icon);
    const QRect button = ui::FlexGridDelegate::ButtonRect(functions.visualRect(icon));
    QTest::mouseClick(functions.viewport(), Qt::LeftButton, {}, button.center());
    modals_.Verify();
    EXPECT_EQ(functions.TextMatrix(ship, 2), "x");
    EXPECT_EQ(Scalar("SELECT tree_icon FROM vym_function WHERE function_id = 'SHIP'"), "x");
}

}  // namespace
}  // namespace vym
