#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/error.h"
#include "base/value.h"
#include "gateway/command.h"
#include "gateway/procedure_call.h"
#include "gateway/recordset.h"
#include "support/server/back_office.h"

#include "server_checks.h"

namespace vym {
namespace {

using ::testing::HasSubstr;

constexpr const char* kProcedure = "VYM_SP_ITEM_UpdateItemStockMatrix";

std::string Matrix(const std::vector<std::string>& cells) {
    std::string rows;
    for (const std::string& cell : cells) {
        rows += "<stock_matrix " + cell + "/>\r\n";
    }
    return "<ROOT>\r\n" + rows + "</ROOT>\r\n";
}

// The demo database: a fleece in red and blue by letter size, on order on
// the open purchase order 1005 of Alpine Gear.
class StockMatrixProcedure : public ::testing::Test {
  protected:
    struct Answer {
        std::int32_t returned = 0;
        std::string message;
        std::vector<std::pair<std::int32_t, std::string>> items;
    };
    using Changes = std::vector<std::pair<std::string, Value>>;
    Answer Generate(const Changes& changed = {}) {
        auto cmd = NewProcedure(
            office_.Db(), kProcedure,
            {{"@po_no", 1005},
             {"@vym_user", "ADMIN"},
             {"@item_type", "STOCK"},
             {"@short_description", "Trail Fleece"},
             {"@department_id", "RETAIL"},
             {"@taxable", std::int16_t{1}},
             {"@status_id", "ACTIVE"},
             {"@maintain_inventory", std::int16_t{1}},
             {"@stock_type_id", "APPAREL"},
             {"@model_id", "SHELL"},
             {"@unit_price", 21.0},
             {"@min_price", 18.5},
             {"@discount_rate", 0.05},
             {"@current_cost", Currency::FromRaw(105000)},
             {"@vendor_id", "ALPINEGEAR"},
             {"@stock_size_type_id", "ALPHA"},
             {"@stock_matrix_xml", Matrix({R"(attribute="Red" stock_size="S" qty="4")",
                                           R"(attribute="Red" stock_size="M" qty="0")",
                                           R"(attribute="Blue" stock_size="M" qty="12")"})}});
        for (const auto& [name, value] : changed) {
            cmd->Parameters[name].Value = value;
        }
        auto rs = office_.Db().ExecuteRecordset(*cmd);
        Answer answer{NullToZero(cmd->Parameters["@RETURN_VALUE"].Value).ToLong(),
                      NullToEmpty(cmd->Parameters["@message"].Value),
                      {}};
        for (; rs->IsOpen() && !rs->Eof(); rs->MoveNext()) {
            answer.items.emplace_back(rs->Fields("item_no").Value().ToLong(),
                                      NullToEmpty(rs->Fields("long_description").Value()));
        }
        return answer;
    }
    std::int32_t Count(const std::string& sql) { return office_.Scalar(sql); }
    std::int32_t StockItems() { return Count("SELECT COUNT(*) FROM vym_item_stock"); }
    std::int32_t OrderLines() {
        return Count("SELECT COUNT(*) FROM vym_po_line WHERE po_no = 1005");
    }

    test::BackOffice office_;
};

TEST_F(StockMatrixProcedure, CreatesEachCellsItemAndPutsItOnOrder) {
    const std::int32_t before = StockItems();
    const Answer answer = Generate();
    ASSERT_EQ(answer.returned, 0) << answer.message;
    ASSERT_EQ(answer.items.size(), 3u);
    EXPECT_EQ(answer.items[0].second, "Trail Fleece,SHELL,Red,S");
    EXPECT_EQ(answer.items[2].second, "Trail Fleece,SHELL,Blue,M");
    EXPECT_LT(answer.items[0].first, answer.items[1].first);
    EXPECT_EQ(StockItems(), before + 3);
    const std::string red = std::to_string(answer.items[0].first);
    const std::string blue = std::to_string(answer.items[2].first);
    EXPECT_EQ(test::RowTexts(*office_.Db().OpenRecordset(
                  "SELECT s.stock_id, s.stock_size, s.unit_price, s.current_cost, s.rental_type, "
                  "m.map_id FROM vym_item_stock s JOIN vym_item_stock_map m ON m.item_no = "
                  "s.item_no WHERE s.item_no = " +
                  blue)),
              std::vector<std::string>{blue + "|M|21|10.5|RETAIL|" + blue});
    // A cell of 0 makes the item but orders none of it.
    EXPECT_EQ(test::RowTexts(*office_.Db().OpenRecordset(
                  "SELECT item_no, qty_ord, unit_cost, discount_rate FROM vym_po_line "
                  "WHERE po_no = 1005 ORDER BY line_no")),
              (std::vector<std::string>{red + "|4|10.5|0.05", blue + "|12|10.5|0.05"}));

    // Without a purchase order the items are made and nothing is ordered.
    const Answer unordered =
        Generate({{"@po_no", Value::Null()},
                  {"@stock_matrix_xml", Matrix({R"(attribute="Green" stock_size="XL" qty="3")"})}});
    EXPECT_EQ(unordered.returned, 0) << unordered.message;
    EXPECT_EQ(unordered.items.size(), 1u);
    EXPECT_EQ(OrderLines(), 2);
}

TEST_F(StockMatrixProcedure, RefusesABadMatrixWithoutCreatingAnything) {
    const std::int32_t items = StockItems();
    struct Case {
        Changes changed;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{{"@po_no", 1001}}, "Purchase order 1001 is closed."},
        {{{"@po_no", 999}}, "Purchase order 999 does not exist."},
        {{{"@vendor_id", "NOBODY"}}, "Vendor NOBODY does not exist."},
        {{{"@department_id", Value::Null()}}, "Department is required."},
        {{{"@stock_matrix_xml", Matrix({R"(attribute="Red" stock_size="26" qty="1")"})}},
         "Size 26 is not a size of size type ALPHA."},
        {{{"@stock_matrix_xml", Matrix({R"(attribute="Red" stock_size="S" qty="1")",
                                        R"(attribute="Red" stock_size="S" qty="2")"})}},
         "Attribute Red in size S is in the matrix twice."},
        {{{"@stock_matrix_xml", Matrix({R"(attribute="Red" stock_size="S" qty="2.5")"})}},
         "The qty \"2.5\" is not a number."},
        {{{"@stock_matrix_xml", Matrix({R"(attribute="Red" stock_size="S" qty="-1")"})}},
         "The quantity of Red S can not be negative."},
        {{{"@stock_matrix_xml", Matrix({R"(attribute="" stock_size="S" qty="1")"})}},
         "Attribute \"\" must have 1 to 30 characters."},
        {{{"@stock_matrix_xml", Matrix({})}}, "The matrix has no quantities."},
        {{{"@stock_rental_xml",
           "<ROOT>\r\n<vym_item_stock_rental item_no=\"<ItemNo>\" rental_item_no=\"9999\" "
           "action=\"INSERT\" vym_user=\"ADMIN\"/>\r\n</ROOT>\r\n"}},
         "Rental item 9999 does not exist."},
    };
    for (const Case& c : cases) {
        const Answer answer = Generate(c.changed);
        EXPECT_EQ(answer.returned, -1) << c.message;
        EXPECT_EQ(answer.message, c.message);
        EXPECT_TRUE(answer.items.empty()) << c.message;
    }
    EXPECT_EQ(StockItems(), items);
    EXPECT_EQ(OrderLines(), 0);
}

// A store failure on the third item rolls back the two made before it.
TEST_F(StockMatrixProcedure, AFailurePartWayThroughLeavesNoItemBehind) {
    const std::int32_t items = Count("SELECT COUNT(*) FROM vym_item");
    const std::int32_t maps = Count("SELECT COUNT(*) FROM vym_item_stock_map");
    test::FailWritesWhere(office_, "INSERT", "vym_item_stock", "NEW.attribute = 'Blue'");
    EXPECT_THAT(test::Thrown([&] { Generate(); }).Description(), HasSubstr("disk is full"));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM vym_item"), items);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM vym_item_stock_map"), maps);
    EXPECT_EQ(OrderLines(), 0);
}

}  // namespace
}  // namespace vym
