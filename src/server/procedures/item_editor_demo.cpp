#include "server/procedures/item_editor_procedures.h"

namespace vym::server {

void AddItemEditorDemoRows(SqlSession& session) {
    static constexpr const char* kTransTypes[][2] = {{"SALE", "Sale"},
                                                     {"COMP", "Complimentary"},
                                                     {"VOUCHER", "Voucher Redemption"},
                                                     {"UPGRADE", "Upgrade"}};
    for (const auto& row : kTransTypes) {
        session.Run("INSERT INTO vym_trans_type (trans_type_id, description) VALUES (?, ?)",
                    {row[0], row[1]});
    }
    static constexpr const char* kEvents[][2] = {
        {"LESSON", "Lesson"}, {"CAMP", "Day Camp"}, {"CLINIC", "Clinic"}};
    for (const auto& row : kEvents) {
        session.Run("INSERT INTO vym_ss_event (event_type_id, description) VALUES (?, ?)",
                    {row[0], row[1]});
    }
    static constexpr const char* kLessonCodes[][2] = {{"L1", "Level 1 - First Timer"},
                                                      {"L2", "Level 2 - Beginner"},
                                                      {"L3", "Level 3 - Intermediate"},
                                                      {"PRIV", "Private Instruction"}};
    for (const auto& row : kLessonCodes) {
        session.Run("INSERT INTO vym_ss_lesson_code (lesson_code_id, description) VALUES (?, ?)",
                    {row[0], row[1]});
    }
    static constexpr const char* kLabs[][2] = {{"ONSITE", "On-Mountain Photo Lab"},
                                               {"MAILLAB", "Mail-Order Lab"}};
    for (const auto& row : kLabs) {
        session.Run("INSERT INTO vym_photo_lab_code (lab_code_id, description) VALUES (?, ?)",
                    {row[0], row[1]});
    }
    // Tickets and lessons are sold as sales; the free day voucher redeems.
    session.Run(
        "UPDATE vym_item_ticket SET access_trans_type_id = CASE item_no WHEN 107 "
        "THEN 'VOUCHER' ELSE 'SALE' END");
    session.Run(
        "UPDATE vym_item_ss SET access_trans_type_id = 'SALE', event_type_id = CASE item_no "
        "WHEN 202 THEN 'CAMP' ELSE 'LESSON' END, lesson_code_id = CASE item_no WHEN 200 "
        "THEN 'L2' WHEN 201 THEN 'PRIV' END");
}

}  // namespace vym::server
