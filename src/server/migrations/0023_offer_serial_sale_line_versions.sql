-- Special offers with their detail lines, serial units and the department
-- lines of sales are opened by screens and saved later too: each carries a
-- version that every save raises, with who saved it last and when, so that a
-- station's save of a row another station saved since is refused instead of
-- overwriting it. (Sale item prices are price rows, versioned already.)
-- Existing rows start at version 1.

ALTER TABLE vym_special_offer ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_special_offer ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_special_offer ADD COLUMN row_saved_at datetime;

ALTER TABLE vym_special_offer_detail ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_special_offer_detail ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_special_offer_detail ADD COLUMN row_saved_at datetime;

ALTER TABLE vym_item_stock_serial ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_item_stock_serial ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_item_stock_serial ADD COLUMN row_saved_at datetime;

ALTER TABLE vym_sale_dept ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_sale_dept ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_sale_dept ADD COLUMN row_saved_at datetime;
