// The label screen on the demo back office: gloves 510, goggles 511 and the
// blue shell jacket 503 print with the shelf label (format 4); the other
// jackets and the rental units with the hang tag (format 3).
#include "labels/frm_stock_labels.h"

#include <QAction>
#include <QProgressBar>
#include <QTemporaryDir>
#include <functional>

#include "base/format.h"
#include "preview/print_job.h"
#include "support/qt/qt_printers.h"
#include "support/qt/run_tool.h"
#include "support/qt/screen_test.h"
#include "ui/flex_grid_delegate.h"

namespace vym {
namespace {

using test::CellTexts;
using test::PrompterScript;
using test::RunTool;

constexpr int kPrinted = 0;
constexpr int kStockNo = 1;
constexpr int kQty = 5;
constexpr int kFormat = 7;
constexpr int kPrinter = 11;

// What a scanner reads off a PDF's first page (every code, sorted), its text,
// its page size and its number of pages.
struct Printout {
    QStringList barcodes;
    QString text, pageSize, pages;
};

Printout Read(const QString& pdf) {
    const QString png = pdf + QStringLiteral("-page");
    RunTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
             QStringLiteral("-singlefile"), pdf, png});
    Printout out;
    out.barcodes =
        RunTool(QStringLiteral("zbarimg"),
                {QStringLiteral("--raw"), QStringLiteral("-q"), png + QStringLiteral(".png")})
            .split(u'\n', Qt::SkipEmptyParts);
    out.barcodes.sort();
    out.text = RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    for (const QString& line : RunTool(QStringLiteral("pdfinfo"), {pdf}).split(u'\n')) {
        if (line.startsWith(QLatin1String("Page size:"))) {
            out.pageSize = line.section(u':', 1).simplified();
        } else if (line.startsWith(QLatin1String("Pages:"))) {
            out.pages = line.section(u':', 1).simplified();
        }
    }
    return out;
}

// A user at the screen while a load runs: `act` is what they do the first
// time the load lets them in, while its Stop button shows.
class UserDuringLoad : public PrompterScript {
  public:
    UserDuringLoad(QWidget& window, std::function<void()> act)
        : stop_(*window.findChild<QPushButton*>("cmdStop")), act_(std::move(act)) {}
    void ProcessPendingInput() override {
        if (act_ && stop_.isVisible()) {
            std::exchange(act_, nullptr)();
        }
    }

  private:
    QPushButton& stop_;
    std::function<void()> act_;
};

class StockLabels : public test::ScreenOf<frmStockLabels> {
  protected:
    StockLabels() : ScreenOf("dbgStockLabels") {}

    QString Upc(std::int32_t item) {
        return QString::fromStdString(
            Scalar("SELECT upc_code FROM vym_item_stock WHERE item_no = " + std::to_string(item)));
    }
    QString Price(std::int32_t item) {
        return QString::fromStdString(
            Format(office_.Db()
                       .OpenRecordset("SELECT unit_price FROM vym_item_stock WHERE item_no = " +
                                      std::to_string(item))
                       ->Fields(0)
                       .Value(),
                   "Currency"));
    }
    // Picks receiving 1002, the newest, from the receivings list.
    void SelectReceiving1002() {
        modals_.Expect("frmPickList", [](QDialog& list) {
            EXPECT_EQ(list.windowTitle(), "Select Receiving Number");
            auto* grid = list.findChild<ui::FlexGrid*>("fgPickList");
            ASSERT_EQ(grid->TextMatrix(1, 0), "1002");  // newest first
            grid->SetCurrentCell(1, 0);
            grid->SelectRow(1);
            list.findChild<QPushButton*>("cmdOk")->click();
        });
        window_.findChild<QAction*>("mnuSelectByReceivingNo")->trigger();
        modals_.Verify();
    }
};

TEST_F(StockLabels, PrintAllPrintsEveryRowItCanAndTicksOnlyThose) {
    // 501 has a format without a template, 502 none, and 511 a UPC that
    // code 128 cannot carry: it prints in the same job as 503 but fails alone.
    office_.Sql(
        "INSERT INTO vym_print_format (format_no, description, print_format_type) "
        "VALUES (90, 'Price Sticker', 'STOCK')");
    office_.Sql("UPDATE vym_item_stock SET format_no = 90 WHERE item_no = 501");
    office_.Sql("UPDATE vym_item_stock SET format_no = NULL WHERE item_no = 502");
    office_.Sql("UPDATE vym_item_stock SET upc_code = 'GRÖSSE-1' WHERE item_no = 511");
    script_.ExpectMessage("No stock label format defined for item 502", "", kInformation);
    window_.Setup(&maint_, {{510, {}}, {501, {}}, {502, {}}, {511, {}}, {503, {}}});
    window_.show();
    script_.Verify();
    ASSERT_EQ(Grid().Rows(), 6);
    EXPECT_EQ(window_.windowTitle(), "Print Stock Labels");
    EXPECT_EQ(Grid().DisplayText(1, kFormat), "Shelf Label");
    // The gloves go to the roll printer; the others to the default printer,
    // which prints with the format's first template, the letter sheet.
    ASSERT_TRUE(test::ChooseInCell(Grid(), 1, kPrinter, "THERMAL  2.25X1.25"));
    ASSERT_TRUE(test::TypeIntoCell(Grid(), 1, kQty, "2"));

    QTemporaryDir dir;
    preview::PdfOutput output(dir.filePath("labels.pdf"));
    script_.ExpectMessage("Error printing stock label for 501", "Print Error", kInformation)
        .ExpectMessage("Format is required to print labels.  Please select one and reprint for 502",
                       "Invalid Format", kInformation)
        .ExpectMessage("Error printing stock label for 511", "Print Error", kInformation);
    window_.findChild<QPushButton*>("cmdPrintAll")->click();
    script_.Verify();

    // One job a run of rows alike; the sticker's found no template and wrote
    // nothing. 511's label is on the sheet, without a code to scan.
    ASSERT_EQ(output.Files().size(), 2);
    struct Job {
        std::int32_t item;  // the one label that scans
        const char* pageSize;
        const char* pages;  // a page a copy on a roll
    };
    const Job jobs[] = {{510, "162 x 90 pts", "2"}, {503, "612 x 792 pts (letter)", "1"}};
    for (std::size_t i = 0; i < std::size(jobs); ++i) {
        SCOPED_TRACE(jobs[i].item);
        const Printout out = Read(output.Files()[static_cast<qsizetype>(i)]);
        EXPECT_EQ(out.barcodes, QStringList{Upc(jobs[i].item)});
        EXPECT_TRUE(out.text.contains(Price(jobs[i].item))) << out.text.toStdString();
        EXPECT_EQ(out.pageSize, jobs[i].pageSize);
        EXPECT_EQ(out.pages, jobs[i].pages);
    }
    for (auto [row, printed] :
         {std::pair{1, true}, {2, false}, {3, false}, {4, false}, {5, true}}) {
        EXPECT_EQ(Grid().CellChecked(row, kPrinted), printed) << row;
    }
}

// A Qty that is not a whole number of labels is refused as it is typed, and
// the cell keeps the number it had.
TEST_F(StockLabels, AQtyThatIsNotAWholeNumberOfLabelsIsRefusedWhereItIsTyped) {
    window_.Setup(&maint_, {{510, {}}}, false);
    window_.show();
    ASSERT_TRUE(test::TypeIntoCell(Grid(), 1, kQty, "1,250"));
    EXPECT_EQ(Grid().TextMatrix(1, kQty), "1,250");
    for (const char* typed : {"", "-", ".50", "abc", "0"}) {
        script_.ExpectMessage(
            "The number of labels for 510 must be a whole number from 1 to "
            "99999, not \"" +
                std::string(typed) + "\".",
            "Invalid Qty", kInformation);
        test::TypeIntoCell(Grid(), 1, kQty, typed);
        script_.Verify();
        EXPECT_EQ(Grid().TextMatrix(1, kQty), "1,250") << typed;
    }
}

TEST_F(StockLabels, SerialUnitsPrintTheirHangTagsOutOfTheBoxScanningAsTheirSerialIds) {
    const std::string unitsOf620 = "FROM vym_item_stock_serial WHERE item_no = 620";
    const QString first = QString::fromStdString(Scalar("SELECT min(serial_id) " + unitsOf620));
    const QString last = QString::fromStdString(Scalar("SELECT max(serial_id) " + unitsOf620));
    window_.Setup(&maint_, {{620, first}, {620, last}}, true);
    EXPECT_EQ(window_.windowTitle(), "Print Serialized Stock Labels");
    ASSERT_EQ(Grid().Rows(), 3);
    EXPECT_FALSE(Grid().IsColumnHidden(2));
    EXPECT_EQ(Grid().TextMatrix(1, 2), first);
    EXPECT_EQ(Grid().TextMatrix(1, 10), "Summit Rental Shop");
    EXPECT_EQ(Grid().DisplayText(1, kFormat), "Hang Tag 2x3");

    QTemporaryDir dir;
    preview::PdfOutput output(dir.filePath("tags.pdf"));
    window_.findChild<QPushButton*>("cmdPrintAll")->click();
    ASSERT_EQ(output.Files().size(), 1);
    const Printout out = Read(output.Files()[0]);
    EXPECT_EQ(out.barcodes, QStringList{first});
    EXPECT_EQ(out.pageSize, "144 x 216 pts");  // 2" x 3", a page a tag
    EXPECT_EQ(out.pages, "2");
    EXPECT_TRUE(out.text.contains(QLatin1String("FR155-7781"))) << out.text.toStdString();
    EXPECT_TRUE(Grid().CellChecked(1, kPrinted));
    EXPECT_TRUE(Grid().CellChecked(2, kPrinted));
}

TEST_F(StockLabels, TheStockNumbersButtonAnswersByMouseAndByKeyboard) {
    window_.Setup(&maint_, {{510, {}}, {511, {}}});
    window_.show();
    ui::FlexGrid& grid = Grid();
    const std::pair<const char*, std::function<void()>> presses[] = {
        {"click",
         [&] {
             QCoreApplication::processEvents();  // the grid shows its rows
             const QRect cell = grid.visualRect(grid.model()->index(1, kStockNo));
             QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                               ui::FlexGridDelegate::ButtonRect(cell).center());
         }},
        {"space",
         [&] {
             grid.setFocus();
             grid.SetCurrentCell(2, kStockNo);
             QTest::keyClick(&grid, Qt::Key_Space);
         }},
    };
    for (const auto& [how, press] : presses) {
        SCOPED_TRACE(how);
        script_.ExpectMessage("Sorry Not Implemented", "", kInformation);
        press();
        script_.Verify();
        EXPECT_EQ(grid.TextMatrix(2, kStockNo), "511");
    }
}

TEST_F(StockLabels, StoppingAReceivingsLoadLeavesTheGridAsItWasAndALoadLeftAloneAddsItsLines) {
    window_.Setup(&maint_, {{500, {}}});
    window_.show();
    ASSERT_TRUE(test::TypeIntoCell(Grid(), 1, kQty, "7"));
    auto* stop = window_.findChild<QPushButton*>("cmdStop");
    auto* progress = window_.findChild<QProgressBar*>("prgLoad");
    EXPECT_FALSE(stop->isVisible());
    const std::pair<const char*, std::function<void()>> stops[] = {
        {"Stop", [&] { QTest::mouseClick(stop, Qt::LeftButton); }},
        {"Esc", [&] { QTest::keyClick(&window_, Qt::Key_Escape); }},
    };
    for (const auto& [how, press] : stops) {
        SCOPED_TRACE(how);
        bool shown = false;
        UserDuringLoad user(window_, [&] {
            shown = stop->isEnabled() && progress->isVisible() && progress->maximum() == 3 &&
                    progress->value() == 1 &&
                    !window_.findChild<QPushButton*>("cmdPrintAll")->isEnabled();
            press();
        });
        SelectReceiving1002();
        EXPECT_TRUE(shown);
        ASSERT_EQ(Grid().Rows(), 2);
        EXPECT_EQ(Grid().TextMatrix(1, kStockNo), "500");
        EXPECT_EQ(Grid().TextMatrix(1, kQty), "7");
        EXPECT_TRUE(window_.isVisible()) << "closing stops the load, not the screen";
        EXPECT_FALSE(stop->isVisible());
        EXPECT_TRUE(window_.findChild<QPushButton*>("cmdPrintAll")->isEnabled());
    }
    // Left alone, the load adds every line with the quantity received; then
    // Esc closes the screen.
    SelectReceiving1002();
    ASSERT_EQ(Grid().Rows(), 5);
    for (auto [row, item, qty] : {std::tuple{2, "503", "4"}, {3, "510", "12"}, {4, "511", "3"}}) {
        EXPECT_EQ(CellTexts(Grid(), row, {kStockNo, kQty}), QString(item) + "|" + qty);
    }
    EXPECT_TRUE(Grid().IsColumnHidden(2));  // no serial ids on stock labels
    QTest::keyClick(&window_, Qt::Key_Escape);
    EXPECT_FALSE(window_.isVisible());
}

}  // namespace
}  // namespace vym
