#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/date.h"
#include "base/value.h"
#include "gateway/command.h"
#include "support/server/back_office.h"
#include "support/server/procedure_answer.h"
#include "support/server/procedure_test.h"

#include "server_checks.h"

namespace vym {
namespace {

using Args = test::ProcedureArgs;

// The demo database: offer 1 "WINTER10" (lines 1 to 6; line 5 takes $20 off
// package 1, split as $3 a lift ticket and $2 a rental, four of each) and
// the expired offer 2 "SPRING22".
class SpecialOfferProcedures : public test::ProcedureTest {
  protected:
    // A line of offer 1: seqNo 0 adds one.
    Answer SaveLine(std::int32_t seqNo, Args args) {
        args.emplace_back("@special_offer_no", 1);
        args.emplace_back("@seq_no", seqNo ? Value(seqNo) : Value::Null());
        return Call("VYM_SP_ITEM_SPECIAL_OFFER_DETAIL_update", args);
    }
    // "item|discount" of each item of line seqNo's package split, by item.
    std::vector<std::string> Breakdown(int seqNo) {
        return test::RowTexts(*db_->OpenRecordset(
            "SELECT item_no, fixed_discount FROM vym_special_offer_detail_package WHERE "
            "special_offer_no = 1 AND seq_no = " +
            std::to_string(seqNo) + " ORDER BY item_no"));
    }
    // Rows of the package's ticket and rental by item: "item|" and the text given for each.
    std::vector<std::string> Split(const std::string& ticket, const std::string& rental) const {
        const std::string t = std::to_string(ticket_) + "|" + ticket;
        const std::string r = std::to_string(rental_) + "|" + rental;
        return ticket_ < rental_ ? std::vector<std::string>{t, r} : std::vector<std::string>{r, t};
    }
    std::string Document(const std::string& ticketEach, const std::string& rentalEach) {
        return "<ROOT>\r\n<vym_special_offer_detail_package item_no=\"" + std::to_string(ticket_) +
               "\" fixed_discount=\"" + ticketEach +
               "\"/>\r\n<vym_special_offer_detail_package item_no=\"" + std::to_string(rental_) +
               "\" fixed_discount=\"" + rentalEach + "\"/>\r\n</ROOT>";
    }

    const std::int32_t ticket_ = office_.Scalar(
        "SELECT MIN(pi.item_no) FROM vym_package_item pi JOIN vym_item i ON i.item_no = "
        "pi.item_no WHERE pi.package_no = 1 AND i.item_type = 'TICKET'");
    const std::int32_t rental_ = office_.Scalar(
        "SELECT MIN(pi.item_no) FROM vym_package_item pi JOIN vym_item i ON i.item_no = "
        "pi.item_no WHERE pi.package_no = 1 AND i.item_type = 'RENTAL'");
};

TEST_F(SpecialOfferProcedures, OfferCodesAreUniqueShortAndPlainAndDatesInOrder) {
    const Date today = Date::Today();
    const Date later(today.Serial() + 30);
    const std::string fifty(50, 'C');
    struct Case {
        std::int32_t offerNo;
        std::string code;
        std::string description;
        Value start, end;
        const char* message;  // "" when saved
    };
    for (const Case& c : {
             Case{0, fifty, "Fifty", today, later, ""},
             Case{0, fifty + "D", "", today, later, "Maximum length of code is 50 characters."},
             Case{0, "WINTER10", "Again", today, later,
                  "The code WINTER10 is already used by special offer 1."},
             Case{2, "winter10", "", today, later,
                  "The code winter10 is already used by special offer 1."},
             Case{0, "TEN%OFF", "", today, later,
                  "Please do not use special characters (%<>&) in the special offer code."},
             Case{0, "", "", today, later, "A special offer needs a code."},
             Case{0, "LONGDESC", std::string(51, 'd'), today, later,
                  "Maximum length of description is 50 characters."},
             Case{0, "BACKWARDS", "", later, today,
                  "The end date of a special offer can not be before its start date."},
             Case{9, "GHOST", "", today, later, "Special offer 9 does not exist."},
             // Its own code again, with open dates: an update.
             Case{1, "WINTER10", "Winter Warm-Up", Value::Null(), Value::Null(), ""},
         }) {
        const Answer a = Call("VYM_SP_ITEM_SPECIAL_OFFER_update",
                              {{"@special_offer_no", c.offerNo ? Value(c.offerNo) : Value::Null()},
                               {"@special_offer_code", c.code},
                               {"@description", c.description},
                               {"@is_active", std::int16_t{-1}},
                               {"@start_date", c.start},
                               {"@end_date", c.end}});
        EXPECT_EQ(a.message, c.message) << c.code;
        EXPECT_EQ(a.returned, *c.message ? -1 : 0) << c.code;
        if (!*c.message) {
            EXPECT_EQ(a.Output("@special_offer_no"), c.offerNo ? c.offerNo : 3) << c.code;
        }
    }
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_special_offer"), 3);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_special_offer WHERE is_active = 1 AND "
                             "start_date IS NULL AND special_offer_no = 1"),
              1);

    // Deleting an offer takes its lines and their breakdowns along.
    EXPECT_EQ(Call("VYM_SP_ITEM_SPECIAL_OFFER_delete", {{"@special_offer_no", 1}}).returned, 0);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_special_offer_detail WHERE "
                             "special_offer_no = 1"),
              0);
    EXPECT_TRUE(Breakdown(5).empty());
    EXPECT_EQ(Call("VYM_SP_ITEM_SPECIAL_OFFER_delete", {{"@special_offer_no", 1}}).returned, -1);
}

TEST_F(SpecialOfferProcedures, DetailLinesAreCheckedBeforeAnythingIsWritten) {
    const std::int32_t otherPrice = office_.Scalar(
        "SELECT MIN(price_no) FROM vym_price WHERE item_no = 500 AND package_no IS NULL");
    struct Case {
        Args args;
        std::string message;  // "" when saved
    };
    const Case cases[] = {
        {{{"@percentage_discount", 0.1}, {"@fixed_discount", 5.0}},
         "A special offer line takes a percentage or a fixed discount, not both."},
        {{{"@item_type", "STOCK"}}, "A special offer line needs a percentage or a fixed discount."},
        {{{"@exclude", std::int16_t{-1}}, {"@min_amount", 10.0}},
         "An exclusion takes no discount and no minimum amount."},
        {{{"@percentage_discount", 1.5}}, "A percentage discount must be between 0 and 100."},
        {{{"@fixed_discount", -1.0}}, "A fixed discount can not be negative."},
        {{{"@fixed_discount", 5.0}, {"@item_type", "BOAT"}}, "Item type BOAT does not exist."},
        {{{"@fixed_discount", 5.0}, {"@item_no", 500}, {"@package_no", 1}},
         "A special offer line names an item or a package, not both."},
        {{{"@fixed_discount", 5.0}, {"@package_no", 1}, {"@price_no", otherPrice}},
         "Price " + std::to_string(otherPrice) + " is not a price of the line's package."},
        {{{"@fixed_discount", 5.0}, {"@price_no", otherPrice}},
         "A price needs the item or package it belongs to."},
        {{{"@fixed_discount", 5.0}, {"@product_group_no", 2}}, "Product group 2 needs its store."},
        {{{"@fixed_discount", 5.0}, {"@store_no", 2}, {"@product_no", 203}},
         "Product 203 is not in store 2."},
        {{{"@fixed_discount", 5.0},
          {"@store_no", 1},
          {"@product_group_no", 1},
          {"@product_no", 201}},
         "Product 201 is not in product group 1 of store 1."},
        {{{"@fixed_discount", 5.0},
          {"@store_no", 1},
          {"@product_no", 201},
          {"@product_item_seq_no", 3}},
         "Product item 3 is not in product 201 of store 1."},
        {{{"@fixed_discount", 5.0}, {"@location_id", "MOON"}}, "Location MOON does not exist."},
        // An exclusion needs no discount; a line narrowed down to one product item saves.
        {{{"@exclude", std::int16_t{-1}}, {"@item_type", "SHIP"}}, ""},
        {{{"@percentage_discount", 0.1},
          {"@store_no", 1},
          {"@product_group_no", 2},
          {"@product_no", 201},
          {"@product_item_seq_no", 2},
          {"@min_amount", 25.0}},
         ""},
    };
    std::int32_t nextSeq = 7;
    for (const Case& c : cases) {
        const Answer a = SaveLine(0, c.args);
        EXPECT_EQ(a.message, c.message);
        EXPECT_EQ(a.returned, c.message.empty() ? 0 : -1) << c.message;
        if (c.message.empty()) {
            EXPECT_EQ(a.Output("@seq_no"), nextSeq++);
        }
    }
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_special_offer_detail WHERE "
                             "special_offer_no = 1"),
              nextSeq - 1);
    EXPECT_EQ(office_.Scalar("SELECT count(*) FROM vym_special_offer_detail WHERE "
                             "special_offer_no = 1 AND seq_no = 7 AND exclude = 1 AND "
                             "percentage_discount IS NULL AND fixed_discount IS NULL"),
              1);
    EXPECT_EQ(
        Call("VYM_SP_ITEM_SPECIAL_OFFER_DETAIL_delete", {{"@special_offer_no", 1}, {"@seq_no", 7}})
            .returned,
        0);
    EXPECT_EQ(SaveLine(7, {{"@fixed_discount", 1.0}}).message,
              "Line 7 of special offer 1 does not exist.");
}

TEST_F(SpecialOfferProcedures, PackageSplitMustAddUpToTheFixedDiscountToTheCent) {
    ASSERT_EQ(Breakdown(5), Split("3", "2"));
    const auto split = [&](double fixed, const std::string& document) {
        return SaveLine(5, {{"@fixed_discount", fixed},
                            {"@package_no", 1},
                            {"@package_xml_package_no", 1},
                            {"@package_xml", document}});
    };
    struct Case {
        double fixed;
        std::string document;
        std::string message;
    };
    for (const Case& c : {
             Case{20.0, Document("3.00", "1.99"),
                  "The package breakdown adds up to 19.96, not to the fixed discount of 20.00. "
                  "Make the parts add up to the fixed discount."},
             Case{20.0, Document("2.50", "$2.50"), ""},
             Case{20.01, Document("2.50", "2.50"),
                  "The package breakdown adds up to 20.00, not to the fixed discount of 20.01. "
                  "Make the parts add up to the fixed discount."},
             Case{20.0, Document("2.50", "x"),
                  "The discount \"x\" of item " + std::to_string(rental_) + " is not an amount."},
             Case{20.0,
                  "<ROOT><vym_special_offer_detail_package item_no=\"500\" "
                  "fixed_discount=\"20.00\"/></ROOT>",
                  "Item 500 is not in package 1."},
         }) {
        const Answer a = split(c.fixed, c.document);
        EXPECT_EQ(a.message, c.message);
        EXPECT_EQ(a.returned, c.message.empty() ? 0 : -1) << c.message;
    }
    const auto saved = Split("2.5", "2.5");
    EXPECT_EQ(Breakdown(5), saved);

    // Without a new document the stored split still has to match.
    EXPECT_EQ(SaveLine(5, {{"@fixed_discount", 25.0}, {"@package_no", 1}}).message,
              "The package breakdown adds up to 20.00, not to the fixed discount of 25.00. "
              "Make the parts add up to the fixed discount.");
    EXPECT_EQ(SaveLine(5, {{"@fixed_discount", 20.0}, {"@package_no", 1}}).returned, 0);
    EXPECT_EQ(Breakdown(5), saved);
    EXPECT_EQ(
        SaveLine(0, {{"@percentage_discount", 0.1}, {"@package_xml", Document("1", "1")}}).message,
        "Only a package line with a fixed discount can split it over the package's items.");

    EXPECT_EQ(
        test::ProcedureRows(*db_, "VYM_SP_ITEM_SPECIAL_OFFER_DETAIL_PACKAGE_get",
                            Args{{"@package_no", 1}, {"@special_offer_no", 1}, {"@seq_no", 5}},
                            {"item_no", "Qty", "fixed_discount"}),
        Split("4|2.5", "4|2.5"));

    // A line moved to a percentage keeps no split.
    EXPECT_EQ(SaveLine(5, {{"@percentage_discount", 0.1}, {"@package_no", 1}}).returned, 0);
    EXPECT_TRUE(Breakdown(5).empty());
}

}  // namespace
}  // namespace vym
