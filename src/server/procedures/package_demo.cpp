#include "server/procedures/package_procedures.h"

namespace vym::server {

void AddPackageDemoRows(SqlSession& session) {
    session.Run(
        "INSERT INTO vym_item_instruction (instruction_body) VALUES (?)",
        {std::string("Collect the lift tickets at the ticket window and the skis at the rental "
                     "shop on the first day.\nTickets are valid on 6 consecutive days.")});
    session.Run(
        "UPDATE vym_package SET show_on_tree = 1, tree_icon = 'y', instruction_no = ? "
        "WHERE package_no = 1",
        {vym::Value::FromInt64(session.LastInsertId())});
    session.Run(
        "INSERT INTO vym_register_group_package (package_no, register_group_id) "
        "SELECT package_no, 'TICKETS' FROM vym_package WHERE package_no IN (1, 2) "
        "ON CONFLICT DO NOTHING");

    // Sold on the web with a print-at-home voucher, redeemed at the window
    // as the family week, line by line.
    session.Run(
        "INSERT INTO vym_print_format (description, print_format_type) "
        "VALUES ('Print At Home Voucher', 'ITEM')");
    const vym::Value voucher = vym::Value::FromInt64(session.LastInsertId());
    session.Run(
        "INSERT INTO vym_package (package_no, description, display_seq, is_active, function_id, "
        "catagory_id, redeem_package_no, vym_user) SELECT 4, 'Family Ski Week Online', 4, 1, "
        "function_id, catagory_id, package_no, 'ADMIN' FROM vym_package WHERE package_no = 1");
    session.Run(
        "INSERT INTO vym_package_item (package_no, seq_no, item_no, pkg_qty, format_no, "
        "redeem_seq_no) SELECT 4, pi.seq_no, pi.item_no, pi.pkg_qty, "
        "CASE WHEN i.item_type IN ('TICKET', 'SS') THEN CAST(? AS int) END, pi.seq_no "
        "FROM vym_package_item pi JOIN vym_item i ON i.item_no = pi.item_no "
        "WHERE pi.package_no = 1",
        {voucher});
}

}  // namespace vym::server
