-- The upgrade prices and the sales that screens open and save later carry a
-- version too, raised by every save with who saved the row and when, so that
-- a station's save of a row another station saved since is refused instead
-- of overwriting it. Existing rows start at version 1.

ALTER TABLE vym_rental_upgrade_price ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_rental_upgrade_price ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_rental_upgrade_price ADD COLUMN row_saved_at datetime;

ALTER TABLE vym_sale ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_sale ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_sale ADD COLUMN row_saved_at datetime;
