#include "ui/flex_grid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "support/core/prompter_script.h"
#include "support/qt/grid_typing.h"
#include "support/qt/qt_printers.h"
#include "ui/flex_grid_delegate.h"
#include "ui/symbol_font.h"

namespace vym::ui {
namespace {

using test::CellTexts;

class FlexGridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        grid.resize(800, 400);
        grid.SetFormatString("Child ID|<Description|>Price|^Active||State");
        grid.show();
    }
    // Runs the event loop once so the view has seen appended rows.
    static void Settle() { QCoreApplication::processEvents(); }
    // Adds tab-separated rows and lets the view see them.
    void Load(std::initializer_list<QString> rows) {
        for (const QString& row : rows) {
            grid.AddItem(row);
        }
        Settle();
    }
    QModelIndex Index(int row, int col) const { return grid.model()->index(row - 1, col); }
    QWidget* Editor(int row, int col) const { return grid.indexWidget(Index(row, col)); }
    // Enter and Escape in an editor commit or close it on the next turn of the event loop.
    static void Press(QWidget* widget, Qt::Key key) {
        QTest::keyClick(widget, key);
        Settle();
    }

    FlexGrid grid;
};

TEST_F(FlexGridTest, FormatStringDeclaresHeadingsAlignmentAndEmptyColumns) {
    EXPECT_EQ(grid.Cols(), 6);
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(CellTexts(grid, 0, {0, 1, 2, 3, 4, 5}), "Child ID|Description|Price|Active||State");
    EXPECT_EQ(grid.FormatString(), "Child ID|<Description|>Price|^Active||State");
    EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal).toString(), "Description");

    Load({"1\tSki\t10\t-1\t\tX"});
    auto align = [&](int col) {
        return Qt::Alignment(Index(1, col).data(Qt::TextAlignmentRole).toInt()) &
               Qt::AlignHorizontal_Mask;
    };
    EXPECT_EQ(align(1), Qt::AlignLeft);
    EXPECT_EQ(align(2), Qt::AlignRight);
    EXPECT_EQ(align(3), Qt::AlignHCenter);

    grid.SetFormatString("");
    EXPECT_EQ(grid.Cols(), 0);
    EXPECT_EQ(grid.Rows(), 1);
}

TEST_F(FlexGridTest, RowsAreTabSeparatedAndNumberedFromOne) {
    grid.AddItem("10\tFirst\t1.5");
    grid.AddItem("20\tSecond\t2\t0\t\tS\textra ignored");
    grid.AddItem("15\tBetween", 2);
    EXPECT_EQ(grid.Rows(), 4);
    EXPECT_EQ(test::ColumnTexts(grid, 1), QStringList({"First", "Between", "Second"}));
    EXPECT_EQ(CellTexts(grid, 3, {5}), "S");
    EXPECT_EQ(CellTexts(grid, 2, {2}), "");  // short rows leave empty cells
    Settle();
    EXPECT_EQ(grid.model()->rowCount(), 3);

    grid.SetRowData(3, 20);
    grid.SetCellData(3, 1, "payload");
    grid.RemoveItem(1);
    EXPECT_EQ(grid.TextMatrix(2, 1), "Second");
    EXPECT_EQ(grid.RowData(2).toInt(), 20);
    EXPECT_EQ(grid.CellData(2, 1).toString(), "payload");
    EXPECT_EQ(grid.FindRow("20", 0), 2);
    EXPECT_EQ(grid.FindRow("99", 0), -1);

    grid.Clear();
    EXPECT_EQ(grid.Rows(), 1);
    EXPECT_EQ(grid.Cols(), 6);
    EXPECT_EQ(grid.TextMatrix(0, 5), "State");

    grid.SetRows(3);
    EXPECT_EQ(grid.Rows(), 3);
    grid.SetTextMatrix(2, 0, "set");
    EXPECT_EQ(grid.TextMatrix(2, 0), "set");
    grid.SetTextMatrix(0, 0, "Child");
    EXPECT_EQ(grid.ColumnHeading(0), "Child");
}

// A row keeps the data it was given, of whatever type, after any other, and
// carries it when rows are inserted above it; rows loaded with room reserved
// for them read as rows added one by one.
TEST_F(FlexGridTest, RowDataKeepsItsValueAndTypeThroughEveryChange) {
    const QList<QVariant> values = {QVariant(42),
                                    QVariant(QString("K1")),
                                    QVariant(qlonglong(5'000'000'000)),
                                    QVariant(-7),
                                    QVariant(),
                                    QVariant(QString()),
                                    QVariant(0)};
    grid.ReserveRows(3);
    for (int row = 1; row <= 3; ++row) {
        grid.AddItem(QString::number(row) + "\tRow");
    }
    grid.SetCellData(3, 1, "look");  // a row with other data of its own
    for (int row : {2, 3}) {
        QVariant previous;
        for (const QVariant& value : values) {
            SCOPED_TRACE(QString("row %1 after %2, given %3")
                             .arg(row)
                             .arg(previous.toString(), value.toString())
                             .toStdString());
            grid.SetRowData(row, value);
            EXPECT_EQ(grid.RowData(row), value);
            EXPECT_EQ(grid.RowData(row).typeId(), value.typeId());
            previous = value;
        }
    }
    grid.SetRowData(2, 42);
    grid.SetRowData(3, QString("K3"));
    grid.AddItem("0\tAbove", 1);
    EXPECT_FALSE(grid.RowData(1).isValid());
    EXPECT_EQ(grid.RowData(3), QVariant(42));
    EXPECT_EQ(grid.RowData(4), QVariant(QString("K3")));
    EXPECT_EQ(grid.CellData(4, 1).toString(), "look");
    EXPECT_EQ(grid.TextMatrix(4, 0), "3");
}

TEST_F(FlexGridTest, CellsKeepTabsBackslashesAndAnyCharacter) {
    const QStringList texts = {"",  "a\tb", "C:\\temp\\", "\\t as typed", "\u00fcn\u00ef \u20ac",
                               "\\"};
    grid.AddRow(texts);
    grid.AddRow({"next"});
    EXPECT_EQ(CellTexts(grid, 1, {0, 1, 2, 3, 4, 5}), texts.join(u'|'));
    // One cell rewritten leaves its neighbours as they were.
    grid.SetTextMatrix(1, 2, "x\ty\\");
    EXPECT_EQ(CellTexts(grid, 1, {1, 2, 3}), texts[1] + "|x\ty\\|" + texts[3]);
    // A short row grows to the cell that is set.
    grid.SetTextMatrix(2, 4, "far");
    EXPECT_EQ(CellTexts(grid, 2, {0, 3, 4}), "next||far");
    // Tab-separated rows take a backslash as text.
    grid.AddItem("a\\b\t\\t");
    EXPECT_EQ(CellTexts(grid, 3, {0, 1}), "a\\b|\\t");
    // Columns taken away take their cells with them.
    grid.SetCols(2);
    grid.SetCols(6);
    EXPECT_EQ(CellTexts(grid, 1, {1, 2}), texts[1] + "|");
    EXPECT_EQ(CellTexts(grid, 2, {4}), "");
}

TEST_F(FlexGridTest, HiddenRowsAndColumnsKeepTheirNumbers) {
    for (int i = 1; i <= 4; ++i) {
        grid.AddItem(QString::number(i * 10) + "\tRow " + QString::number(i));
    }
    grid.SetRowHidden(2, true);
    grid.SetColumnHidden(5, true);
    EXPECT_TRUE(grid.IsRowHidden(2));
    EXPECT_FALSE(grid.IsRowHidden(3));
    EXPECT_TRUE(grid.isRowHidden(1));
    EXPECT_TRUE(grid.isColumnHidden(5));
    EXPECT_EQ(grid.TextMatrix(3, 1), "Row 3");

    // Rows inserted above a hidden row carry its hidden state along.
    grid.AddItem("5\tRow 0", 1);
    EXPECT_TRUE(grid.IsRowHidden(3));
    EXPECT_TRUE(grid.isRowHidden(2));
    EXPECT_FALSE(grid.isRowHidden(1));
}

TEST_F(FlexGridTest, ComboListKeepsTheKeyAndShowsTheText) {
    grid.SetColumnComboList(5, "|#-1;[NA]|#0;[NO RULE]|#7;Seven|");
    Load({"1\tA\t\t\t\t0", "2\tB\t\t\t\t12"});
    EXPECT_EQ(grid.ColumnKindOf(5), FlexGrid::ColumnKind::ComboList);
    EXPECT_EQ(grid.TextMatrix(1, 5), "0");
    EXPECT_EQ(grid.DisplayText(1, 5), "[NO RULE]");
    EXPECT_EQ(Index(1, 5).data().toString(), "[NO RULE]");
    EXPECT_EQ(grid.DisplayText(2, 5), "12");  // a key not in the list shows as it is

    grid.SetEditable(true);
    ASSERT_TRUE(grid.EditCell(1, 5));
    auto* combo = qobject_cast<QComboBox*>(Editor(1, 5));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "[NO RULE]");
    combo->setCurrentIndex(combo->findText("Seven"));
    Press(combo, Qt::Key_Return);
    EXPECT_EQ(grid.TextMatrix(1, 5), "7");
    EXPECT_EQ(grid.DisplayText(1, 5), "Seven");
}

TEST_F(FlexGridTest, CheckColumnsToggleThroughTheEditEvents) {
    grid.SetColumnKind(3, FlexGrid::ColumnKind::CheckBox);
    Load({"1\tA\t\t-1", "2\tB\t\tTrue", "3\tC\t\t0"});
    EXPECT_TRUE(grid.CellChecked(1, 3));
    EXPECT_TRUE(grid.CellChecked(2, 3));
    EXPECT_FALSE(grid.CellChecked(3, 3));
    EXPECT_EQ(Index(3, 3).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(grid.DisplayText(1, 3), "");

    QSignalSpy after(&grid, &FlexGrid::AfterEdit);
    grid.SetCurrentCell(3, 3);
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_FALSE(grid.CellChecked(3, 3)) << "a read-only grid does not toggle";

    grid.SetEditable(true);
    QTest::keyClick(&grid, Qt::Key_Space);
    EXPECT_TRUE(grid.CellChecked(3, 3));
    EXPECT_EQ(grid.TextMatrix(3, 3), "-1");
    ASSERT_EQ(after.count(), 1);
    EXPECT_EQ(after.at(0).at(0).toInt(), 3);

    const QRect cell = grid.visualRect(Index(1, 3));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_FALSE(grid.CellChecked(1, 3));
    EXPECT_EQ(grid.TextMatrix(1, 3), "0");

    QObject::connect(&grid, &FlexGrid::ValidateEdit,
                     [](int, int, const QString&, bool& cancel) { cancel = true; });
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_FALSE(grid.CellChecked(1, 3)) << "a cancelled validation keeps the old value";

    grid.SetColumnEditable(3, false);
    grid.SetCellChecked(2, 3, false);
    EXPECT_EQ(grid.TextMatrix(2, 3), "0");
}

TEST_F(FlexGridTest, EditingNeedsAnEditableGridAndColumnAndRaisesItsEventsAndHonoursCancel) {
    Load({"1\tA\t5"});
    EXPECT_FALSE(grid.EditCell(1, 2)) << "grids are read-only until made editable";
    grid.SetEditable(true);
    QStringList events;
    QObject::connect(&grid, &FlexGrid::BeforeEdit, [&](int row, int col, bool&) {
        events << QString("before %1,%2").arg(row).arg(col);
    });
    QObject::connect(&grid, &FlexGrid::ValidateEdit,
                     [&](int, int, const QString& text, bool& cancel) {
                         events << "validate " + text;
                         cancel = !text.isEmpty() && !text.toDouble();
                     });
    QObject::connect(&grid, &FlexGrid::AfterEdit,
                     [&](int row, int col) { events << QString("after %1,%2").arg(row).arg(col); });

    ASSERT_TRUE(grid.EditCell(1, 2));
    auto* editor = qobject_cast<QLineEdit*>(Editor(1, 2));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "5");
    QTest::keyClicks(editor, "abc");
    Press(editor, Qt::Key_Return);
    EXPECT_EQ(grid.TextMatrix(1, 2), "5");
    EXPECT_EQ(events, QStringList({"before 1,2", "validate abc"}));

    events.clear();
    ASSERT_TRUE(grid.EditCell(1, 2));
    editor = qobject_cast<QLineEdit*>(Editor(1, 2));
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "12.5");
    Press(editor, Qt::Key_Enter);
    EXPECT_EQ(grid.TextMatrix(1, 2), "12.5");
    EXPECT_EQ(events, QStringList({"before 1,2", "validate 12.5", "after 1,2"}));

    // Escape leaves the cell as it was without validating.
    events.clear();
    ASSERT_TRUE(grid.EditCell(1, 2));
    QTest::keyClicks(Editor(1, 2), "99");
    Press(Editor(1, 2), Qt::Key_Escape);
    EXPECT_EQ(grid.TextMatrix(1, 2), "12.5");
    EXPECT_EQ(events, QStringList({"before 1,2"}));

    QObject::connect(&grid, &FlexGrid::BeforeEdit,
                     [](int, int col, bool& cancel) { cancel = col == 1; });
    EXPECT_FALSE(grid.EditCell(1, 1));
    EXPECT_FALSE(grid.IsEditing());
    grid.SetColumnEditable(2, false);
    EXPECT_FALSE(grid.ColumnEditable(2));
    EXPECT_FALSE(grid.EditCell(1, 2));
    EXPECT_TRUE(grid.EditCell(1, 0));
}

TEST_F(FlexGridTest, KeyboardStartsEditsAndReportsDeleteAndEnter) {
    Load({"1\tA\t5", "2\tB\t6"});
    QSignalSpy deleted(&grid, &FlexGrid::DeleteKeyPressed);
    QSignalSpy entered(&grid, &FlexGrid::EnterPressed);
    grid.SetCurrentCell(2, 1);
    QTest::keyClick(&grid, Qt::Key_Delete);
    ASSERT_EQ(deleted.count(), 1);
    EXPECT_EQ(deleted.at(0).at(0).toInt(), 2);
    EXPECT_EQ(deleted.at(0).at(1).toInt(), 1);
    Press(&grid, Qt::Key_Return);
    EXPECT_EQ(entered.count(), 1);
    EXPECT_FALSE(grid.IsEditing());

    grid.SetEditable(true);
    QTest::keyClick(&grid, Qt::Key_Z);  // typing replaces the cell text
    ASSERT_NE(Editor(2, 1), nullptr);
    Press(Editor(2, 1), Qt::Key_Return);
    EXPECT_EQ(grid.TextMatrix(2, 1), "z");

    grid.SetCurrentCell(1, 2);
    QTest::keyClick(&grid, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(Editor(1, 2));
    ASSERT_NE(editor, nullptr);
    editor->setText("8");
    Press(editor, Qt::Key_Return);
    EXPECT_EQ(grid.TextMatrix(1, 2), "8");

    grid.SetCurrentCell(1, 1);
    Press(&grid, Qt::Key_Return);  // Enter starts an edit in an editable cell
    EXPECT_NE(Editor(1, 1), nullptr);
}

TEST_F(FlexGridTest, SingleAndMultiRowSelection) {
    for (int i = 1; i <= 5; ++i) {
        grid.AddItem(QString::number(i));
    }
    QSignalSpy changed(&grid, &FlexGrid::SelectionChanged);
    QSignalSpy rowCol(&grid, &FlexGrid::RowColChange);
    grid.SelectRow(1);
    grid.SelectRow(3);
    EXPECT_EQ(grid.SelectedRows(), QList<int>({3}));
    EXPECT_GE(changed.count(), 2);

    grid.SetSelectionMode(FlexGrid::SelectionMode::MultiRow);
    grid.SelectRow(1);
    grid.SelectRow(5);
    EXPECT_EQ(grid.SelectedRows(), QList<int>({1, 3, 5}));
    grid.SelectRow(3, false);
    EXPECT_EQ(grid.SelectedRows(), QList<int>({1, 5}));
    EXPECT_TRUE(grid.IsRowSelected(5));
    EXPECT_FALSE(grid.IsRowSelected(3));
    grid.SelectAllRows();
    EXPECT_EQ(grid.SelectedRows().size(), 5);

    grid.SetCurrentCell(4, 2);
    EXPECT_EQ(grid.Row(), 4);
    EXPECT_EQ(grid.Col(), 2);
    ASSERT_GE(rowCol.count(), 1);
    EXPECT_EQ(rowCol.last().at(0).toInt(), 4);
    EXPECT_EQ(rowCol.last().at(1).toInt(), 2);
}

TEST_F(FlexGridTest, ColumnFormatsShowTheTextFormattedAndKeepItRaw) {
    grid.SetColumnFormat(2, "0.0000");
    grid.SetColumnFormat(5, "Currency");
    Load({"1\tA\t12.5\t\t\t3", "2\tB\tn/a\t\t\t"});
    EXPECT_EQ(grid.TextMatrix(1, 2), "12.5");
    EXPECT_EQ(grid.DisplayText(1, 2), "12.5000");
    EXPECT_EQ(Index(1, 2).data().toString(), "12.5000");
    EXPECT_EQ(grid.DisplayText(1, 5), "$3.00");
    EXPECT_EQ(grid.DisplayText(2, 2), "n/a");
    EXPECT_EQ(grid.DisplayText(2, 5), "");
    EXPECT_EQ(grid.ColumnFormat(5), "Currency");
}

TEST_F(FlexGridTest, MergedColumnsShowARunOfEqualCellsOnce) {
    grid.SetMergeColumn(0, true);
    Load({"SKI\tA", "SKI\tB", "BOOT\tC", "SKI\tD"});
    EXPECT_EQ(Index(1, 0).data().toString(), "SKI");
    EXPECT_EQ(Index(2, 0).data().toString(), "");
    EXPECT_EQ(Index(3, 0).data().toString(), "BOOT");
    EXPECT_EQ(Index(4, 0).data().toString(), "SKI");
    EXPECT_EQ(grid.TextMatrix(2, 0), "SKI");
    EXPECT_EQ(Index(2, 1).data().toString(), "B") << "other columns are not merged";
    grid.SetRowHidden(1, true);
    EXPECT_EQ(Index(2, 0).data().toString(), "SKI") << "a hidden row does not hide the next";
}

TEST_F(FlexGridTest, RowStylesAndCellLooks) {
    Load({"1", "2", "3"});
    grid.DefineRowStyle("inactive", QColor(255, 255, 192), Qt::darkGray);
    grid.SetRowStyle(2, "inactive");
    EXPECT_EQ(Index(2, 1).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 255, 192));
    EXPECT_EQ(Index(2, 1).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::darkGray));
    EXPECT_FALSE(Index(1, 1).data(Qt::BackgroundRole).isValid());

    grid.SetCellBackground(2, 0, Qt::red);
    EXPECT_EQ(Index(2, 0).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::red));
    grid.SetRowStyle(2, "");
    EXPECT_FALSE(Index(2, 1).data(Qt::BackgroundRole).isValid());

    QFont bold;
    bold.setBold(true);
    grid.SetCellFont(3, 0, bold);
    EXPECT_TRUE(Index(3, 0).data(Qt::FontRole).value<QFont>().bold());
    EXPECT_TRUE(grid.model()->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());

    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    grid.SetColumnFont(1, mono, 2);
    EXPECT_NE(Index(1, 1).data(Qt::FontRole).value<QFont>().family(), mono.family());
    EXPECT_EQ(Index(3, 1).data(Qt::FontRole).value<QFont>().family(), mono.family());
}

TEST_F(FlexGridTest, SymbolColumnShowsSymbolsAndKeepsTheCodes) {
    grid.SetColumnSymbolFont(4);
    Load({"1\tA\t\t\t!H"});
    EXPECT_EQ(grid.TextMatrix(1, 4), "!H");
    EXPECT_EQ(grid.DisplayText(1, 4), SymbolFont::DisplayText('!') + SymbolFont::DisplayText('H'));
    EXPECT_EQ(Index(1, 4).data(Qt::FontRole).value<QFont>().family(), SymbolFont::Font().family());
}

TEST_F(FlexGridTest, ColumnKeysFindColumnsWithoutRegardToCase) {
    grid.SetColumnKey(2, "unit_price");
    EXPECT_EQ(grid.ColumnIndex("UNIT_PRICE"), 2);
    EXPECT_EQ(grid.ColumnIndex("cost"), -1);
    EXPECT_EQ(grid.ColumnKey(2), "unit_price");
}

TEST_F(FlexGridTest, CellButtonsReportTheirCell) {
    grid.SetColumnKind(5, FlexGrid::ColumnKind::Button);
    Load({"1\tA\t\t\t\tpick"});
    QSignalSpy clicked(&grid, &FlexGrid::CellButtonClick);
    const QRect button = FlexGridDelegate::ButtonRect(grid.visualRect(Index(1, 5)));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, button.center());
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 1);
    EXPECT_EQ(clicked.at(0).at(1).toInt(), 5);
    // From the keyboard: Space on the cell; on a text cell Space does not click.
    grid.setFocus();
    grid.SetCurrentCell(1, 5);
    QTest::keyClick(&grid, Qt::Key_Space);
    grid.SetCurrentCell(1, 1);
    QTest::keyClick(&grid, Qt::Key_Space);
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked.at(1).at(0).toInt(), 1);
    EXPECT_EQ(clicked.at(1).at(1).toInt(), 5);
    grid.SetEditable(true);
    EXPECT_FALSE(grid.EditCell(1, 5)) << "a button cell has no text editor";
}

// A list goes out as it is shown: formatted, list texts, ticks as True/False,
// hidden rows and columns left out, formulas escaped, CSV quoting where needed.
class FlexGridOut : public FlexGridTest {
  protected:
    void SetUp() override {
        FlexGridTest::SetUp();
        grid.SetColumnFormat(2, "Currency");
        grid.SetColumnKind(3, FlexGrid::ColumnKind::CheckBox);
        grid.SetColumnComboList(5, "#A;Active|#X;Closed");
        grid.SetColumnHidden(4, true);
        grid.AddRow({"T-1", "Lift, full day", "52", "-1", "secret", "A"});
        grid.AddRow({"T-2", "hidden", "1", "0", "", "X"});
        grid.AddRow({"T-3", "=cmd|' /C calc'!A0", "-5", "0", "", "X"});
        grid.AddRow({"T-4", "say \"two\"\tlines\n", "", "-1", "", "Q"});
        grid.SetRowHidden(2, true);
        Settle();
    }
    QString Exported() {
        const QString path = dir.filePath("grid.csv");
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : "(none)";
    }
    QTemporaryDir dir;
};

TEST_F(FlexGridOut, ExportWritesWhatIsShownAsCsv) {
    EXPECT_EQ(grid.ExportCsv(dir.filePath("grid.csv")), std::nullopt);
    EXPECT_EQ(Exported(), QString::fromUtf8("\xEF\xBB\xBF"
                                            "Child ID,Description,Price,Active,State\r\n"
                                            "T-1,\"Lift, full day\",$52.00,True,Active\r\n"
                                            "T-3,'=cmd|' /C calc'!A0,($5.00),False,Closed\r\n"
                                            "T-4,\"say \"\"two\"\"\tlines\n\",,True,Q\r\n"));
    const auto refused = grid.ExportCsv(dir.filePath("no/such/folder/grid.csv"));
    ASSERT_TRUE(refused.has_value());
    EXPECT_FALSE(refused->isEmpty());
}

TEST_F(FlexGridOut, CtrlCCopiesTheSelectedRowsAsTabbedLines) {
    grid.SetSelectionMode(FlexGrid::SelectionMode::MultiRow);
    grid.SelectRow(1);
    grid.SelectRow(4);
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              "T-1\tLift, full day\t$52.00\tTrue\tActive\n"
              "T-4\t\"say \"\"two\"\"\tlines\n\"\t\tTrue\tQ\n");
}

// The context menu offers the screen's own commands first, then Copy and Export.
TEST_F(FlexGridOut, TheContextMenuExportsToTheChosenFile) {
    QMenu screenMenu;
    screenMenu.addAction("&Properties");
    grid.SetContextMenu(&screenMenu);
    test::PrompterScript prompts;
    prompts.ExpectSaveFile(dir.filePath("grid.csv").toStdString());
    QStringList offered;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            offered << action->text();
        }
        menu->findChild<QAction*>("mnuGridExportCsv")->trigger();
        menu->close();
    });
    const QPoint at = grid.visualRect(Index(1, 1)).center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at, grid.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(grid.viewport(), &event);
    EXPECT_EQ(offered, QStringList({"&Properties", "", "Copy", "Export to CSV..."}));
    EXPECT_TRUE(Exported().contains("T-3,'=cmd"));
}

TEST_F(FlexGridTest, TenThousandRowsLoadAndStayAddressable) {
    grid.SetColumnFormat(2, "0.0000");
    for (int i = 1; i <= 10000; ++i) {
        grid.AddItem(QString::number(i) + "\tItem " + QString::number(i) + "\t" +
                     QString::number(i) + ".25");
    }
    EXPECT_EQ(grid.Rows(), 10001);
    EXPECT_EQ(grid.TextMatrix(10000, 1), "Item 10000");
    Settle();
    EXPECT_EQ(grid.model()->rowCount(), 10000);
    grid.AutoSizeColumns();
    EXPECT_GE(grid.columnWidth(1), grid.fontMetrics().horizontalAdvance("Item 10000"));
    grid.SetCurrentCell(9999, 1);
    grid.scrollTo(Index(9999, 1));
    EXPECT_EQ(grid.Row(), 9999);

    grid.Clear();
    grid.BeginBulkLoad();
    for (int i = 1; i <= 10000; ++i) {
        grid.AddItem(QString::number(i));
    }
    EXPECT_EQ(grid.Rows(), 10001);
    grid.EndBulkLoad();
    EXPECT_EQ(grid.model()->rowCount(), 10000);
    EXPECT_EQ(grid.TextMatrix(5000, 0), "5000");
}

}  // namespace
}  // namespace vym::ui
