// The serial console on the demo fleet (see the serial procedures' test):
// skis 600 at BASE are RSB00001-RSB00005, RSB00003 out on a contract.
#include "serials/serial.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>

#include "base/format.h"
#include "support/qt/screen_test.h"
#include "ui/any_combo.h"

namespace vym {
namespace {

using ui::FlexGrid;

constexpr int kSerialIdCol = 2;
constexpr int kOrigCostCol = 9;
constexpr int kRetailPriceCol = 10;
constexpr int kDepreciatedCol = 11;

// A console bound as the back office binds it, with the last status text.
class SerialConsole : public test::ScreenTest {
  protected:
    SerialConsole() : ScreenTest(&console_, "flxSerial") {}
    void Bind(AppServer& server) {
        server.OnStatusText(
            [this](const std::string& text) { status_ = QString::fromStdString(text); });
        console_.implements_SetAppServer(&server);
        console_.implements_Setup();
        console_.implements_Enable();
        console_.show();
    }
    void Type(const char* field, const QString& text) {
        test::ReplaceText(Find<QLineEdit>(field), text);
    }
    void Search() { Find<QPushButton>("cmdFind").click(); }
    QString Serials() { return test::ColumnTexts(Grid(), kSerialIdCol).join(' '); }
    int RowOf(const QString& serial) { return Grid().FindRow(serial, kSerialIdCol); }
    std::string Cell(const char* column, const char* serial) {
        auto rows = office_.Db().OpenRecordset(std::string("SELECT ") + column +
                                               " FROM vym_item_stock_serial WHERE serial_id = '" +
                                               serial + "'");
        return rows->Fields(0).Value().IsNull() ? "NULL" : Format(rows->Fields(0).Value(), "0.00");
    }

    Serial console_;
    QString status_;
};

TEST_F(SerialConsole, SearchesAsTypedAndRefusesCriteriaItCannotUse) {
    Bind(office_.Server());
    struct Case {
        const char* serial;
        const char* itemNo;
        const char* status;  // status list key, "" for <ANY>
        const char* message;
        const char* title;
        const char* found;
        const char* statusText;
    };
    const Case cases[] = {
        {"", "", "AVAIL", "Please provide at least one search criteria besides status.",
         "Search Criteria Required", "", ""},
        {"", "12A", "",
         "Please enter a numeric value in the item number search or clear the value.",
         "Serial Number Search", "", ""},
        {"", "620", "", nullptr, nullptr, "SBS00001 SBS00002 SBS00003", "Found Serials 3"},
        {"", "620", "REPAIR", nullptr, nullptr, "SBS00003", "Ready"},
        {"rsb0000", "", "OUT", nullptr, nullptr, "RSB00003", "Ready"},
    };
    for (const Case& c : cases) {
        Find<QPushButton>("cmdNewSearch").click();
        Type("txtSerialId", c.serial);
        Type("txtItemNo", c.itemNo);
        Find<ui::AnyCombo>("cmbStatus").SetKey(c.status);
        if (c.message) {
            script_.ExpectMessage(c.message, c.title, kInformation);
        }
        status_.clear();
        Search();
        script_.Verify();
        EXPECT_EQ(Serials(), c.found) << c.itemNo << c.status;
        if (*c.statusText) {
            EXPECT_EQ(status_, c.statusText);
        }
    }
}

TEST_F(SerialConsole, PriceCellsTakeAmountsAsUsersTypeThem) {
    Bind(office_.Server());
    Type("txtItemNo", "600");
    Search();
    const int row = RowOf("RSB00004");  // a unit without prices
    ASSERT_GT(row, 0);
    EXPECT_FALSE(test::TypeIntoCell(Grid(), row, kSerialIdCol, "X")) << "only prices are edited";
    struct Case {
        int col;
        const char* typed;
        const char* column;
        const char* stored;
        const char* refusal;
    };
    const Case cases[] = {
        {kOrigCostCol, ".50", "original_cost", "0.50", nullptr},
        {kRetailPriceCol, "1,250", "retail_price", "1250.00", nullptr},
        {kDepreciatedCol, "$20", "depreciated_value", "20.00", nullptr},
        {kDepreciatedCol, "-", "depreciated_value", "20.00",
         "The value should be a valid currency."},
        {kDepreciatedCol, "99999999999999999", "depreciated_value", "20.00",
         "Invalid currency value."},
        {kOrigCostCol, "", "original_cost", "NULL", nullptr},
    };
    for (const Case& c : cases) {
        if (c.refusal) {
            script_.ExpectMessage(c.refusal, "Invalid Value", kInformation);
        }
        ASSERT_TRUE(test::TypeIntoCell(Grid(), row, c.col, c.typed));
        script_.Verify();
        if (QWidget* editor = console_.focusWidget(); Grid().IsEditing() && editor) {
            QTest::keyClick(editor, Qt::Key_Escape);
        }
        EXPECT_EQ(Cell(c.column, "RSB00004"), c.stored) << c.typed;
    }
    // Clearing one price left the others.
    EXPECT_EQ(Cell("retail_price", "RSB00004"), "1250.00");
}

TEST_F(SerialConsole, WithoutTheDeleteRightDeleteIsNotOffered) {
    auto rmiller = office_.OpenAgain("RMILLER");
    Bind(*rmiller);
    EXPECT_FALSE(Find<QAction>("mnuDelete").isVisible());
    EXPECT_TRUE(Find<QAction>("mnuAdd").isVisible());
}

TEST_F(SerialConsole, DeletesAUnitThatIsNotOutAfterTheUserSaysYes) {
    Bind(office_.Server());
    ASSERT_TRUE(Find<QAction>("mnuDelete").isVisible());
    Type("txtSerialId", "RSB");
    Search();
    const auto remove = [&](const char* serial, MsgResult answer, const char* refusal = nullptr) {
        Grid().clearSelection();
        Grid().SetCurrentCell(RowOf(serial), 0);
        Grid().SelectRow(RowOf(serial));
        script_.ExpectMessage("Are you sure you want to delete this serial number?",
                              "Confirm Serial Delete", kQuestionYesNoDefaultNo, answer);
        if (refusal) {
            script_.ExpectMessage(refusal, "Delete Serial Failed", kInformation);
        }
        Find<QAction>("mnuDelete").trigger();
    };
    remove("RSB00002", MsgResult::No);
    remove("RSB00003", MsgResult::Yes,
           "Serial RSB00003 is out on rental contract 5012 and cannot be deleted.");
    remove("RSB00002", MsgResult::Yes);
    script_.Verify();
    EXPECT_EQ(Serials(), "RSB00001 RSB00003 RSB00004 RSB00005");
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_item_stock_serial WHERE serial_id = "
                             "'RSB00002'"),
              0);
}

TEST_F(SerialConsole, PrintLabelsListsTheSelectedUnitsOnTheSerializedLabelScreen) {
    Bind(office_.Server());
    Type("txtSerialId", "RSB");
    Search();
    Grid().clearSelection();
    Find<QAction>("mnuPrintLabels").trigger();  // nothing selected: nothing to label
    for (const char* serial : {"RSB00002", "RSB00004"}) {
        Grid().SelectRow(RowOf(serial));
    }
    modals_.Expect("frmStockLabels", [](QDialog& labels) {
        EXPECT_EQ(labels.windowTitle(), "Print Serialized Stock Labels");
        const auto& grid = *labels.findChild<FlexGrid*>("dbgStockLabels");
        ASSERT_EQ(grid.Rows(), 3);
        EXPECT_EQ(grid.TextMatrix(1, 2), "RSB00002");
        EXPECT_EQ(grid.TextMatrix(2, 2), "RSB00004");
        labels.reject();
    });
    Find<QAction>("mnuPrintLabels").trigger();
    modals_.Verify();
}

TEST_F(SerialConsole, CreatesSerialsFromATransferBatchOnce) {
    Bind(office_.Server());
    // The user forgets the format at first.
    const auto fill = [](QDialog& dialog) {
        QTest::keyClicks(dialog.findChild<QLineEdit*>("txtBatchNo"), "9001");
        auto* ok = dialog.findChild<QPushButton*>("cmdOk");
        ok->click();
        auto* format = dialog.findChild<ui::AnyCombo*>("cmbPrintFormat");
        format->setCurrentIndex(format->findText("Hang Tag 2x3"));
        ok->click();
    };
    const auto generate = [&](const std::string& message, const std::string& title) {
        modals_.Expect("frmBatchFormat", fill);
        script_.ExpectMessage("Please select a label format before proceeding.",
                              "Label Format Required", kInformation);
        script_.ExpectMessage(message, title, kInformation);
        Find<QAction>("mnuCreateFromTransfer").trigger();
        script_.Verify();
    };
    generate("You sucessfully generated 4 serial numbers.", "Serials Generated");
    generate("Serial numbers were already generated from transfer batch 9001.",
             "Error Generating Serials From Transfer");
    modals_.ExpectReject("frmBatchFormat");
    Find<QAction>("mnuCreateFromTransfer").trigger();
    modals_.Verify();
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_item_stock_serial WHERE item_no = 600 "
                             "AND print_format_no = 3 AND status_id = 'NEW'"),
              4);
}

TEST_F(SerialConsole, ShowsAUnitsRentalContracts) {
    Bind(office_.Server());
    Type("txtSerialId", "RSB00001");
    Search();
    Grid().SelectRow(1);
    modals_.Expect("frmViewHistory", [](QDialog& history) {
        EXPECT_EQ(history.windowTitle(), "RSB00001's Rental History");
        auto* grid = history.findChild<FlexGrid*>("fgHistory");
        EXPECT_EQ(grid->Rows(), 3);
        EXPECT_EQ(grid->ColumnHeading(2), "Customer");
        EXPECT_EQ(grid->TextMatrix(1, 2), "Priya Natarajan");
        history.reject();
    });
    Find<QAction>("mnuContractHistory").trigger();
    modals_.Verify();
}

}  // namespace
}  // namespace vym
