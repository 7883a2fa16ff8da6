// The import screen on the demo back office, driven as a user: the file's
// path typed, a dry run, the refused rows saved, then the import.
#include "editors/frm_import.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "service/citem_maint.h"
#include "support/core/prompter_script.h"
#include "support/server/back_office.h"
#include "ui/flex_grid.h"

namespace vym {
namespace {

using test::PrompterScript;

class ImportScreen : public ::testing::Test {
  protected:
    ImportScreen() { maint_.SetAppServer(&office_.Server()); }
    ~ImportScreen() override { maint_.SetAppServer(nullptr); }

    template <class Widget>
    Widget& Find(const char* name) {
        auto* widget = window_.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }
    QString Write(const char* name, const std::string& text) {
        const QString path = dir_.filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary) << text;
        return path;
    }
    std::string Scalar(const std::string& sql) {
        auto rs = office_.Db().OpenRecordset(sql);
        return rs->Eof() ? "<none>" : NullToEmpty(rs->Fields(0).Value());
    }

    test::BackOffice office_;
    CItemMaint maint_;
    QTemporaryDir dir_;
    frmImport window_;
};

TEST_F(ImportScreen, DryRunListsEveryRowThenImportSavesTheAcceptedOnes) {
    PrompterScript script;
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
    script.ExpectMessage("Choose the file to import.", "Import", kInformation);
    QTest::keyClick(&txtFile, Qt::Key_Return);
    ASSERT_TRUE(script.AllMet());

    QTest::keyClicks(&txtFile, file);
    QTest::keyClicks(&Find<QComboBox>("cmbKind"), "P");
    EXPECT_FALSE(cmdImport.isEnabled());
    QTest::keyClick(&txtFile, Qt::Key_Return);
    ui::FlexGrid& grid = Find<ui::FlexGrid>("fgRows");
    ASSERT_EQ(grid.Rows(), 5);
    const QStringList expected[] = {
        {"2", "Changed", "Item 510, PR x 1 at BASE", "Unit Price 31.95 \u2192 1250.00"},
        {"3", "New", "Item 511, EA x 2", "Unit Price 0.50"},
        {"4", "Refused", "Item 511, EA x 3", "Unit Price \"-\" is not an amount."},
        {"5", "Unchanged", "Item 511, EA x 1 at VILLAGE", ""}};
    for (int row = 1; row < grid.Rows(); ++row) {
        for (int col = 0; col < 4; ++col) {
            EXPECT_EQ(grid.TextMatrix(row, col), expected[row - 1][col]) << row << "," << col;
        }
    }
    EXPECT_EQ(Find<QLabel>("lblSummary").text(),
              "1 new, 1 changed, 1 unchanged, 1 refused. The file was read as UTF-8.");

    const QString refused = dir_.filePath("fix-me.csv");
    script.ExpectSaveFile(refused.toStdString());
    QTest::mouseClick(&cmdSaveRefused, Qt::LeftButton);
    QFile saved(refused);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().toStdString(),
              "Item No,UOM,Qty,Location,Unit Price,Refused Because\r\n"
              "511,EA,3,,-,\"Unit Price \"\"-\"\" is not an amount.\"\r\n");

    // Answering No saves nothing; Yes saves both rows.
    script.ExpectMessage("Import 2 rows? The unchanged and refused rows are left as they are.",
                         "Import", kQuestionYesNo, MsgResult::No);
    QTest::mouseClick(&cmdImport, Qt::LeftButton);
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_price WHERE item_no = 511 AND unit_qty = 2"), "0");
    script
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
