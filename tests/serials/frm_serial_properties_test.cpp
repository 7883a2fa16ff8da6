// The serial properties editor on the demo fleet: skis 600 (serial type SKI)
// at BASE, boots 610 (SKIBOOT, default boot length 305) at SUMMIT, boards 620
// at SUMMIT with every board on hand serialized.
#include "serials/frm_serial_properties.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include "support/qt/screen_test.h"
#include "ui/data_combo.h"

namespace vym {
namespace {

constexpr const char* kNoBoardsLeft =
    "Sorry there is not enough qty on hand available at the requested location Summit Rental "
    "Shop inorder to create a new serial item.\r\nqty on hand = 3 and Qty Serialized = "
    "3\r\nPlease transfer more to that location and try again.";

class SerialProperties : public test::ScreenOf<frmSerialProperties> {
  protected:
    // Types into a field and leaves it with Enter, as a user does.
    void Type(const char* field, const QString& text) {
        QLineEdit& edit = Find<QLineEdit>(field);
        edit.setFocus();
        test::ReplaceText(edit, text);
        QTest::keyClick(&edit, Qt::Key_Return);
    }
    void OpenNew() {
        ASSERT_TRUE(window_.Setup(&maint_));
        window_.show();
    }
    void Open(std::int32_t item, const char* serial) {
        ASSERT_TRUE(window_.Setup(&maint_, item, serial));
        window_.show();
    }
};

TEST_F(SerialProperties, SaveChecksTheUnitInOrderAndKeepsWhatWasTyped) {
    OpenNew();
    const auto refused = [&](const char* message, const char* title, const char* focus) {
        script_.ExpectMessage(message, title, kInformation);
        Click("cmdApply");
        script_.Verify();
        EXPECT_EQ(window_.focusWidget(), &Find<QWidget>(focus)) << message;
        EXPECT_FALSE(window_.Saved()) << message;
    };
    refused("Purchase Item is required", "Item Required", "txtItemNo");
    Type("txtItemNo", "610");
    refused("Serial Id is required", "Serial Id Required", "txtSerialId");
    Type("txtSerialId", "RB-T1");
    refused("Location is required", "Location Required", "cmbLocation");
    Find<ui::DataCombo>("cmbLocation").SetKey("SUMMIT");
    Type("txtBootLength", "");
    refused("Boot Length is required for SKIBOOT serial types.", "Boot Length Required",
            "txtBootLength");
    Type("txtBootLength", "29O");
    refused("Boot Length must be a number of millimetres.", "Invalid Boot Length", "txtBootLength");
    Type("txtBootLength", "298");
    Click("cmdApply");
    EXPECT_TRUE(window_.Saved());
    EXPECT_EQ(Find<QLineEdit>("txtSerialId").text(), "RB-T1");
    EXPECT_EQ(window_.windowTitle(), "Serial Properties of RB-T1 for Rental Boot,RB-COMFORT,,27");
    EXPECT_EQ(office_.Scalar("SELECT boot_length FROM vym_item_stock_serial WHERE serial_id = "
                             "'RB-T1' AND location_id = 'SUMMIT' AND status_id = 'NEW'"),
              298);
    EXPECT_FALSE(Find<ui::DataCombo>("cmbLocation").isEnabled()) << "a saved unit stays put";
}

TEST_F(SerialProperties, AssigningAnItemRefusesWhatCannotBeSerialized) {
    OpenNew();
    struct Case {
        const char* typed;
        const char* message;
        const char* title;
    };
    const Case cases[] = {
        {"12A", "Must enter a valid item number", "Invalid Purchase Item Number"},
        {"99999", "Sorry the Item you selected is not valid can not be used.",
         "Assign Item Cancelled"},
        {"100", "Sorry the Item you selected is not a stock type and can not be used.",
         "Assign Item Cancelled"},
        {"500", "Sorry the Item you selected is not serialized and can not be used.",
         "Assign Item Cancelled"},
    };
    for (const Case& c : cases) {
        script_.ExpectMessage(c.message, c.title, kInformation);
        Type("txtItemNo", c.typed);
        script_.Verify();
        EXPECT_EQ(window_.Unit().ItemNo, 0) << c.typed;
    }
    Type("txtItemNo", "600");
    EXPECT_EQ(Find<QLabel>("lblItemDesc").text(), "Rental Ski,RS-ALLMTN,,160");
    EXPECT_EQ(Find<QLabel>("lblRentalItem").text(), "Adult Ski Rental");
    EXPECT_EQ(window_.focusWidget(), &Find<QWidget>("txtBindingItemNo")) << "a ski";
    script_.ExpectMessage(
        "Sorry the Item you selected does not have a binding type id and can not "
        "be used.",
        "Assign Binding Item Cancelled", kInformation);
    Type("txtBindingItemNo", "610");
    Type("txtBindingItemNo", "630");
    EXPECT_EQ(Find<QLabel>("lblBindingItemType").text(), "Standard Rental");
}

TEST_F(SerialProperties, GenerateKeepsATypedIdAndChecksTheQuantityLeft) {
    OpenNew();
    Type("txtItemNo", "600");
    Find<ui::DataCombo>("cmbLocation").SetKey("BASE");
    Click("cmdGenerate");
    EXPECT_EQ(Find<QLineEdit>("txtSerialId").text(), "RSB00006");
    Type("txtSerialId", "MY-OWN-1");
    Click("cmdGenerate");
    EXPECT_EQ(Find<QLineEdit>("txtSerialId").text(), "MY-OWN-1");

    script_.ExpectMessage("The serial number you have provided is not unique.",
                          "Non-Unique Serial id", kInformation);
    Type("txtSerialId", "rsb00001");
    script_.Verify();

    frmSerialProperties boards;
    boards.Setup(&maint_, 620, {}, "SUMMIT");
    script_.ExpectMessage(kNoBoardsLeft, "Unable to Create Like", kInformation);
    boards.findChild<QPushButton*>("cmdGenerate")->click();
    EXPECT_EQ(boards.findChild<QLineEdit*>("txtSerialId")->text(), "");
}

TEST_F(SerialProperties, CreateLikeNeedsQuantityAndKeepsTheUnitWhenThereIsNone) {
    Open(620, "SBS00001");
    script_.ExpectMessage(kNoBoardsLeft, "Unable to Create Like", kInformation);
    Click("cmdCreateLike");
    EXPECT_EQ(window_.Unit().SerialId, "SBS00001");

    frmSerialProperties ski;
    ASSERT_TRUE(ski.Setup(&maint_, 600, "RSB00002"));
    ski.findChild<QPushButton*>("cmdCreateLike")->click();
    EXPECT_EQ(ski.Unit().SerialId, "");
    EXPECT_EQ(ski.Unit().StatusId, "NEW");
    EXPECT_EQ(ski.Unit().BindingItemNo, 630);
    EXPECT_TRUE(ski.findChild<ui::DataCombo*>("cmbLocation")->isEnabled());
}

TEST_F(SerialProperties, MapIdsRefuseReservedStartsAndKeepTheUnitsOwnIds) {
    Open(600, "RSB00002");
    QListWidget& maps = Find<QListWidget>("lstMapIds");
    EXPECT_EQ(maps.count(), 2);  // the serial id and the maker's serial
    script_.ExpectMessage("Maps can not begin with reserved characters (S,C,P,I,#).", "Invalid Map",
                          kInformation);
    Type("txtMapId", "S-17");
    Type("txtMapId", "s-17");
    script_.Verify();
    ASSERT_EQ(maps.count(), 3);
    EXPECT_EQ(Find<QLineEdit>("txtMapId").text(), "");

    const auto remove = [&](const char* map, MsgResult answer, const char* refusal = nullptr) {
        maps.setCurrentItem(maps.findItems(map, Qt::MatchExactly).front());
        script_.ExpectMessage(
            std::string("Are you sure you want to delete the serial map: ") + map + "?",
            "Confirm Serial Map Delete", kQuestionYesNoDefaultNo, answer);
        if (refusal) {
            script_.ExpectMessage(refusal, "Can not Delete Map", kInformation);
        }
        QTest::keyClick(&maps, Qt::Key_Delete);
    };
    remove("RSB00002", MsgResult::Yes, "Sorry you can not delete the serial id from the map table");
    remove("SL16-40113", MsgResult::Yes,
           "Sorry you can not delete the manufacterur's serial from the map table");
    remove("s-17", MsgResult::No);
    EXPECT_EQ(maps.count(), 3);
    remove("s-17", MsgResult::Yes);
    script_.Verify();
    EXPECT_EQ(maps.count(), 2);
}

TEST_F(SerialProperties, ClosingOffersToSaveAndAFailedSaveKeepsTheScreen) {
    Open(600, "RSB00002");
    Type("txtOriginalCost", "abc");
    script_.ExpectMessage("Do you want to save your changes to this serial number?",
                          "Save Changes?", {MsgButtons::YesNoCancel, MsgIcon::Question, 1},
                          MsgResult::Yes);
    script_.ExpectMessage("The value should be a valid currency.", "Invalid Value", kInformation);
    Click("cmdCancel");
    script_.Verify();
    EXPECT_TRUE(window_.isVisible());
    EXPECT_EQ(Find<QLineEdit>("txtOriginalCost").text(), "abc");
    Type("txtOriginalCost", "1,250.5");
    Click("cmdOk");
    EXPECT_FALSE(window_.isVisible());
    CStockSerial saved;
    ASSERT_TRUE(saved.OpenSerial(&office_.Db(), nullptr, 600, "RSB00002"));
    EXPECT_EQ(saved.OriginalCost, Currency::FromRaw(12505000));
}

}  // namespace
}  // namespace vym
