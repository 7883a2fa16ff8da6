-- What a location knows of its stock besides the quantity: counts, reorder
-- points and when the stock last moved.
ALTER TABLE vym_item_stock_location ADD COLUMN qty_serialized int NOT NULL DEFAULT 0;
ALTER TABLE vym_item_stock_location ADD COLUMN min_qty int;
ALTER TABLE vym_item_stock_location ADD COLUMN order_qty int;
ALTER TABLE vym_item_stock_location ADD COLUMN locked bit NOT NULL DEFAULT 0;
ALTER TABLE vym_item_stock_location ADD COLUMN last_inventory_date datetime;
ALTER TABLE vym_item_stock_location ADD COLUMN last_date_sold datetime;
ALTER TABLE vym_item_stock_location ADD COLUMN last_date_used datetime;

-- The history is searched by date as often as by item.
CREATE INDEX vym_item_stock_history_trans_date ON vym_item_stock_history (trans_date);

-- A posted month: one row per item and location that moved in it. Posting a
-- month again replaces its rows.
CREATE TABLE vym_item_stock_summary (
    s_year int NOT NULL,
    s_month int NOT NULL,
    item_no int NOT NULL,
    location_id varchar(10) COLLATE NOCASE,
    trans int NOT NULL,
    begin_qty int,
    qty_in int NOT NULL,
    qty_out int NOT NULL,
    end_qty int,
    value money,
    job_no int NOT NULL
);
CREATE INDEX vym_item_stock_summary_month ON vym_item_stock_summary (s_year, s_month);

-- Every posting asked for, who asked and how it ended.
CREATE TABLE vym_inv_stock_summary_job (
    job_no INTEGER PRIMARY KEY,
    s_year int NOT NULL,
    s_month int NOT NULL,
    email varchar(255) NOT NULL,
    vym_user varchar(20) COLLATE NOCASE,
    scheduled_date datetime NOT NULL,
    completed_date datetime,
    rows_posted int,
    trans_posted int
);

-- Mail waiting for the mailer, which sets sent_date once it went out.
CREATE TABLE vym_mail_outbox (
    mail_no INTEGER PRIMARY KEY,
    to_address varchar(255) NOT NULL,
    subject varchar(255) NOT NULL,
    body text NOT NULL,
    created_date datetime NOT NULL,
    sent_date datetime
);
CREATE INDEX vym_mail_outbox_unsent ON vym_mail_outbox (mail_no) WHERE sent_date IS NULL;
