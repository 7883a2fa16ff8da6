#include "editors/editor_rules.h"

#include <gtest/gtest.h>

namespace vym {
namespace {

StockEntry CompleteRetail() {
    StockEntry entry;
    entry.stockType = "APPAREL";
    entry.rentalType = "RETAIL";
    entry.vendorId = "SNOWLINE";
    entry.departmentId = "RETAIL";
    entry.reportDepartmentId = "SOFTG";
    entry.reportDepartmentRequired = true;
    entry.modelId = "SHELL";
    return entry;
}

TEST(StockRules, RefuseTheFirstMissingFieldOnItsTab) {
    struct Case {
        const char* name;
        void (*change)(StockEntry&);
        const char* message;  // nullptr: saved
        const char* title;
        const char* tab;
        const char* field;
    };
    const Case cases[] = {
        {"complete", [](StockEntry&) {}, nullptr, "", "", ""},
        {"stock type first",
         [](StockEntry& e) {
             e.stockType.clear();
             e.vendorId.clear();
         },
         "Stock Type is required", "Save Error", "DESC", "cmbStockType"},
        {"vendor", [](StockEntry& e) { e.vendorId.clear(); }, "Vendor is Required", "Save Error",
         "DESC", "cmdVendor"},
        {"department",
         [](StockEntry& e) {
             e.departmentId.clear();
             e.modelId.clear();
         },
         "Department is required", "InValid Department", "DEPT", "cmbDepartment"},
        {"serial type of one character",
         [](StockEntry& e) {
             e.serialized = true;
             e.serialTypeId = "S";
         },
         "Serial Type is required for serialized stock.", "InValid Serial Type", "DESC",
         "cmbSerialType"},
        {"serial type given",
         [](StockEntry& e) {
             e.serialized = true;
             e.serialTypeId = "SK";
         },
         nullptr, "", "", ""},
        {"retail model",
         [](StockEntry& e) {
             e.modelId.clear();
             e.reportDepartmentId.clear();
         },
         "Stock Model is required for retail type stock.", "InValid Model", "DESC", "cmbModel"},
        {"retail reporting department", [](StockEntry& e) { e.reportDepartmentId.clear(); },
         "Reporting Department is required for retail type stock.", "InValid Reporting Department",
         "DEPT", "fgRptDept"},
        {"reporting department not asked for",
         [](StockEntry& e) {
             e.reportDepartmentId.clear();
             e.reportDepartmentRequired = false;
         },
         nullptr, "", "", ""},
        {"rental model",
         [](StockEntry& e) {
             e.rentalType = "RENTAL";
             e.modelId.clear();
         },
         "Stock Model is required for rental type stock.", "InValid Model", "DESC", "cmbModel"},
        {"rental stock reporting department",
         [](StockEntry& e) {
             e.rentalType = "RENTAL";
             e.reportDepartmentId.clear();
         },
         "Reporting Department is required for rental type stock.", "InValid Reporting Department",
         "DEPT", "fgRptDept"},
        {"other stock needs no model",
         [](StockEntry& e) {
             e.rentalType = "FOOD";
             e.modelId.clear();
             e.reportDepartmentId.clear();
         },
         nullptr, "", "", ""},
        {"rental item: department",
         [](StockEntry& e) {
             e = {};
             e.stock = false;
         },
         "Department is required", "InValid Department", "DEPT", "cmbDepartment"},
        {"rental item: reporting department",
         [](StockEntry& e) {
             e = {};
             e.stock = false;
             e.departmentId = "RENTAL";
             e.reportDepartmentRequired = true;
         },
         "Reporting Department is required for rental type stock.", "InValid Reporting Department",
         "DEPT", "fgRptDept"},
    };
    for (const Case& c : cases) {
        StockEntry entry = CompleteRetail();
        c.change(entry);
        const Verdict verdict = CheckStock(entry);
        if (c.message == nullptr) {
            EXPECT_FALSE(verdict) << c.name << ": " << verdict->message;
            continue;
        }
        ASSERT_TRUE(verdict) << c.name;
        EXPECT_EQ(*verdict, (Refusal{c.message, c.title, c.tab, c.field})) << c.name;
    }
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
