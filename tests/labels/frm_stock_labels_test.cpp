// The label screen on the demo back office: gloves 510, goggles 511 and the
// blue shell jacket 503 print with the shelf label (format 4); the other
// jackets with the hang tag (format 3), which has no template.
#include "labels/frm_stock_labels.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QPushButton>
#include <QTemporaryDir>

#include "base/format.h"
#include "preview/print_job.h"
#include "service/citem_maint.h"
#include "support/core/prompter_script.h"
#include "support/qt/grid_typing.h"
#include "support/qt/qt_printers.h"
#include "support/qt/run_tool.h"
#include "support/qt/scripted_modal_runner.h"
#include "support/server/back_office.h"
#include "ui/flex_grid.h"

namespace vym {
namespace {

using test::PrompterScript;
using test::RunTool;

constexpr int kPrinted = 0;
constexpr int kQty = 5;
constexpr int kFormat = 7;
constexpr int kPrinter = 11;

// What a scanner reads off a PDF's first page, its text and its page size.
struct Printout {
    QString barcode, text, pageSize, pages;
};

Printout Read(const QString& pdf) {
    const QString png = pdf + QStringLiteral("-page");
    RunTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
             QStringLiteral("-singlefile"), pdf, png});
    Printout out;
    out.barcode = RunTool(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"),
                                                      png + QStringLiteral(".png")})
                      .trimmed();
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

class StockLabels : public ::testing::Test {
  protected:
    StockLabels() { maint_.SetAppServer(&office_.Server()); }
    ~StockLabels() override { maint_.SetAppServer(nullptr); }

    ui::FlexGrid& Grid() { return *window_.findChild<ui::FlexGrid*>("dbgStockLabels"); }
    std::string Scalar(const std::string& sql) {
        auto rs = office_.Db().OpenRecordset(sql);
        return NullToEmpty(rs->Fields(0).Value());
    }

    test::BackOffice office_;
    CItemMaint maint_;
    frmStockLabels window_;
};

TEST_F(StockLabels, PrintAllPrintsEveryRowItCanAndTicksOnlyThose) {
    office_.Sql("UPDATE vym_item_stock SET format_no = NULL WHERE item_no = 502");
    PrompterScript script;
    script.ExpectMessage("No stock label format defined for item 502", "", kInformation);
    window_.Setup(&maint_, {{510, {}}, {501, {}}, {502, {}}, {511, {}}, {503, {}}});
    window_.show();
    script.Verify();
    ASSERT_EQ(Grid().Rows(), 6);
    EXPECT_EQ(window_.windowTitle(), "Print Stock Labels");
    EXPECT_EQ(Grid().DisplayText(1, kFormat), "Shelf Label");
    // The gloves go to the roll printer; the others to the default printer,
    // which prints with the format's first template, the letter sheet.
    ASSERT_TRUE(test::ChooseInCell(Grid(), 1, kPrinter, "THERMAL  2.25X1.25"));
    ASSERT_TRUE(test::TypeIntoCell(Grid(), 1, kQty, "2"));

    QTemporaryDir dir;
    preview::PdfOutput output(dir.filePath("labels.pdf"));
    script.ExpectMessage("Error printing stock label for 501", "Print Error", kInformation)
        .ExpectMessage("Format is required to print labels.  Please select one and reprint for 502",
                       "Invalid Format", kInformation);
    window_.findChild<QPushButton*>("cmdPrintAll")->click();
    script.Verify();

    // The hang tag's job found no template and wrote nothing.
    ASSERT_EQ(output.Files().size(), 3);
    struct Label {
        int row;
        std::int32_t item;
        const char* pageSize;
        const char* pages;  // a page a copy on a roll
    };
    const Label printed[] = {{1, 510, "162 x 90 pts", "2"},
                             {4, 511, "612 x 792 pts (letter)", "1"},
                             {5, 503, "612 x 792 pts (letter)", "1"}};
    for (std::size_t i = 0; i < std::size(printed); ++i) {
        const Label& label = printed[i];
        SCOPED_TRACE(label.item);
        const Printout out = Read(output.Files()[static_cast<qsizetype>(i)]);
        const std::string item = std::to_string(label.item);
        EXPECT_EQ(out.barcode.toStdString(),
                  Scalar("SELECT upc_code FROM vym_item_stock WHERE item_no = " + item));
        EXPECT_TRUE(out.text.contains(QString::fromStdString(Format(
            office_.Db()
                .OpenRecordset("SELECT unit_price FROM vym_item_stock WHERE item_no = " + item)
                ->Fields(0)
                .Value(),
            "Currency"))))
            << out.text.toStdString();
        EXPECT_EQ(out.pageSize, label.pageSize);
        EXPECT_EQ(out.pages, label.pages);
        EXPECT_TRUE(Grid().CellChecked(label.row, kPrinted));
    }
    EXPECT_FALSE(Grid().CellChecked(2, kPrinted));
    EXPECT_FALSE(Grid().CellChecked(3, kPrinted));
}

TEST_F(StockLabels, AReceivingAddsItsLinesWithTheQuantitiesReceivedAndUnitsTheirOwnRows) {
    window_.Setup(&maint_);
    window_.show();
    test::ScriptedModalRunner modals;
    modals.Expect("frmPickList", [](QDialog& list) {
        EXPECT_EQ(list.windowTitle(), "Select Receiving Number");
        auto* grid = list.findChild<ui::FlexGrid*>("fgPickList");
        ASSERT_EQ(grid->TextMatrix(1, 0), "1002");  // newest first
        grid->SetCurrentCell(1, 0);
        grid->SelectRow(1);
        list.findChild<QPushButton*>("cmdOk")->click();
    });
    window_.findChild<QAction*>("mnuSelectByReceivingNo")->trigger();
    modals.Verify();
    ASSERT_EQ(Grid().Rows(), 4);
    for (auto [row, item, qty] : {std::tuple{1, "503", "4"}, {2, "510", "12"}, {3, "511", "3"}}) {
        EXPECT_EQ(Grid().TextMatrix(row, 1), item);
        EXPECT_EQ(Grid().TextMatrix(row, kQty), qty);
    }

    // Serialized labels show the unit and where it lives.
    frmStockLabels units;
    const std::string serial = Scalar(
        "SELECT serial_id FROM vym_item_stock_serial WHERE item_no = 620 ORDER BY serial_id");
    units.Setup(&maint_, {{620, QString::fromStdString(serial)}}, true);
    auto& grid = *units.findChild<ui::FlexGrid*>("dbgStockLabels");
    EXPECT_EQ(units.windowTitle(), "Print Serialized Stock Labels");
    ASSERT_EQ(grid.Rows(), 2);
    EXPECT_FALSE(grid.IsColumnHidden(2));
    EXPECT_EQ(grid.TextMatrix(1, 2).toStdString(), serial);
    EXPECT_EQ(grid.TextMatrix(1, 10), "Summit Rental Shop");
    EXPECT_TRUE(Grid().IsColumnHidden(2));
}

}  // namespace
}  // namespace vym
