#include "editors/frm_stock_matrix.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <tuple>
#include <vector>

#include "editors/screen_helpers.h"
#include "support/qt/screen_test.h"
#include "ui/data_combo.h"
#include "ui/key_tab_bar.h"

namespace vym {
namespace {

using test::TypeIntoCell;
using ui::DataCombo;
using ui::FlexGrid;

constexpr const char* kNoAttributes =
    "You have not defined any attributes or quantities.  Please fill out the Matrix tab before "
    "proceeding.";

class StockMatrixWindow : public test::ScreenTest {
  protected:
    frmStockMatrix& Open(std::int32_t po = 0, const QString& vendor = {},
                         const QString& stockType = {}) {
        window_ = std::make_unique<frmStockMatrix>();
        screen_ = window_.get();
        window_->Setup(&maint_, po, vendor, stockType);
        return *window_;
    }
    QLineEdit& Box(const char* name) { return Find<QLineEdit>(name); }
    DataCombo& Combo(const char* name) { return Find<DataCombo>(name); }
    FlexGrid& Matrix() { return Find<FlexGrid>("fgMatrix"); }
    void Type(const char* name, const QString& text) { test::ReplaceText(Box(name), text); }
    void Leave(const char* name) { test::Leave(Box(name)); }
    QString CurrentTab() { return Find<ui::KeyTabBar>("tabStock").CurrentKey(); }
    // Adds an attribute row as a user does: Add Row, then the name typed.
    void AddAttribute(const QString& name) {
        Click("cmdAddRow");
        ASSERT_TRUE(TypeIntoCell(Matrix(), Matrix().Rows() - 1, 0, name));
    }
    // A fleece in red and blue letter sizes, ready to generate.
    void FillFleece() {
        Combo("cmbStockType").SetKey("APPAREL");
        Type("txtDescription", "Trail Fleece");
        Combo("cmbModel").SetKey("SHELL");
        Combo("cmbDepartment").SetKey("RETAIL");
        Type("txtCurrentCost", "10");
        Type("txtMargin", "50");
        Combo("cmbSizeType").SetKey("ALPHA");
        AddAttribute("Red");
        AddAttribute("Blue");
        ASSERT_TRUE(TypeIntoCell(Matrix(), 1, 2, "4"));
        ASSERT_TRUE(TypeIntoCell(Matrix(), 2, 3, "1,250"));
    }
    void ExpectGenerate() {
        script_.ExpectMessage(
            "Are you sure you want to generate all the stock for this stock matrix?",
            "Confirm Stock Generation", kQuestionYesNoDefaultNo, MsgResult::Yes);
    }
    std::int32_t StockItems() { return office_.Scalar("SELECT COUNT(*) FROM vym_item_stock"); }

    std::unique_ptr<frmStockMatrix> window_;
};

TEST_F(StockMatrixWindow, CostPriceAndMarginFollowWhatIsTyped) {
    struct Case {
        const char* cost;
        const char* field;  // the price or margin typed after the cost
        const char* typed;
        const char* price;  // as shown once both are left
        const char* margin;
    };
    for (const Case& c : {
             Case{"10", "txtMargin", "50", "20.0000", "50.00%"},
             Case{"$10", "txtUnitPrice", "12.5", "12.5000", "20.00%"},
             Case{"10", "txtMargin", "100", "0.0000", "100.00%"},
             Case{"1,250", "txtMargin", ".50", "1256.2800", "0.50%"},
             Case{"1", "txtMargin", "68", "3.1200", "68.00%"},  // 3.125 to even
             Case{"10", "txtUnitPrice", "", "0.0000", "0.00%"},
             Case{"10", "txtUnitPrice", "-", "0.0000", "0.00%"},
             Case{"abc", "txtUnitPrice", "$20", "20.0000", "100.00%"},
         }) {
        Open();
        Type("txtCurrentCost", c.cost);
        Type(c.field, c.typed);
        for (const char* field : {"txtCurrentCost", "txtUnitPrice", "txtMargin"}) {
            Leave(field);
        }
        const std::string what = std::string(c.cost) + " then " + c.field + " " + c.typed;
        EXPECT_EQ(Box("txtUnitPrice").text(), c.price) << what;
        EXPECT_EQ(Box("txtMargin").text(), c.margin) << what;
    }
    Type("txtMinPrice", "1,5x");
    Leave("txtMinPrice");
    EXPECT_EQ(Box("txtMinPrice").text(), "0.0000");
    Type("txtDiscountRate", "2.505");
    Leave("txtDiscountRate");
    EXPECT_EQ(Box("txtDiscountRate").text(), "2.51");
}

TEST_F(StockMatrixWindow, MatrixTakesSizesAsColumnsAndNumbersAsQuantities) {
    Open();
    script_.ExpectMessage("Please select a type size before adding attribute rows.",
                          "Add Row Cancelled", kInformation);
    Click("cmdAddRow");
    EXPECT_EQ(Matrix().Rows(), 1);

    Combo("cmbSizeType").SetKey("ALPHA");
    EXPECT_EQ(Matrix().FormatString(), "Attributes|^XS|^S|^M|^L|^XL");
    AddAttribute("Red");
    AddAttribute("Blue");
    struct Case {
        const char* typed;
        const char* kept;
    };
    for (const Case& c : {Case{"1,250", "1,250"}, Case{"$20", "$20"}, Case{"abc", "$20"},
                          Case{"-", "$20"}, Case{"", ""}, Case{".50", ".50"}}) {
        if (QString(c.typed) == "abc" || QString(c.typed) == "-") {
            script_.ExpectMessage("Value must be numeric", "Invalid Value", kInformation);
        }
        ASSERT_TRUE(TypeIntoCell(Matrix(), 1, 3, c.typed));
        EXPECT_EQ(Matrix().TextMatrix(1, 3), c.kept) << c.typed;
    }
    // Another size type keeps the attributes and drops the quantities.
    Combo("cmbSizeType").SetKey("MONDO");
    EXPECT_EQ(Matrix().FormatString(), "Attributes|^25|^26|^27|^28");
    EXPECT_EQ(Matrix().TextMatrix(2, 0), "Blue");
    EXPECT_EQ(Matrix().TextMatrix(1, 1), "");

    // The attribute names are offered again the next time.
    Open();
    ASSERT_EQ(Matrix().Rows(), 3);
    EXPECT_EQ(Matrix().TextMatrix(1, 0), "Red");
    EXPECT_EQ(Matrix().TextMatrix(2, 0), "Blue");
}

TEST_F(StockMatrixWindow, OkChecksInOrderThenGeneratesTheItemsOnTheOrder) {
    Open(1005);
    script_.ExpectMessage(kNoAttributes, "Save Cancelled", kInformation);
    Click("cmdOk");
    EXPECT_EQ(CurrentTab(), "Matrix");

    Combo("cmbSizeType").SetKey("ALPHA");
    AddAttribute("Red");
    const auto refused = [&](const char* message, const char* title, const char* tab) {
        ExpectGenerate();
        script_.ExpectMessage(message, title, kInformation);
        Click("cmdOk");
        EXPECT_EQ(CurrentTab(), tab) << message;
    };
    refused("Stock Type is required", "Save Error", "DESC");
    Combo("cmbStockType").SetKey("APPAREL");
    refused("Description is required", "Save Error", "DESC");
    Type("txtDescription", "Trail Fleece");
    refused("Vendor is Required", "Save Error", "DESC");
    modals_.Expect("frmVendor", test::PickVendor("ALPINEGEAR"));
    Click("cmdVendor");
    refused("Accounting Department is required", "Save Error", "DEPT");
    Combo("cmbDepartment").SetKey("RETAIL");
    refused("Stock Model is required for retail type stock.", "InValid Model", "DESC");
    Combo("cmbModel").SetKey("SHELL");
    refused("Error no data from matrix", "Save Error", "DESC");
    EXPECT_EQ(Find<QLabel>("lblVendorName").text(), "Alpine Gear Supply Co.");

    Type("txtCurrentCost", "10");
    Type("txtMargin", "50");
    ASSERT_TRUE(TypeIntoCell(Matrix(), 1, 2, "4"));
    ASSERT_TRUE(TypeIntoCell(Matrix(), 1, 4, "0"));
    std::vector<std::tuple<std::int32_t, QString, Currency, double, std::int32_t, QString>> added;
    QObject::connect(window_.get(), &frmStockMatrix::ItemStockAdded,
                     [&](std::int32_t item, const QString& description, Currency cost, double price,
                         std::int32_t qty, const QString& vendor) {
                         added.emplace_back(item, description, cost, price, qty, vendor);
                     });
    const std::int32_t before = StockItems();
    ExpectGenerate();
    Click("cmdOk");
    EXPECT_EQ(window_->result(), QDialog::Accepted);
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(StockItems(), before + 2);
    const auto& [item, description, cost, price, qty, vendor] = added.front();
    EXPECT_EQ(window_->ItemsCreated().front(), item);
    EXPECT_EQ(description, "Trail Fleece,SHELL,Red,S");
    EXPECT_EQ(cost, Currency::FromRaw(100000));
    EXPECT_EQ(price, 20.0);
    EXPECT_EQ(qty, 4);
    EXPECT_EQ(vendor, "ALPINEGEAR");
    EXPECT_EQ(office_.Scalar("SELECT qty_ord FROM vym_po_line WHERE po_no = 1005 AND item_no = " +
                             std::to_string(item)),
              4);
    EXPECT_EQ(office_.Scalar("SELECT COUNT(*) FROM vym_po_line WHERE po_no = 1005"), 1);
}

// The store fails on the blue items, after the red ones were written: none
// is left behind, and the window keeps the matrix for another try.
TEST_F(StockMatrixWindow, AFailedSaveLeavesNoItemAndKeepsTheMatrix) {
    Open(1005, "ALPINEGEAR");
    FillFleece();
    office_.Sql(
        "CREATE TRIGGER fail_blue BEFORE INSERT ON vym_item_stock WHEN NEW.attribute = 'Blue' "
        "BEGIN SELECT RAISE(ABORT, 'database or disk is full'); END");
    const std::int32_t items = office_.Scalar("SELECT COUNT(*) FROM vym_item");
    errorsExpected_ = true;
    ExpectGenerate();
    Click("cmdOk");
    EXPECT_NE(window_->result(), QDialog::Accepted);
    EXPECT_EQ(office_.Scalar("SELECT COUNT(*) FROM vym_item"), items);
    EXPECT_EQ(office_.Scalar("SELECT COUNT(*) FROM vym_po_line WHERE po_no = 1005"), 0);
    EXPECT_EQ(Matrix().TextMatrix(2, 3), "1,250");
    EXPECT_TRUE(window_->ItemsCreated().empty());

    // The same matrix saves once the store works again.
    office_.Sql("DROP TRIGGER fail_blue");
    ExpectGenerate();
    Click("cmdOk");
    EXPECT_EQ(window_->result(), QDialog::Accepted);
    EXPECT_EQ(office_.Scalar("SELECT SUM(qty_ord) FROM vym_po_line WHERE po_no = 1005"), 1254);
}

}  // namespace
}  // namespace vym
