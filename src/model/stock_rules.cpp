#include "model/stock_rules.h"

namespace vym {

namespace {

Refusal Department() {
    return {"Department is required", "InValid Department", "DEPT", "cmbDepartment"};
}

Refusal ReportDepartment(const char* kind) {
    return {std::string("Reporting Department is required for ") + kind + " type stock.",
            "InValid Reporting Department", "DEPT", "fgRptDept"};
}

Refusal Model(const char* kind) {
    return {std::string("Stock Model is required for ") + kind + " type stock.", "InValid Model",
            "DESC", "cmbModel"};
}

}  // namespace

Verdict CheckStock(const StockEntry& entry) {
    const bool noReportDepartment =
        entry.reportDepartmentId.empty() && entry.reportDepartmentRequired;
    if (!entry.stock) {
        if (entry.departmentId.empty()) {
            return Department();
        }
        if (noReportDepartment) {
            return ReportDepartment("rental");
        }
        return std::nullopt;
    }
    if (entry.stockType.empty()) {
        return Refusal{"Stock Type is required", "Save Error", "DESC", "cmbStockType"};
    }
    if (entry.vendorId.empty()) {
        return Refusal{"Vendor is Required", "Save Error", "DESC", "cmdVendor"};
    }
    if (entry.departmentId.empty()) {
        return Department();
    }
    // A serial type id is at least two characters; a shorter key is no choice.
    if (entry.serialized && entry.serialTypeId.size() < 2) {
        return Refusal{"Serial Type is required for serialized stock.", "InValid Serial Type",
                       "DESC", "cmbSerialType"};
    }
    // Retail and rental stock name their model and, where the system asks
    // for it, their reporting department.
    struct Kind {
        const char* rentalType;
        const char* name;
    };
    for (const Kind kind : {Kind{"RETAIL", "retail"}, Kind{"RENTAL", "rental"}}) {
        if (entry.rentalType != kind.rentalType) {
            continue;
        }
        if (entry.modelId.empty()) {
            return Model(kind.name);
        }
        if (noReportDepartment) {
            return ReportDepartment(kind.name);
        }
    }
    return std::nullopt;
}

}  // namespace vym
