#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/date.h"
#include "server/procedures/item_season_procedures.h"

namespace vym::server {
namespace {

// The winter a day belongs to, by the year it starts in.
int WinterOf(const vym::Date& day) {
    return day.Month() >= 7 ? day.Year() : day.Year() - 1;
}

vym::Value ShiftYears(std::string_view iso, int years) {
    vym::Date day;
    if (iso.empty() || !vym::Date::ParseIso(iso, day)) {
        return vym::Value::Null();
    }
    const int date = day.Day() == 29 && day.Month() == 2 ? 28 : day.Day();
    return vym::Date::FromParts(day.Year() + years, day.Month(), date);
}

void AddStoreDates(SqlSession& db) {
    // The online store sells a lift season's tickets ahead of it and stops a
    // few days before it ends.
    struct Window {
        int season;
        int start[3];
        int end[3];
    };
    static constexpr Window kWindows[] = {
        {1, {2024, 9, 1}, {2024, 12, 15}},
        {2, {2024, 10, 1}, {2025, 1, 2}},
        {3, {2024, 10, 1}, {2025, 3, 10}},
        {4, {2024, 12, 1}, {2025, 4, 15}},
    };
    for (const Window& w : kWindows) {
        db.Run("UPDATE vym_season SET store_start_date = ?, store_end_date = ? WHERE season_no = ?",
               {vym::Date::FromParts(w.start[0], w.start[1], w.start[2]),
                vym::Date::FromParts(w.end[0], w.end[1], w.end[2]), w.season});
    }
    // Dropped after one winter: kept for the prices that still name it.
    db.Run(
        "INSERT INTO vym_season (season_no, function_id, season_id, season_type_id, "
        "season_group_id, description, is_active, start_date, end_date) "
        "VALUES (7, 'LIFT', 'POND', 'PEAK', 2, 'Pond Skim Weekend', 0, ?, ?)",
        {vym::Date::FromParts(2025, 4, 19), vym::Date::FromParts(2025, 4, 20)});
}

// Every season moves by whole years, so the demo winter is the current one.
void MoveToThisWinter(SqlSession& db) {
    const vym::Value first = db.QueryValue("SELECT min(start_date) FROM vym_season");
    vym::Date firstDay;
    if (first.IsNull() || !vym::Date::ParseIso(first.ToString(), firstDay)) {
        return;
    }
    const int years = WinterOf(vym::Date::Today()) - WinterOf(firstDay);
    if (years == 0) {
        return;
    }
    struct Row {
        std::int64_t no;
        std::array<std::string, 4> dates;
    };
    std::vector<Row> rows;
    auto read = db.Prepare(
        "SELECT season_no, start_date, end_date, store_start_date, store_end_date "
        "FROM vym_season");
    while (read->Step()) {
        Row row{read->ColumnInt64(0), {}};
        for (int col = 0; col < 4; ++col) {
            if (read->ColumnStorage(col + 1) != StorageClass::Null) {
                row.dates[col] = std::string(read->ColumnText(col + 1));
            }
        }
        rows.push_back(std::move(row));
    }
    read.reset();
    for (const Row& row : rows) {
        db.Run(
            "UPDATE vym_season SET start_date = ?, end_date = ?, store_start_date = ?, "
            "store_end_date = ? WHERE season_no = ?",
            {ShiftYears(row.dates[0], years), ShiftYears(row.dates[1], years),
             ShiftYears(row.dates[2], years), ShiftYears(row.dates[3], years),
             vym::Value::FromInt64(row.no)});
    }
}

}  // namespace

void AddItemSeasonDemoRows(SqlSession& session) {
    AddStoreDates(session);
    MoveToThisWinter(session);
}

}  // namespace vym::server
