// Special offer maintenance on the demo back office: offer 1 "WINTER10" with
// lines 1 to 6 (line 5 takes $20 off package 1, split $3 a lift ticket and
// $2 a rental, four of each) and the expired offer 2 "SPRING22".
#include "sales/frm_special_offer.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "base/prompter.h"
#include "gateway/procedure_call.h"
#include "support/qt/screen_test.h"
#include "ui/any_combo.h"

namespace vym {
namespace {

using test::FaultInjectingConnection;
using ui::FlexGrid;

constexpr int kOfferNo = 0;
constexpr int kCode = 1;
constexpr int kActive = 2;
constexpr int kDescription = 5;

// Picks an entry of a list by its text, as a user does.
void Pick(QWidget& form, const char* list, const QString& shown) {
    auto* combo = form.findChild<ui::AnyCombo*>(list);
    const int at = combo->findText(shown);
    ASSERT_GE(at, 0) << list << " has no " << shown.toStdString();
    combo->setCurrentIndex(at);
}

QStringList Entries(QWidget& form, const char* list) {
    auto* combo = form.findChild<ui::AnyCombo*>(list);
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries << combo->itemText(i);
    }
    return entries;
}

void Fill(QWidget& form, const char* box, const QString& text) {
    test::ReplaceText(*form.findChild<QLineEdit*>(box), text);
}

// Another station's save of an offer's header.
void SaveThere(server::LocalAppServer& station, std::int32_t offerNo, const char* code,
               const char* description) {
    auto saved = NewProcedure(*station.DBConnection(), "VYM_SP_ITEM_SPECIAL_OFFER_update",
                              {{"@special_offer_no", offerNo},
                               {"@special_offer_code", code},
                               {"@description", description},
                               {"@is_active", std::int16_t{1}}});
    ASSERT_TRUE(station.DBConnection()->Execute(*saved));
}

class SpecialOffers : public test::ScreenOf<frmSpecialOffer> {
  protected:
    void SetUp() override {
        Faults();
        window_.Setup(&maint_);
        window_.show();
    }
    FlexGrid& Offers() { return *window_.findChild<FlexGrid*>("fgOffers"); }
    FlexGrid& Details() { return *window_.findChild<FlexGrid*>("fgDetail"); }
    std::int32_t Scalar(const std::string& sql) { return office_.Scalar(sql); }
    int Winter() { return Offers().FindRow("1", kOfferNo); }
    // Types a new description over offer 1's.
    bool Describe(const QString& text) {
        return test::TypeIntoCell(Offers(), Winter(), kDescription, text);
    }
    std::string Description(int offerNo) {
        return office_.Text("SELECT description FROM vym_special_offer WHERE special_offer_no = " +
                            std::to_string(offerNo));
    }
    // Opens the detail screen on a line of offer 1 and hands it to `user`.
    void OnDetail(const char* button, const std::function<void(QDialog&)>& user) {
        Offers().SetCurrentCell(Winter(), kCode);
        modals_.Expect("frmSpecialOfferDetail", user);
        Click(button);
        modals_.Verify();
    }
};

TEST_F(SpecialOffers, NewOffersAreCheckedAsTypedAndAppliedBeforeTheyTakeDetails) {
    ASSERT_EQ(Offers().Rows(), 3);
    EXPECT_EQ(Details().Rows(), 7);
    EXPECT_EQ(window_.findChild<QGroupBox*>("fraDetail")->title(),
              "Special Offer Detail for WINTER10");
    EXPECT_EQ(Details().TextMatrix(1, 4), "10.0000%");

    Click("cmdAdd");
    ASSERT_EQ(Offers().TextMatrix(1, kOfferNo), "0");
    EXPECT_EQ(Offers().TextMatrix(1, kDescription), "<New Offer>");
    script_.ExpectMessage("Please do not use special characters (%<>&) in the special offer code.",
                          "InValid Characters", kInformation);
    ASSERT_TRUE(test::TypeIntoCell(Offers(), 1, kCode, "TEN%"));
    EXPECT_EQ(Offers().TextMatrix(1, kCode), "");
    script_.ExpectMessage("Maximum length of code is 50 characters.",
                          "Special Offer Code Max of 50", kInformation);
    test::TypeIntoCell(Offers(), 1, kCode, QString(51, 'C'));
    test::TypeIntoCell(Offers(), 1, kCode, "winter10");
    script_.ExpectMessage("Maximum length of description is 50 characters.", "Truncated to 50",
                          kInformation);
    test::TypeIntoCell(Offers(), 1, kDescription, QString(60, 'd'));
    EXPECT_EQ(Offers().TextMatrix(1, kDescription), QString(50, 'd'));

    script_.ExpectMessage("You must apply the new special offer first before editing the detail.",
                          "Add Detail Cancelled", kInformation);
    Offers().SetCurrentCell(1, kCode);
    Click("cmdAddDetail");

    // Codes are unique whatever their case: nothing is written, and the
    // typed row stays as it was.
    script_.ExpectMessage("The code winter10 is already used by special offer 1.",
                          "Error Updating Special Offer", kInformation);
    Click("cmdApply");
    EXPECT_EQ(Offers().TextMatrix(1, kOfferNo), "0");
    EXPECT_EQ(Offers().TextMatrix(1, kCode), "winter10");
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_special_offer"), 2);

    test::TypeIntoCell(Offers(), 1, kCode, QString(50, 'C'));
    Click("cmdApply");
    EXPECT_EQ(Offers().TextMatrix(1, kOfferNo), "3");
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_special_offer WHERE special_offer_no = 3 AND "
                     "is_active = 1 AND end_date > start_date AND description = '" +
                     std::string(50, 'd') + "'"),
              1);
}

TEST_F(SpecialOffers, ApplyIsAllOrNothingAndDeletesMarkedOffersWithTheirLines) {
    const int expired = Offers().FindRow("2", kOfferNo);
    Describe("Winter Sale");
    script_.ExpectMessage("Are you sure you want to delete the selected row?",
                          "Confirm Delete Special Offer", kQuestionYesNoDefaultNo, MsgResult::Yes);
    Offers().SetCurrentCell(expired, kCode);
    Click("cmdDelete");
    EXPECT_TRUE(Offers().IsRowHidden(expired));

    // The delete of offer 2 fails after offer 1 was written: neither stays.
    office_.Faults().FailOnCall(2, FaultInjectingConnection::Fault::DiskFull);
    errorsExpected_ = true;
    Click("cmdOk");
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(Description(1), "Winter Warm-Up");
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_special_offer_detail WHERE special_offer_no = 2"),
              1);

    office_.Faults().Disarm();
    Click("cmdOk");
    EXPECT_FALSE(window_.isVisible());
    EXPECT_EQ(Description(1), "Winter Sale");
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_special_offer_detail WHERE special_offer_no = 2"),
              0);
}

// JSMITH's station renames offer 1 while this one edits it: Apply is refused
// with who and when and writes nothing; No keeps what was typed, Yes shows
// the offers as JSMITH left them, and the next save goes over that.
TEST_F(SpecialOffers, AnOfferAnotherStationSavedSinceIsRefusedAndReloadedOnRequest) {
    SaveThere(*office_.OpenAgain("JSMITH"), 1, "WINTER10", "Renamed There");

    ASSERT_TRUE(Describe("Winter Sale"));
    const std::string question = office_.ChangedBy("JSMITH", "special offer",
                                                   "vym_special_offer WHERE special_offer_no = 1");
    ExpectReload(question, MsgResult::No);
    Click("cmdOk");
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(Offers().TextMatrix(Winter(), kDescription), "Winter Sale");
    EXPECT_EQ(Description(1), "Renamed There");

    ExpectReload(question, MsgResult::Yes);
    Click("cmdApply");
    EXPECT_EQ(Offers().TextMatrix(Winter(), kDescription), "Renamed There") << "reloaded";
    Describe("Winter Sale");
    Click("cmdOk");
    EXPECT_FALSE(window_.isVisible()) << "saved on the version JSMITH left";
    EXPECT_EQ(Description(1), "Winter Sale");
}

// Apply writes only the offers edited here: JSMITH's rename of offer 2 is
// neither refused nor written over by a save of offer 1, nor by an Apply with
// nothing edited since; ticking an offer's IsActive edits it, and so is
// refused once JSMITH saved that offer since.
TEST_F(SpecialOffers, ApplyWritesOnlyTheOffersEditedHereSoOtherStationsKeepTheirs) {
    auto station = office_.OpenAgain("JSMITH");
    SaveThere(*station, 2, "SPRING22", "Renamed There");
    ASSERT_TRUE(Describe("Winter Sale"));
    Click("cmdApply");
    EXPECT_EQ(Description(1), "Winter Sale");
    EXPECT_EQ(Description(2), "Renamed There");

    SaveThere(*station, 1, "WINTER10", "Renamed Again");
    Click("cmdApply");
    EXPECT_EQ(Description(1), "Renamed Again") << "saved once, not again";

    Offers().SetCurrentCell(Winter(), kActive);
    QTest::keyClick(&Offers(), Qt::Key_Space);
    ExpectReload(office_.ChangedBy("JSMITH", "special offer",
                                   "vym_special_offer WHERE special_offer_no = 1"),
                 MsgResult::No);
    Click("cmdOk");
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(Description(1), "Renamed Again");
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_special_offer WHERE is_active = 1"), 2);
}

TEST_F(SpecialOffers, DetailLinesSaveTheDiscountAsTypedOrSayWhyNot) {
    OnDetail("cmdAddDetail", [&](QDialog& detail) {
        EXPECT_EQ(detail.findChild<QLabel*>("lblSeqNo")->text(), "New");
        Fill(detail, "txtPercentage", "10");
        Fill(detail, "txtFixed", "$5");
        script_.ExpectMessage(
            "You can only define either a percentage discount or a fixed discount but not both.",
            "Invalid Discount Type", kInformation);
        test::Press(detail, "cmdOk");
        Fill(detail, "txtFixed", "");
        Fill(detail, "txtPercentage", "12.5%");
        Fill(detail, "txtMinAmount", "1,250");
        script_.ExpectMessage("You must select an item or a package before you select a price.",
                              "Select Item or Price", kInformation);
        test::Press(detail, "cmdPrice");
        test::Press(detail, "cmdOk");
    });
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_special_offer_detail WHERE special_offer_no = 1 "
                     "AND seq_no = 7 AND percentage_discount = 0.125 AND min_amount = 1250"),
              1);
    EXPECT_EQ(Details().Rows(), 8);

    // An exclusion needs no discount; what its disabled boxes hold is kept.
    Details().SetCurrentCell(Details().FindRow("7", 0), 0);
    OnDetail("cmdEditDetail", [&](QDialog& detail) {
        EXPECT_EQ(detail.findChild<QLineEdit*>("txtPercentage")->text(), "12.5000%");
        detail.findChild<QCheckBox*>("chkExclude")->click();
        EXPECT_FALSE(detail.findChild<QLineEdit*>("txtPercentage")->isEnabled());
        test::Press(detail, "cmdOk");
    });
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_special_offer_detail WHERE special_offer_no = 1 "
                     "AND seq_no = 7 AND exclude = 1 AND percentage_discount IS NULL"),
              1);

    script_.ExpectMessage("Are you sure you want to delete the selected offer detail?",
                          "Confirm Delete Special Offer Detail", kQuestionYesNoDefaultNo,
                          MsgResult::Yes);
    Details().SetCurrentCell(Details().FindRow("7", 0), 0);
    Click("cmdDeleteDetail");
    EXPECT_EQ(Details().Rows(), 7);
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_special_offer_detail WHERE seq_no = 7"), 0);
}

TEST_F(SpecialOffers, PackageSplitIsTotalledAsTypedAndRefusedUnlessItAddsUp) {
    const auto split = [&](const QString& ticket, const QString& rental, const char* total) {
        modals_.Expect("frmSpecialOfferPackage", [=](QDialog& breakdown) {
            auto& grid = *breakdown.findChild<FlexGrid*>("fgPackage");
            ASSERT_EQ(grid.Rows(), 3);
            EXPECT_FALSE(test::TypeIntoCell(grid, 1, 2, "9"));
            test::TypeIntoCell(grid, 1, 3, ticket);
            test::TypeIntoCell(grid, 2, 3, rental);
            EXPECT_EQ(breakdown.findChild<QLabel*>("lblTotal")->text(),
                      QString("Total Fixed Discount: ") + total);
            test::Press(breakdown, "cmdOk");
        });
    };
    Details().SetCurrentCell(Details().FindRow("5", 0), 0);
    OnDetail("cmdEditDetail", [&](QDialog& detail) {
        EXPECT_EQ(detail.findChild<QLineEdit*>("txtFixed")->text(), "20.0000");
        split("3", "$1.99", "19.96");
        test::Press(detail, "cmdBreakdown");
        script_.ExpectMessage(
            "The package breakdown adds up to 19.96, not to the fixed discount of 20.00. Make the "
            "parts add up to the fixed discount.",
            "Unable to Update Offer Detail", kInformation);
        test::Press(detail, "cmdOk");
        EXPECT_TRUE(detail.isVisible());
        split("2.50", "$2.50", "20.00");
        test::Press(detail, "cmdBreakdown");
        test::Press(detail, "cmdOk");
    });
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_special_offer_detail_package WHERE "
                     "special_offer_no = 1 AND seq_no = 5 AND fixed_discount = 2.5"),
              2);
}

TEST_F(SpecialOffers, StoreListsNarrowDownAndPricesComeFromThePriceList) {
    OnDetail("cmdAddDetail", [&](QDialog& detail) {
        EXPECT_EQ(Entries(detail, "cmbProductItem"), QStringList{"<Select A Store>"});
        Pick(detail, "cmbStore", "Base Lodge Shop (1)");
        EXPECT_EQ(Entries(detail, "cmbProductGroup").size(), 4);
        EXPECT_EQ(Entries(detail, "cmbProduct").size(), 6);
        EXPECT_EQ(Entries(detail, "cmbProductItem"), QStringList{"<Select A Product>"});
        Pick(detail, "cmbProductGroup", "Accessories (2)");
        EXPECT_EQ(Entries(detail, "cmbProduct"),
                  (QStringList{"<Any Product>", "Goggles (201)", "Neck Gaiter (203)",
                               "Ski Gloves (202)"}));
        Pick(detail, "cmbProduct", "Goggles (201)");
        const QStringList items = Entries(detail, "cmbProductItem");
        ASSERT_EQ(items.size(), 3);
        EXPECT_TRUE(items[1].startsWith("Item(510)")) << items[1].toStdString();
        EXPECT_TRUE(items[1].endsWith(" SeqNo(1) "));
        Pick(detail, "cmbProductItem", items[1]);
        Fill(detail, "txtFixed", ".50");
        test::Press(detail, "cmdOk");
    });
    EXPECT_EQ(Scalar("SELECT count(*) FROM vym_special_offer_detail WHERE special_offer_no = 1 "
                     "AND seq_no = 7 AND store_no = 1 AND product_group_no = 2 AND product_no = "
                     "201 AND product_item_seq_no = 1 AND fixed_discount = 0.5"),
              1);

    // Line 6 names package 1 and one of its prices: another is picked from the list.
    const std::int32_t second = Scalar(
        "SELECT MIN(price_no) FROM vym_price WHERE package_no = 1 AND item_no IS NULL AND "
        "price_no <> (SELECT "
        "price_no FROM vym_special_offer_detail WHERE special_offer_no = 1 AND seq_no = 6)");
    ASSERT_GT(second, 0);
    Details().SetCurrentCell(Details().FindRow("6", 0), 0);
    OnDetail("cmdEditDetail", [&](QDialog& detail) {
        EXPECT_EQ(detail.findChild<QLineEdit*>("txtPackage")->text(), "Family Ski Week (1)");
        test::Press(detail, "cmdClearPrice");
        EXPECT_EQ(detail.findChild<QLineEdit*>("txtPrice")->text(), "");
        modals_.Expect("frmSelectPrice", [&](QDialog& prices) {
            auto& grid = *prices.findChild<FlexGrid*>("fgPrices");
            grid.SetCurrentCell(grid.FindRow(QString::number(second), 0), 0);
            test::Press(prices, "cmdOk");
        });
        test::Press(detail, "cmdPrice");
        EXPECT_TRUE(detail.findChild<QLineEdit*>("txtPrice")
                        ->text()
                        .endsWith(" (" + QString::number(second) + ")"));
        test::Press(detail, "cmdOk");
    });
    EXPECT_EQ(Scalar("SELECT price_no FROM vym_special_offer_detail WHERE special_offer_no = 1 "
                     "AND seq_no = 6"),
              second);
}

}  // namespace
}  // namespace vym
