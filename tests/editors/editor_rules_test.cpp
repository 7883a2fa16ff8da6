#include "editors/editor_rules.h"

#include <gtest/gtest.h>

namespace vym {
namespace {

// A retail stock entry filled in field by field: each step is refused for
// the first field still missing, on its tab, in the order the user is told.
TEST(StockRules, RefuseTheFirstMissingFieldOnItsTab) {
    StockEntry e;
    e.rentalType = "RETAIL";
    e.reportDepartmentRequired = true;
    const auto refusal = [&e] { return CheckStock(e).value_or(Refusal{"accepted", "", "", ""}); };
    EXPECT_EQ(refusal(), (Refusal{"Stock Type is required", "Save Error", "DESC", "cmbStockType"}));
    e.stockType = "APPAREL";
    EXPECT_EQ(refusal(), (Refusal{"Vendor is Required", "Save Error", "DESC", "cmdVendor"}));
    e.vendorId = "SNOWLINE";
    EXPECT_EQ(refusal(),
              (Refusal{"Department is required", "InValid Department", "DEPT", "cmbDepartment"}));
    e.departmentId = "RETAIL";
    e.serialized = true;
    e.serialTypeId = "S";  // one character is no serial type
    EXPECT_EQ(refusal(), (Refusal{"Serial Type is required for serialized stock.",
                                  "InValid Serial Type", "DESC", "cmbSerialType"}));
    e.serialTypeId = "SK";
    EXPECT_EQ(refusal(), (Refusal{"Stock Model is required for retail type stock.", "InValid Model",
                                  "DESC", "cmbModel"}));
    e.modelId = "SHELL";
    EXPECT_EQ(refusal(), (Refusal{"Reporting Department is required for retail type stock.",
                                  "InValid Reporting Department", "DEPT", "fgRptDept"}));
    e.reportDepartmentRequired = false;
    EXPECT_FALSE(CheckStock(e)) << "the reporting department not asked for";
    e.reportDepartmentRequired = true;
    e.reportDepartmentId = "SOFTG";
    EXPECT_FALSE(CheckStock(e));

    // Rental stock needs its model and reporting department too; other stock neither.
    e.rentalType = "RENTAL";
    e.modelId.clear();
    EXPECT_EQ(refusal(), (Refusal{"Stock Model is required for rental type stock.", "InValid Model",
                                  "DESC", "cmbModel"}));
    e.modelId = "SHELL";
    e.reportDepartmentId.clear();
    const Refusal rentalReporting{"Reporting Department is required for rental type stock.",
                                  "InValid Reporting Department", "DEPT", "fgRptDept"};
    EXPECT_EQ(refusal(), rentalReporting);
    e.rentalType = "FOOD";
    e.modelId.clear();
    EXPECT_FALSE(CheckStock(e));

    // A rental item needs its department, then its reporting department.
    e = StockEntry();
    e.stock = false;
    e.reportDepartmentRequired = true;
    EXPECT_EQ(refusal(),
              (Refusal{"Department is required", "InValid Department", "DEPT", "cmbDepartment"}));
    e.departmentId = "RENTAL";
    EXPECT_EQ(refusal(), rentalReporting);
    e.reportDepartmentId = "RENTREV";
    EXPECT_FALSE(CheckStock(e));
}

TEST(VendorRules, ANewVendorNeedsItsIdThenItsName) {
    EXPECT_EQ(CheckVendor({true, "", ""}),
              (Refusal{"Vendor Id is required to save the new vendor record.", "Vendor Id Require",
                       "", "txtVendorId"}));
    EXPECT_EQ(CheckVendor({true, "PEAK", ""}),
              (Refusal{"Vendor Name is required to save the new vendor record.",
                       "Vendor Name Require", "", "txtVendorName"}));
    EXPECT_FALSE(CheckVendor({true, "PEAK", "Peak Print"}));
    // A shown vendor keeps what the database holds for what is left empty.
    EXPECT_FALSE(CheckVendor({false, "ALPINE", ""}));
}

}  // namespace
}  // namespace vym
