#include <cstdio>
#include <optional>
#include <string>

#include "base/date.h"
#include "base/value.h"
#include "server/procedures/inv_procedures.h"
#include "server/sql_engine.h"

namespace vym::server {
namespace {

std::string TwoDigits(int n) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

// Date ranges include their last day whatever the time of the row.
void GetItemStockHistory(ProcedureContext& call) {
    const SqlEngine& engine = call.Session().Engine();
    call.EmitResultSet(
        "SELECT h.location_id, h.trans_date, h.trans_type, h.batch_no, "
        "h.to_location_id, h.vym_user, h.qty, h.before_qty, h.after_qty, s.stock_id, "
        "h.trans_no, h.receiving_no, h.book_date, h.value, h.avg_cost, h.avg_freight, "
        "h.avg_disc, h.current_cost, h.reg_ctrl_inv "
        "FROM vym_item_stock_history h "
        "LEFT JOIN vym_item_stock s ON s.item_no = h.item_no "
        "WHERE (?1 IS NULL OR h.item_no = ?1) AND (?2 IS NULL OR h.location_id = ?2) "
        "AND (?3 IS NULL OR h.trans_date >= " +
            engine.DateOf("?3") + ") AND (?4 IS NULL OR h.trans_date < " + engine.AddDays("?4", 1) +
            ") AND (?5 IS NULL OR h.book_date >= " + engine.DateOf("?5") +
            ") AND (?6 IS NULL OR h.book_date < " + engine.AddDays("?6", 1) +
            ") "
            "AND (?7 IS NULL OR h.serial_id = ?7) "
            "ORDER BY h.trans_date, h.trans_no",
        {call.Get("@item_no"), TextOrNull(call, "@location_id"), call.Get("@trans_date_start"),
         call.Get("@trans_date_end"), call.Get("@book_date_start"), call.Get("@book_date_end"),
         TextOrNull(call, "@serial_id")});
}

void GetItemStockLocation(ProcedureContext& call) {
    call.EmitResultSet(
        "SELECT l.item_no AS ItemNo, l.location_id AS LocationID, "
        "l.qty_on_hand AS Qty_On_Hand, l.qty_serialized AS Qty_Serialized, "
        "l.min_qty AS Min_Qty, l.order_qty AS Order_Qty, l.locked AS Locked, "
        "l.last_inventory_date AS Last_Inventory_Date, "
        "l.last_date_sold AS Last_Date_Sold, l.last_date_used AS Last_Date_Used "
        "FROM vym_item_stock_location l "
        "WHERE (?1 IS NULL OR l.item_no = ?1) AND (?2 IS NULL OR "
        "l.location_id = ?2) ORDER BY l.item_no, l.location_id",
        {call.Get("@item_no"), TextOrNull(call, "@location_id")});
}

// The months that have stock movements, with how many. A movement counts in
// the month of its book date, one never booked in the month it happened.
void GetItemStockSummary(ProcedureContext& call) {
    const SqlEngine& engine = call.Session().Engine();
    call.EmitResultSet("SELECT " + engine.YearOf("p") + " AS s_year, " + engine.MonthOf("p") +
                       " AS s_month, count(*) AS trans FROM (SELECT COALESCE(book_date, "
                       "trans_date) AS p FROM vym_item_stock_history) AS h WHERE p IS NOT NULL "
                       "GROUP BY 1, 2 ORDER BY 1, 2");
}

// Why the month can not be posted, or nullopt when it can.
std::optional<std::string> CheckPosting(int year, int month, const std::string& email) {
    if (year < 1900 || year > 9999) {
        return std::string("The year to post must be from 1900 to 9999.");
    }
    if (month < 1 || month > 12) {
        return std::string("The month to post must be from 1 to 12.");
    }
    if (email.find('@') == std::string::npos) {
        return email + " is not an email address.";
    }
    return std::nullopt;
}

// Replaces the month's summary rows with those of posting `job` and returns
// how many rows it wrote. Opening and closing quantities are those before the
// month's first and after its last movement.
std::int64_t PostMonth(SqlSession& db, int year, int month, const vym::Value& job) {
    const std::string from = std::to_string(year) + "-" + TwoDigits(month) + "-01";
    db.Run("DELETE FROM vym_item_stock_summary WHERE s_year = ? AND s_month = ?", {year, month});
    return db.Run(
        "INSERT INTO vym_item_stock_summary (s_year, s_month, item_no, location_id, "
        "trans, begin_qty, qty_in, qty_out, end_qty, value, job_no) "
        "WITH m AS (SELECT h.*, ROW_NUMBER() OVER (PARTITION BY item_no, location_id "
        "ORDER BY trans_date, trans_no) AS nth, ROW_NUMBER() OVER (PARTITION BY "
        "item_no, location_id ORDER BY trans_date DESC, trans_no DESC) AS nth_last "
        "FROM vym_item_stock_history h WHERE COALESCE(book_date, trans_date) >= " +
            db.Engine().DateOf("?3") + " AND COALESCE(book_date, trans_date) < " +
            db.Engine().AddMonths("?3", 1) +
            ") "
            "SELECT ?1, ?2, item_no, location_id, count(*), "
            "MAX(CASE WHEN nth = 1 THEN before_qty END), "
            "SUM(CASE WHEN qty > 0 THEN qty ELSE 0 END), "
            "SUM(CASE WHEN qty < 0 THEN -qty ELSE 0 END), "
            "MAX(CASE WHEN nth_last = 1 THEN after_qty END), SUM(value), ?4 "
            "FROM m GROUP BY item_no, location_id",
        {year, month, from, job});
}

// There is no job agent beside the embedded database: the month is posted in
// this call (all or nothing) and the notice waits in the outbox for the
// mailer, as the job's own mail would.
void PostStockSummary(ProcedureContext& call) {
    const int year = call.GetLong("@year").value_or(0);
    const int month = call.GetLong("@month").value_or(0);
    const std::string email = call.GetString("@email").value_or("");
    if (auto refusal = CheckPosting(year, month, email)) {
        call.SetOutput("@message", *refusal);
        call.SetReturnValue(-1);
        return;
    }
    SqlSession& db = call.Session();
    const vym::Date now = vym::Date::Now();
    db.Run(
        "INSERT INTO vym_inv_stock_summary_job (s_year, s_month, email, vym_user, "
        "scheduled_date) VALUES (?, ?, ?, ?, ?)",
        {year, month, email, call.UserId(), now});
    const vym::Value job = vym::Value::FromInt64(db.LastInsertId());
    const std::int64_t rows = PostMonth(db, year, month, job);
    const vym::Value trans = db.QueryValue(
        "SELECT COALESCE(SUM(trans), 0) FROM vym_item_stock_summary WHERE job_no = ?", {job});
    db.Run(
        "UPDATE vym_inv_stock_summary_job SET completed_date = ?, rows_posted = ?, "
        "trans_posted = ? WHERE job_no = ?",
        {now, vym::Value::FromInt64(rows), trans, job});
    const std::string period = TwoDigits(month) + "/" + std::to_string(year);
    db.Run(
        "INSERT INTO vym_mail_outbox (to_address, subject, body, created_date) "
        "VALUES (?, ?, ?, ?)",
        {email, "Stock Summary " + period + " posted",
         "The stock summary for " + period + " was posted: " + trans.ToString() +
             " transactions for " + std::to_string(rows) +
             " items and locations.\r\nPosting number " + job.ToString() + ", by " + call.UserId() +
             ".",
         now});
    call.SetOutput("@message", "");
}

}  // namespace

void RegisterInvViewProcedures(ProcedureCatalog& catalog) {
    catalog.Add(
        "VYM_SP_ITEM_GetItemStockHistory",
        {In("@item_no", DataType::Integer), In("@location_id", DataType::VarChar, 10),
         In("@trans_date_start", DataType::DBTimeStamp),
         In("@trans_date_end", DataType::DBTimeStamp),
         In("@book_date_start", DataType::DBTimeStamp), In("@book_date_end", DataType::DBTimeStamp),
         In("@serial_id", DataType::VarChar, 30)},
        GetItemStockHistory);
    catalog.Add("VYM_SP_ITEM_GetItemStockLocation",
                {In("@item_no", DataType::Integer), In("@location_id", DataType::VarChar, 10)},
                GetItemStockLocation);
    catalog.Add("VYM_SP_ITEM_GetItemStockSummary", {}, GetItemStockSummary);
    catalog.Add("VYM_SP_INV_STOCK_SUMMARY_JOB",
                {In("@year", DataType::Integer), In("@month", DataType::Integer),
                 In("@email", DataType::VarChar, 255), Out("@message", DataType::VarChar, 255)},
                PostStockSummary);
}

}  // namespace vym::server
