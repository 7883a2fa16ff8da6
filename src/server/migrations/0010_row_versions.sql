-- Several stations may open the same row and save it later. Each row that a
-- screen opens and saves carries a version that every save raises, with who
-- saved it last and when: a save that names the version it read is refused
-- when the row has moved on, instead of overwriting the other station's save.
-- Existing rows start at version 1.

ALTER TABLE vym_item ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_item ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_item ADD COLUMN row_saved_at datetime;

ALTER TABLE vym_package ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_package ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_package ADD COLUMN row_saved_at datetime;

ALTER TABLE vym_price ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_price ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_price ADD COLUMN row_saved_at datetime;

ALTER TABLE vym_season ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_season ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_season ADD COLUMN row_saved_at datetime;

ALTER TABLE vym_function ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_function ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_function ADD COLUMN row_saved_at datetime;

ALTER TABLE vym_catagory ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_catagory ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_catagory ADD COLUMN row_saved_at datetime;

ALTER TABLE vym_unit ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_unit ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_unit ADD COLUMN row_saved_at datetime;

ALTER TABLE vym_profile ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_profile ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_profile ADD COLUMN row_saved_at datetime;

ALTER TABLE vym_profile_prompt ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_profile_prompt ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_profile_prompt ADD COLUMN row_saved_at datetime;

ALTER TABLE vym_vendor ADD COLUMN row_version int NOT NULL DEFAULT 1;
ALTER TABLE vym_vendor ADD COLUMN row_saved_by varchar(20);
ALTER TABLE vym_vendor ADD COLUMN row_saved_at datetime;
