// The add-price dialog on the demo back office: the adult day ticket (100,
// function LIFT, extensions 103 and 106), the senior ticket (102, no
// extensions) and the family week package (1, function LIFT).
#include "pricing/frm_add_price.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLineEdit>

#include "base/prompter.h"
#include "model/citem.h"
#include "model/cpackage.h"
#include "support/core/fields.h"
#include "support/qt/screen_test.h"
#include "ui/data_combo.h"
#include "ui/image_combo.h"

namespace vym {
namespace {

class AddPrice : public test::ScreenTest {
  protected:
    AddPrice() : ScreenTest(&dialog_) {}
    void SetUp() override {
        // The demo seasons follow the calendar; these stay on sale whatever the date.
        office_.Sql("UPDATE vym_season SET end_date = '2099-04-30' WHERE function_id = 'LIFT'");
    }
    bool SetupItem(std::int32_t itemNo, bool extension) {
        EXPECT_TRUE(item_.OpenItem(Db(), Errors(), itemNo));
        return dialog_.Setup(Db(), Errors(), &item_, nullptr, extension);
    }
    ui::ImageCombo& Image(const char* name) { return Find<ui::ImageCombo>(name); }
    ui::DataCombo& Combo(const char* name) { return Find<ui::DataCombo>(name); }
    QStringList Entries(const ui::ImageCombo& combo) {
        QStringList entries;
        for (int i = 0; i < combo.count(); ++i) {
            entries << combo.EntryKey(i) + "=" + combo.EntryText(i);
        }
        return entries;
    }
    void Ok() { Find<QPushButton>("cmdOk").click(); }
    void ExpectRefusal(const char* text, const char* title, const char* focus) {
        script_.ExpectMessage(text, title, kInformation);
        Ok();
        EXPECT_EQ(dialog_.result(), QDialog::Rejected) << text;
        EXPECT_EQ(dialog_.focusWidget(), dialog_.findChild<QWidget*>(focus)) << focus;
    }

    CItem item_;
    frmAddPrice dialog_;
};

TEST_F(AddPrice, OffersTheActiveSeasonsDiscountsAndUnitsOfTheItemsFunction) {
    ASSERT_TRUE(SetupItem(100, false));
    EXPECT_EQ(dialog_.windowTitle(), "New Price for Adult Day Ticket");
    EXPECT_EQ(Entries(Image("cmbSeason")),
              QStringList({"0=[ANY Season]", "1=Early Season", "2=Holiday Period",
                           "3=Regular Season", "4=Spring Skiing"}))
        << "neither the rental season nor the dropped pond skim";
    EXPECT_EQ(Entries(Image("cmbDiscount")),
              QStringList({"'=[BASE Price]", "'CORP=CORP Corporate Partner",
                           "'GROUP20=GROUP Groups of 20 or More", "'MILITARY=PROMO Active Military",
                           "'EMPLOYEE=STAFF Resort Employee"}))
        << "not the inactive college discount";
    ui::DataCombo& units = Combo("cmbUnit");
    EXPECT_EQ(units.RowCount(), 4);
    EXPECT_TRUE(units.Key().isEmpty());
    EXPECT_TRUE(Find<QGroupBox>("fraExtension").isHidden());
    EXPECT_FALSE(Find<QGroupBox>("fraPrice").isHidden());

    // [ANY Season] and [BASE Price] are chosen until the user chooses otherwise.
    EXPECT_EQ(test::Fields(dialog_.SeasonKey(), dialog_.SeasonText(), dialog_.DiscountKey(),
                           dialog_.DiscountText()),
              "0|[ANY Season]|'|[BASE Price]");
}

TEST_F(AddPrice, OkNeedsAUnitAndAnAmountWhichIsSelectedWholeOnFocus) {
    ASSERT_TRUE(SetupItem(100, false));
    dialog_.show();
    ExpectRefusal("You must select a unit.", "Unit Required", "cmbUnit");
    ASSERT_TRUE(Combo("cmbUnit").SetKey("3DAY"));
    ExpectRefusal("You must set a price or cancel.", "Price Required", "txtPrice");
    auto& price = Find<QLineEdit>("txtPrice");
    for (const char* text : {"ten", "-10"}) {
        price.setText(text);
        ExpectRefusal("Please enter a valid numeric value for price.", "InValid Price Value",
                      "txtPrice");
    }
    price.setText("12.50");
    price.setCursorPosition(2);
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&price, &focus);
    QCoreApplication::processEvents();
    EXPECT_EQ(price.selectedText(), "12.50");
    price.setText(" 10 ");
    ASSERT_TRUE(Image("cmbSeason").SetKey("3"));
    ASSERT_TRUE(Image("cmbDiscount").SetKey("'GROUP20"));
    Ok();
    ASSERT_EQ(dialog_.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog_.UserCancelled());
    EXPECT_EQ(test::Fields(dialog_.PriceText(), dialog_.SeasonKey(), dialog_.DiscountKey()),
              "10|3|'GROUP20");
    const frmAddPrice::UnitRow unit = dialog_.Unit();
    EXPECT_EQ(
        QStringList({unit.UnitId, unit.Units, unit.Description, unit.AcctUnits, unit.PrintQty}),
        QStringList({"3DAY", "3", "3 Day", "3", "1"}));

    frmAddPrice cancelled;
    ASSERT_TRUE(cancelled.Setup(Db(), Errors(), &item_, nullptr, false));
    cancelled.findChild<QPushButton*>("cmdCancel")->click();
    EXPECT_TRUE(cancelled.UserCancelled());
}

TEST_F(AddPrice, AnExtensionPriceNeedsTheExtensionAndItsUnit) {
    ASSERT_TRUE(SetupItem(100, true));
    dialog_.show();
    EXPECT_FALSE(Find<QGroupBox>("fraExtension").isHidden());
    ui::DataCombo& extensions = Combo("cmbExtensionItem");
    ASSERT_EQ(extensions.RowCount(), 2);
    EXPECT_EQ(extensions.CellAt(1, 1), "Night Skiing Upgrade");
    EXPECT_EQ(extensions.CellAt(1, 2), "LIFT");
    ASSERT_TRUE(Combo("cmbUnit").SetKey("DAY"));
    Find<QLineEdit>("txtPrice").setText("15");
    ExpectRefusal("You must select an extension item.", "Extension Item Required",
                  "cmbExtensionItem");
    EXPECT_EQ(Combo("cmbExtensionUnits").RowCount(), 0);
    ASSERT_TRUE(extensions.SetKey("106"));
    EXPECT_EQ(Combo("cmbExtensionUnits").RowCount(), 4) << "the units of the extension's function";
    ExpectRefusal("You must select an extension unit.", "Extension Unit Required",
                  "cmbExtensionUnits");
    ASSERT_TRUE(Combo("cmbExtensionUnits").SetKey("HALF"));
    Ok();
    ASSERT_EQ(dialog_.result(), QDialog::Accepted);
    EXPECT_EQ(test::Fields(dialog_.ExtensionItemNo(), dialog_.ExtensionItemDescription(),
                           dialog_.ExtensionUnit().UnitId, dialog_.Unit().UnitId),
              "106|Night Skiing Upgrade|HALF|DAY");

    frmAddPrice senior;
    CItem ticket;
    ASSERT_TRUE(ticket.OpenItem(Db(), Errors(), 102));
    EXPECT_FALSE(senior.Setup(Db(), Errors(), &ticket, nullptr, true))
        << "an item without extensions has no extension prices";
}

TEST_F(AddPrice, APackagePriceNeedsNoAmount) {
    CPackage package;
    ASSERT_TRUE(package.OpenPackage(Db(), Errors(), 1));
    ASSERT_TRUE(dialog_.Setup(Db(), Errors(), nullptr, &package, false));
    EXPECT_EQ(dialog_.windowTitle(), "New Price for Family Ski Week");
    EXPECT_TRUE(Find<QGroupBox>("fraPrice").isHidden());
    EXPECT_TRUE(Find<QGroupBox>("fraExtension").isHidden());
    EXPECT_EQ(Image("cmbSeason").count(), 5);
    ASSERT_TRUE(Combo("cmbUnit").SetKey("5DAY"));
    Ok();
    EXPECT_EQ(dialog_.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace vym
