#include "item_search_cases.h"

#include <algorithm>

#include <benchmark/benchmark.h>

#include "gateway/command.h"
#include "gateway/recordset.h"
#include "server/procedures/item_search_procedures.h"

namespace vym::bench {
namespace {

// The order in which each procedure binds its criteria.
int Rank(const SearchCase& c, const std::string& parameter) {
    static const std::vector<std::string> kItem = {
        "@item_no",           "@description",      "@function_id",   "@catagory_id", "@status_id",
        "@register_group_id", "@resource_type_id", "@photo_size_id", "@map_id"};
    static const std::vector<std::string> kStock = {"@item_no",
                                                    "@description",
                                                    "@map_id",
                                                    "@function_id",
                                                    "@catagory_id",
                                                    "@status_id",
                                                    "@stock_type_id",
                                                    "@vendor_id",
                                                    "@model_id",
                                                    "@department_id",
                                                    "@report_department_id",
                                                    "@report_sub_department_id",
                                                    "@serial_type_id",
                                                    "@manufacturer",
                                                    "@location_id"};
    const auto& order = IsStock(c) ? kStock : kItem;
    return static_cast<int>(std::find(order.begin(), order.end(), parameter) - order.begin());
}

}  // namespace

bool IsStock(const SearchCase& c) {
    return c.procedure == "VYM_SP_ITEM_GetItemStock";
}

std::string Bound(const server::SqlEngine& engine, const std::string& parameter,
                  const std::string& value) {
    if (parameter == "@manufacturer") {
        return vym::server::StartsWithPattern(value);
    }
    if (parameter != "@description") {
        return value;
    }
    return vym::server::UsesDescriptionIndex(value) ? engine.TrigramArgument(value)
                                                    : "%" + vym::server::StartsWithPattern(value);
}

std::vector<SearchCase> SearchCases(std::int32_t items, const std::string& filter) {
    // Stock items are the 2nd, 8th, 14th ... generated; rental ones the 6th, 12th ...
    const std::int32_t stockItem = items / 2 - (items / 2) % 6 + 2;
    const std::string stockMap = "GEN" + std::to_string(stockItem);
    const std::string rentalMap = "GEN" + std::to_string(stockItem + 4);
    const std::string all = "VYM_SP_ITEM_GetItem";
    const std::string stock = "VYM_SP_ITEM_GetItemStock";
    std::vector<SearchCase> cases = {
        {"description JACKET", all, {{"@description", "JACKET"}}},
        {"description PREMIUM (half)", all, {{"@description", "PREMIUM"}}},
        {"description X (1 char)", all, {{"@description", "X"}}},
        {"description Q (1 char, none)", all, {{"@description", "Q"}}},
        {"description XL (2 chars)", all, {{"@description", "XL"}}},
        {"description 7X (2 chars, few)", all, {{"@description", "7X"}}},
        {"description %", all, {{"@description", "%"}}},
        {"description _", all, {{"@description", "_"}}},
        {"description 100%", all, {{"@description", "100%"}}},
        {"function GEN05", all, {{"@function_id", "GEN05"}}},
        {"function GEN00 (half)", all, {{"@function_id", "GEN00"}}},
        {"status INACTIVE", all, {{"@status_id", "INACTIVE"}}},
        {"ticket description PREMIUM", "VYM_SP_ITEM_GetItemTicket", {{"@description", "PREMIUM"}}},
        {"ticket function GEN00", "VYM_SP_ITEM_GetItemTicket", {{"@function_id", "GEN00"}}},
        {"ss function GEN03", "VYM_SP_ITEM_GetItemSS", {{"@function_id", "GEN03"}}},
        {"photo description X", "VYM_SP_ITEM_GetItemPhoto", {{"@description", "X"}}},
        {"ship function GEN00", "VYM_SP_ITEM_GetItemShip", {{"@function_id", "GEN00"}}},
        {"rental map id", "VYM_SP_ITEM_GetItemRental", {{"@map_id", rentalMap}}},
        {"stock map id", stock, {{"@map_id", stockMap}}},
        {"stock vendor GENV07", stock, {{"@vendor_id", "GENV07"}}},
        {"stock type GENT03", stock, {{"@stock_type_id", "GENT03"}}},
        {"stock model GENM04", stock, {{"@model_id", "GENM04"}}},
        {"stock department GEND02", stock, {{"@department_id", "GEND02"}}},
        {"stock report dept GENR01", stock, {{"@report_department_id", "GENR01"}}},
        {"stock manufacturer MAKER1", stock, {{"@manufacturer", "MAKER1"}}},
        {"stock manufacturer MAKER07", stock, {{"@manufacturer", "MAKER07"}}},
        {"stock manufacturer 1%", stock, {{"@manufacturer", "1%"}}},
        {"stock location GENL03", stock, {{"@location_id", "GENL03"}}},
        {"stock description X", stock, {{"@description", "X"}}},
        {"stock description JACKET", stock, {{"@description", "JACKET"}}},
        {"stock function GEN07", stock, {{"@function_id", "GEN07"}}},
    };
    // Every search again for active items only; and active items alone.
    const std::size_t alone = cases.size();
    for (std::size_t i = 0; i < alone; ++i) {
        if (cases[i].criteria.front().first == "@status_id") {
            continue;
        }
        SearchCase active = cases[i];
        active.name += " +ACTIVE";
        active.criteria.emplace_back("@status_id", "ACTIVE");
        cases.push_back(std::move(active));
    }
    cases.push_back({"status ACTIVE", all, {{"@status_id", "ACTIVE"}}});
    cases.push_back({"stock status ACTIVE", stock, {{"@status_id", "ACTIVE"}}});
    for (SearchCase& c : cases) {
        std::stable_sort(c.criteria.begin(), c.criteria.end(), [&c](const auto& a, const auto& b) {
            return Rank(c, a.first) < Rank(c, b.first);
        });
    }
    std::erase_if(
        cases, [&filter](const SearchCase& c) { return c.name.find(filter) == std::string::npos; });
    return cases;
}

std::int32_t RunSearch(Connection& db, const SearchCase& c) {
    auto command = db.NewCommand();
    command->CommandText = c.procedure;
    command->Parameters.Refresh();
    for (const auto& [name, value] : c.criteria) {
        command->Parameters[name].Value = value;
    }
    auto rows = db.ExecuteRecordset(*command);
    const std::int32_t count = command->Parameters["@RETURN_VALUE"].Value.ToLong();
    for (int read = 0; !rows->Eof() && read < kSearchRows; rows->MoveNext(), ++read) {
        for (std::int32_t f = 0; f < rows->FieldCount(); ++f) {
            benchmark::DoNotOptimize(rows->Fields(f).Value());
        }
    }
    return count;
}

}  // namespace vym::bench
