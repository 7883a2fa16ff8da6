// The import screen on the demo back office, driven as a user: the file's
// path typed, a dry run, the refused rows saved, then the import.
#include "editors/frm_import.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "support/qt/screen_test.h"

namespace vym {
namespace {

class ImportScreen : public test::ScreenTest {
  protected:
    ImportScreen() : ScreenTest(&window_) {}

    QString Write(const char* name, const std::string& text) {
        const QString path = dir_.filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary) << text;
        return path;
    }

    QTemporaryDir dir_;
    frmImport window_;
};

TEST_F(ImportScreen, DryRunListsEveryRowThenImportSavesTheAcceptedOnes) {
    const QString file = Write("prices.csv",
                               "Item No,UOM,Qty,Location,Unit Price\r\n"
                               "510,PR,1,BASE,\"1,250\"\r\n"
                               "511,EA,2,,.50\r\n"
                               "511,EA,3,,-\r\n"
                               "511,EA,1,VILLAGE,$64.00\r\n");
    ASSERT_TRUE(window_.Setup(&maint_));
    window_.show();
    auto& txtFile = Find<QLineEdit>("txtFile");
    auto& cmdImport = Find<QPushButton>("cmdImport");
    auto& cmdSaveRefused = Find<QPushButton>("cmdSaveRefused");

    // Enter on an empty file asks for one; the default button is Dry Run.
    script_.ExpectMessage("Choose the file to import.", "Import", kInformation);
    QTest::keyClick(&txtFile, Qt::Key_Return);
    ASSERT_TRUE(script_.AllMet());

    QTest::keyClicks(&txtFile, file);
    QTest::keyClicks(&Find<QComboBox>("cmbKind"), "P");
    EXPECT_FALSE(cmdImport.isEnabled());
    QTest::keyClick(&txtFile, Qt::Key_Return);
    ui::FlexGrid& grid = Find<ui::FlexGrid>("fgRows");
    ASSERT_EQ(grid.Rows(), 5);
    const QString expected[] = {
        "2|Changed|Item 510, PR x 1 at BASE|Unit Price 31.95 \u2192 1250.00",
        "3|New|Item 511, EA x 2|Unit Price 0.50",
        "4|Refused|Item 511, EA x 3|Unit Price \"-\" is not an amount.",
        "5|Unchanged|Item 511, EA x 1 at VILLAGE|"};
    for (int row = 1; row < grid.Rows(); ++row) {
        EXPECT_EQ(test::CellTexts(grid, row, {0, 1, 2, 3}), expected[row - 1]) << row;
    }
    EXPECT_EQ(Find<QLabel>("lblSummary").text(),
              "1 new, 1 changed, 1 unchanged, 1 refused. The file was read as UTF-8.");

    const QString refused = dir_.filePath("fix-me.csv");
    script_.ExpectSaveFile(refused.toStdString());
    QTest::mouseClick(&cmdSaveRefused, Qt::LeftButton);
    QFile saved(refused);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().toStdString(),
              "Item No,UOM,Qty,Location,Unit Price,Refused Because\r\n"
              "511,EA,3,,-,\"Unit Price \"\"-\"\" is not an amount.\"\r\n");

    // Answering No saves nothing; Yes saves both rows.
    script_.ExpectMessage("Import 2 rows? The unchanged and refused rows are left as they are.",
                          "Import", kQuestionYesNo, MsgResult::No);
    QTest::mouseClick(&cmdImport, Qt::LeftButton);
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_price WHERE item_no = 511 AND unit_qty = 2"), "0");
    script_
        .ExpectMessage("Import 2 rows? The unchanged and refused rows are left as they are.",
                       "Import", kQuestionYesNo, MsgResult::Yes)
        .ExpectMessage("Imported 2 rows.", "Import", kInformation);
    QTest::mouseClick(&cmdImport, Qt::LeftButton);
    EXPECT_EQ(Scalar("SELECT total_price FROM vym_price WHERE item_no = 511 AND unit_qty = 2"),
              "1");
    EXPECT_EQ(Scalar("SELECT unit_price FROM vym_price WHERE item_no = 510 AND uom_id = 'PR' "
                     "AND unit_qty = 1 AND location_id = 'BASE'"),
              "1250");
    EXPECT_FALSE(cmdImport.isEnabled());
    EXPECT_EQ(grid.Rows(), 1);
}

}  // namespace
}  // namespace vym
