// The bulk price change on the demo back office, driven from the keyboard:
// the ski gloves (510: 29.95, 31.95 at the base lodge, 82.50 for three, 149.70
// for six at the base lodge) and the adult day ticket (100), whose employee
// price is 0.
#include "pricing/frm_bulk_price.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "gateway/command.h"
#include "gateway/procedure_call.h"
#include "support/qt/screen_test.h"
#include "support/qt/stop_at_first_chance.h"

namespace vym {
namespace {

using ui::FlexGrid;

constexpr int kPriceNo = 2;
constexpr int kNewPrice = 9;
constexpr int kNote = 10;
constexpr char kTitle[] = "Bulk Price Change";
constexpr MsgStyle kConfirm = kQuestionYesNoDefaultNo;

class BulkPriceScreen : public test::ScreenOf<frmBulkPrice> {
  protected:
    // As the console opens it on its search result.
    void Open(const std::vector<std::int32_t>& items) {
        ASSERT_TRUE(window_.Setup(&maint_, items));
        window_.show();
    }
    // Types the change as the user does and presses Enter: the default button previews.
    void TypeAndPreview(const char* change) {
        test::ReplaceText(Find<QLineEdit>("txtChange"), change);
        QTest::keyClick(&Find<QLineEdit>("txtChange"), Qt::Key_Return);
    }
    void ClickApply() { QTest::mouseClick(&Find<QPushButton>("cmdApply"), Qt::LeftButton); }
    void Choose(const char* combo, int downs) {
        auto& box = Find<QComboBox>(combo);
        QTest::keyClick(&box, Qt::Key_Home);
        for (int i = 0; i < downs; ++i) {
            QTest::keyClick(&box, Qt::Key_Down);
        }
    }
    // "new price|note" of the preview row of the price.
    std::string Previewed(std::int32_t priceNo) {
        FlexGrid& grid = Find<FlexGrid>("fgPreview");
        const int row = grid.FindRow(QString::number(priceNo), kPriceNo);
        if (row < 1) {
            return "<none>";
        }
        return grid.DisplayText(row, kNewPrice).toStdString() + "|" +
               grid.TextMatrix(row, kNote).toStdString();
    }
    std::string Stored(std::int32_t priceNo) {
        return Scalar("SELECT printf('%.2f', total_price) FROM vym_price WHERE price_no = " +
                      std::to_string(priceNo));
    }
    // The prices of the two items, and those of them a rule cannot raise from 0.
    int Prices(const char* which) {
        return office_.Scalar(
            "SELECT count(*) FROM vym_price WHERE item_no IN (510, 100) AND package_no IS NULL "
            "AND sale_no IS NULL" +
            std::string(which));
    }
    std::int32_t Price(const char* where) {
        return office_.Scalar("SELECT price_no FROM vym_price WHERE " + std::string(where));
    }
    std::string Summary() { return Find<QLabel>("lblSummary").text().toStdString(); }
};

TEST_F(BulkPriceScreen, PreviewsWhatTheUserTypedAndAppliesItInOneSave) {
    Open({510, 100});
    const std::int32_t gloves = Price("item_no = 510 AND unit_qty = 3 AND sale_no IS NULL");
    const std::int32_t employee = Price("item_no = 100 AND discount_id = 'EMPLOYEE'");
    const int prices = Prices("");
    ASSERT_EQ(Prices(" AND total_price = 0"), 1);
    {
        const std::pair<const char*, const char*> refused[] = {
            {"", "Enter the change: a percentage, an amount or a margin."},
            {"ten", "\"ten\" is not a number."},
            {"-100", "Prices can not be lowered by 100 % or more."},
        };
        for (const auto& [typed, message] : refused) {
            script_.ExpectMessage(message, kTitle, kInformation);
            TypeAndPreview(typed);
        }
        EXPECT_EQ(Find<FlexGrid>("fgPreview").Rows(), 1);
    }
    {
        Choose("cmbEnding", 1);  // .99
        TypeAndPreview("10");
        FlexGrid& grid = Find<FlexGrid>("fgPreview");
        EXPECT_EQ(grid.Rows() - 1, prices);
        EXPECT_EQ(Previewed(gloves), "90.99|");
        EXPECT_EQ(Previewed(employee),
                  "|The new price would be 0.00: a price must be more than zero.");
        EXPECT_EQ(Summary(), std::to_string(prices - 1) + " prices change, 1 can not change.");
        script_.ExpectMessage("Change " + std::to_string(prices - 1) +
                                  " prices?  1 price that can not change stays as it is.",
                              kTitle, kConfirm, MsgResult::Yes);
        ClickApply();
        EXPECT_EQ(Summary(), std::to_string(prices - 1) + " prices changed.");
    }
    EXPECT_EQ(Stored(gloves), "90.99");
    EXPECT_EQ(Stored(employee), "0.00");
    {
        Choose("cmbRule", 1);    // by amount
        Choose("cmbEnding", 0);  // to the cent
        TypeAndPreview(".50");
        EXPECT_EQ(Previewed(gloves), "91.49|");
        TypeAndPreview("$1,250");
        EXPECT_EQ(Previewed(gloves), "1340.99|");
        // An amount raises the employee price from 0 too. Declining leaves
        // every price as it is.
        EXPECT_EQ(Previewed(employee), "1250.00|");
        script_.ExpectMessage("Change " + std::to_string(prices) + " prices?", kTitle, kConfirm,
                              MsgResult::No);
        ClickApply();
    }
    EXPECT_EQ(Stored(gloves), "90.99");
}

// Another station saved one of the prices between preview and apply: the
// user is told which and by whom, and no price changes.
TEST_F(BulkPriceScreen, APriceChangedSinceThePreviewStopsTheWholeApply) {
    Open({510, 100});
    const std::int32_t gloves = Price("item_no = 510 AND unit_qty = 3 AND sale_no IS NULL");
    const std::int32_t single = Price("item_no = 510 AND unit_qty = 1 AND location_id IS NULL");
    TypeAndPreview("-5");
    EXPECT_EQ(Previewed(gloves), "78.38|");

    auto station = office_.OpenAgain("JSMITH");
    auto save = NewProcedure(*station->DBConnection(), "VYM_SP_ITEM_UpdatePrice",
                             {{"@price_no", gloves}, {"@price", Currency::FromRaw(850000)}});
    ASSERT_TRUE(station->DBConnection()->Execute(*save));
    // When the station saved it, as the messages tell it.
    const std::string question = office_.ChangedBy(
        "JSMITH", "price", "vym_price WHERE price_no = " + std::to_string(gloves));
    const std::size_t at = question.find(" at ") + 4;
    const std::string when = question.substr(at, question.find(" after ") - at);

    script_.ExpectMessage("Change " + std::to_string(Prices("") - 1) +
                              " prices?  1 price that can not change stays as it is.",
                          kTitle, kConfirm, MsgResult::Yes);
    script_.ExpectMessage("Price " + std::to_string(gloves) +
                              " of item 510 Ski Gloves,GLOVE,Black,L was changed by JSMITH at " +
                              when +
                              " after the preview. No price was changed; preview again to see "
                              "the changes.",
                          kTitle, kExclamation);
    ClickApply();
    EXPECT_EQ(Summary(), "No price was changed.");
    EXPECT_EQ(Stored(gloves), "85.00");
    EXPECT_EQ(Stored(single), "29.95");
}

// Stop ends the preview part way, and a part of a change is never applied.
TEST_F(BulkPriceScreen, StopEndsThePreviewWithNothingToApply) {
    test::StopAtFirstChance user(window_);
    std::vector<std::int32_t> everything;
    for (auto items = office_.Db().OpenRecordset("SELECT item_no FROM vym_item"); !items->Eof();
         items->MoveNext()) {
        everything.push_back(items->Fields(0).Value().ToLong());
    }
    Open(everything);
    TypeAndPreview("10");
    const int shown = Find<FlexGrid>("fgPreview").Rows() - 1;
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, office_.Scalar("SELECT count(*) FROM vym_price WHERE item_no IS NOT NULL "
                                    "AND package_no IS NULL AND sale_no IS NULL"));
    EXPECT_TRUE(Summary().ends_with(" so far: the preview was stopped.")) << Summary();
    EXPECT_FALSE(Find<QPushButton>("cmdApply").isEnabled());
    EXPECT_FALSE(Find<QPushButton>("cmdStop").isEnabled());
}

}  // namespace
}  // namespace vym
