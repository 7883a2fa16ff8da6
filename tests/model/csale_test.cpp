// The sale records against the demo back office: item sale 1 at BASE (four
// jacket prices), item sale 2 at every location with item 104 qualifying,
// department sale 3 at VILLAGE with lines 1 (RETAIL, 20 %) and 2 (GOGGLE, $5).
#include "model/csale.h"

#include <gtest/gtest.h>

#include "base/prompter.h"
#include "catalogue_database.h"
#include "model/csale_stock.h"
#include "support/core/fields.h"

namespace vym::test {
namespace {

class CSaleTest : public RecordTest {};

TEST_F(CSaleTest, OpensAHeaderAndItsLinesAndNumbersNewLinesAfterTheHighest) {
    CSale sale;
    ASSERT_TRUE(sale.OpenSale(db.Db(), db.Errors(), 3));
    EXPECT_EQ(
        Fields(sale.SaleType, sale.Description, sale.LocationId(), sale.LocationDescription()),
        "Dept|Village Retail 20% Off|VILLAGE|Village Sports");
    EXPECT_LT(sale.SaleStartDate, sale.SaleEndDate);
    ASSERT_TRUE(sale.OpenSaleDepts(db.Db(), db.Errors()));
    ASSERT_EQ(sale.SaleDepts().size(), 2u);
    EXPECT_EQ(sale.SaleDepts().at(1).DepartmentId, "RETAIL");
    EXPECT_DOUBLE_EQ(sale.SaleDepts().at(1).SaleFixedPercentage, 0.2);
    EXPECT_EQ(sale.SaleDepts().at(2).SaleFixedAmount, Currency::FromDouble(5));
    EXPECT_EQ(sale.SaleDepts().at(2).ParentSale, &sale);

    // Lines numbered 1, 2 and 5 give the next one 6.
    db.Db()->ExecuteSQL(
        "INSERT INTO vym_sale_dept (sale_no, seq_no, department_id, sale_start_date, "
        "sale_end_date) SELECT 3, 5, 'RENTAL', sale_start_date, sale_end_date FROM "
        "vym_sale WHERE sale_no = 3");
    CSale again;
    again.OpenSale(db.Db(), db.Errors(), 3);
    ASSERT_TRUE(again.OpenSaleDepts(db.Db(), db.Errors()));
    CSaleDept& sixth = again.AddSaleDept();
    EXPECT_EQ(Fields(sixth.SeqNo, sixth.LocationId(), sixth.SaleNo), "6|VILLAGE|3");

    // A line never saved goes without a database error; a saved one is deleted.
    const std::size_t calls = recording.calls.size();
    sixth.DeleteRecord = true;
    EXPECT_FALSE(sixth.Update(&recording, db.Errors()));
    EXPECT_EQ(again.SaleDepts().size(), 3u);
    again.SaleDepts().at(5).DeleteRecord = true;
    EXPECT_FALSE(again.SaleDepts().at(5).Update(&recording, db.Errors()));
    EXPECT_EQ(again.SaleDepts().size(), 2u);
    EXPECT_EQ(recording.calls.size(), calls + 2);
    CSaleDept unnumbered;
    unnumbered.DeleteRecord = true;
    EXPECT_FALSE(unnumbered.Update(&recording, db.Errors()));
    EXPECT_EQ(recording.calls.size(), calls + 2);
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM vym_sale_dept WHERE sale_no = 3"), "2");
}

TEST_F(CSaleTest, LocationsDiscountsAndRefusalsOfTheHeader) {
    CSale sale;
    sale.SetLocationId("BASE");
    sale.SetLocationDescription("<all>");
    EXPECT_EQ(sale.LocationDescription(), "");
    sale.SetLocationDescription("Base Lodge Shop");
    sale.SetLocationId("");
    EXPECT_EQ(sale.LocationDescription(), "");

    sale.SaleType = "StockNo";
    sale.SaleStartDate = Date::Today();
    sale.SaleEndDate = Date(Date::Today().Serial() + 3);
    sale.SaleFixedAmount = Currency{};
    sale.SaleFixedPercentage = 0.0;
    ASSERT_TRUE(sale.Update(&recording, db.Errors()));
    EXPECT_GT(sale.SaleNo, 4);
    EXPECT_TRUE(Sent("@sale_fixed_discount")->Value.IsNull());
    EXPECT_TRUE(Sent("@sale_fixed_percent")->Value.IsNull());
    EXPECT_TRUE(Sent("@location_id")->Value.IsNull());

    const std::int32_t saleNo = sale.SaleNo;
    sale.SaleEndDate = Date(Date::Today().Serial() - 1);
    script.ExpectMessage("The end date of a sale can not be before its start date.",
                         "Update Stock Sale Error", kInformation);
    EXPECT_FALSE(sale.Update(db.Db(), db.Errors()));
    EXPECT_EQ(sale.SaleNo, saleNo);
}

TEST_F(CSaleTest, QualifyingItemsAreSavedWholeWithBlanksSkipped) {
    CSale sale;
    sale.OpenSale(db.Db(), db.Errors(), 2);
    EXPECT_EQ(sale.GetSaleItems(db.Db(), db.Errors()),
              (std::vector<CSaleItemNo>{{"104", "Adult Season Pass"}}));

    sale.ItemNos = {{"100", "Adult Day Ticket"}, {"", ""}, {"500", "x"}};
    ASSERT_TRUE(sale.UpdateSaleItems(&recording, db.Errors()));
    EXPECT_EQ(Sent("@DOC")->Value.ToString(),
              "<ROOT>\r\n"
              "    <vym_sale_item sale_no=\"2\" item_no=\"100\"/>\r\n"
              "    <vym_sale_item sale_no=\"2\" item_no=\"500\"/>\r\n"
              "</ROOT>\r\n");
    EXPECT_EQ(sale.GetSaleItems(db.Db(), db.Errors()).size(), 2u);

    // Nothing left (the dialog's empty list) clears the list with item 0.
    sale.ItemNos = {CSaleItemNo{}};
    ASSERT_TRUE(sale.UpdateSaleItems(&recording, db.Errors()));
    EXPECT_NE(Sent("@DOC")->Value.ToString().find("item_no=\"0\""), std::string::npos);
    EXPECT_EQ(sale.GetSaleItems(db.Db(), db.Errors()), std::vector<CSaleItemNo>{CSaleItemNo{}});

    sale.ItemNos = {{"99999", ""}};
    script.ExpectMessage("Item 99999 does not exist.", "Error Updating Sale Qualifing Item(s)",
                         kInformation);
    EXPECT_FALSE(sale.UpdateSaleItems(db.Db(), db.Errors()));
}

TEST_F(CSaleTest, AStockLineIsPricedByPercentageAndDeletedByQuantityZero) {
    CSaleStock line;
    line.SaleNo = 2;
    line.ItemNo = 511;
    line.SaleFixedPercentage = 0.5;
    line.SetUnitQty("1");
    ASSERT_TRUE(line.Update(db.Db(), db.Errors()));
    ASSERT_GT(line.PriceNo, 0);
    CSaleStock read;
    ASSERT_TRUE(read.OpenSaleStock(db.Db(), db.Errors(), 2, 511, line.PriceNo));
    EXPECT_NEAR(read.SaleFixedPercentage, 0.5, 1e-9);
    EXPECT_EQ(read.LocationId(), "");
    EXPECT_EQ(read.UnitQty(), "1");

    read.SetUnitQty("0");
    ASSERT_TRUE(read.Update(db.Db(), db.Errors()));
    EXPECT_EQ(db.Scalar("SELECT count(*) FROM vym_price WHERE sale_no = 2 AND item_no = 511"), "0");
}

}  // namespace
}  // namespace vym::test
