#include "server/procedures/item_search_procedures.h"

namespace vym::server {
namespace {

void AddLookupRows(SqlSession& db) {
    static constexpr const char* kResourceTypes[][2] = {{"INSTR", "Ski Instructor"},
                                                        {"SBINSTR", "Snowboard Instructor"},
                                                        {"GUIDE", "Mountain Guide"}};
    for (const auto& row : kResourceTypes) {
        db.Run("INSERT INTO vym_resource_type (resource_type_id, description) VALUES (?, ?)",
               {row[0], row[1]});
    }
    static constexpr const char* kLaborCodes[][2] = {
        {"GRPLES", "Group Lesson Wage"}, {"PRVLES", "Private Lesson Wage"}, {"CAMP", "Kids Camp"}};
    for (const auto& row : kLaborCodes) {
        db.Run("INSERT INTO vym_labor_code (labor_code_id, description) VALUES (?, ?)",
               {row[0], row[1]});
    }
    static constexpr const char* kPhotoSizes[][2] = {{"4X6", "4 x 6 Print"},
                                                     {"5X7", "5 x 7 Print"},
                                                     {"8X10", "8 x 10 Print"},
                                                     {"DIGITAL", "Digital Download"}};
    for (const auto& row : kPhotoSizes) {
        db.Run("INSERT INTO vym_photo_size (photo_size_id, description) VALUES (?, ?)",
               {row[0], row[1]});
    }
}

// Packages made of the first items of each kind that the catalogue holds.
void AddPackageRows(SqlSession& db) {
    struct Package {
        int no;
        const char* description;
        const char* function;
        const char* catagory;
        bool active;
    };
    static constexpr Package kPackages[] = {
        {1, "Family Ski Week", "LIFT", "ADULT", true},
        {2, "Learn to Ski Day", "SKISCHOOL", "GROUP", true},
        {3, "Spring Break Special 2023", "LIFT", "ADULT", false},
    };
    for (const Package& p : kPackages) {
        db.Run(
            "INSERT INTO vym_package (package_no, description, display_seq, is_active, "
            "function_id, catagory_id, vym_user) VALUES (?, ?, ?, ?, ?, ?, 'ADMIN')",
            {p.no, p.description, p.no, p.active, p.function, p.catagory});
    }
    struct Line {
        int package;
        int seq;
        const char* itemType;
        int qty;
    };
    static constexpr Line kLines[] = {
        {1, 1, "TICKET", 4}, {1, 2, "RENTAL", 4}, {2, 1, "TICKET", 1},
        {2, 2, "SS", 1},     {2, 3, "RENTAL", 1},
    };
    for (const Line& line : kLines) {
        db.Run(
            "INSERT INTO vym_package_item (package_no, seq_no, item_no, pkg_qty) "
            "SELECT ?, ?, min(item_no), ? FROM vym_item WHERE item_type = ? "
            "HAVING min(item_no) IS NOT NULL",
            {line.package, line.seq, line.qty, line.itemType});
    }
    db.Run(
        "INSERT INTO vym_register_group_package (package_no, register_group_id) "
        "SELECT 1, min(register_group_id) FROM vym_register_group "
        "HAVING min(register_group_id) IS NOT NULL");
}

}  // namespace

void AddItemConsoleDemoRows(SqlSession& session) {
    AddLookupRows(session);
    AddPackageRows(session);
    // Season passes are sold from a button of their own colour.
    session.Run("UPDATE vym_item SET item_color = ? WHERE catagory_id = 'SEASON'",
                {std::int32_t{0x1F6FB4}});
}

}  // namespace vym::server
