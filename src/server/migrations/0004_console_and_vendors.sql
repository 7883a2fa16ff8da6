-- What the item console searches and deletes, and vendor maintenance: the
-- lookup tables behind the search lists, packages with their lines, the
-- display colour of an item and the search indexes (a trigram index so that
-- a description matches anywhere without reading the table).

CREATE TABLE vym_resource_type (
    resource_type_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_labor_code (
    labor_code_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_photo_size (
    photo_size_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_package (
    package_no INTEGER PRIMARY KEY,
    description varchar(80),
    display_seq int NOT NULL DEFAULT 0,
    is_active bit NOT NULL DEFAULT 1,
    function_id varchar(10) COLLATE NOCASE,
    catagory_id varchar(10) COLLATE NOCASE,
    show_on_tree bit NOT NULL DEFAULT 0,
    tree_icon varchar(10),
    instruction_no int REFERENCES vym_item_instruction (instruction_no) ON DELETE SET NULL,
    redeem_package_no int REFERENCES vym_package (package_no) ON DELETE SET NULL,
    vym_user varchar(20) COLLATE NOCASE,
    create_date datetime,
    update_date datetime
);
CREATE INDEX vym_package_function ON vym_package (function_id, catagory_id);

CREATE TABLE vym_package_item (
    package_no int NOT NULL REFERENCES vym_package (package_no) ON DELETE CASCADE,
    seq_no int NOT NULL,
    item_no int NOT NULL REFERENCES vym_item (item_no),
    pkg_qty smallint NOT NULL DEFAULT 1,
    format_no int REFERENCES vym_print_format (format_no) ON DELETE SET NULL,
    redeem_seq_no int,
    PRIMARY KEY (package_no, seq_no)
);
CREATE INDEX vym_package_item_item ON vym_package_item (item_no);

-- The colour an item is shown in (an RGB value), Null for the usual colour.
ALTER TABLE vym_item ADD COLUMN item_color int;

-- Search indexes.
CREATE INDEX vym_item_status ON vym_item (status_id);
-- Which functions have items of a type: one probe per function.
CREATE INDEX vym_item_function_type ON vym_item (function_id, item_type);
-- Stock is listed by item number: its indexes hand rows out in that order.
DROP INDEX vym_item_stock_vendor;
CREATE INDEX vym_item_stock_by_vendor ON vym_item_stock (vendor_id, item_no);
CREATE INDEX vym_item_stock_by_model ON vym_item_stock (model_id, item_no);
CREATE INDEX vym_item_stock_by_type ON vym_item_stock (stock_type_id, item_no);
CREATE INDEX vym_item_stock_by_group ON vym_item_stock (group_no) WHERE group_no IS NOT NULL;
CREATE INDEX vym_item_stock_location_by_location ON vym_item_stock_location (location_id);
CREATE INDEX vym_price_child ON vym_price (child_item_no) WHERE child_item_no IS NOT NULL;
CREATE INDEX vym_extension_child ON vym_extension (child_item_no);
CREATE INDEX vym_item_add_on_child ON vym_item_add_on (child_item_no);
CREATE INDEX vym_item_rental_detail_detail ON vym_item_rental_detail (detail_item_no);
CREATE INDEX vym_po_line_item ON vym_po_line (item_no);
CREATE INDEX vym_vendor_name ON vym_vendor (vendor_name COLLATE NOCASE);

-- begin sqlite
-- Descriptions match anywhere, without regard to case: every run of three
-- characters of a description is indexed.
CREATE VIRTUAL TABLE vym_item_fts USING fts5 (
    long_description, content = 'vym_item', content_rowid = 'item_no', tokenize = 'trigram'
);
INSERT INTO vym_item_fts (vym_item_fts) VALUES ('rebuild');

CREATE TRIGGER vym_item_fts_insert AFTER INSERT ON vym_item BEGIN
    INSERT INTO vym_item_fts (rowid, long_description) VALUES (new.item_no, new.long_description);
END;
CREATE TRIGGER vym_item_fts_delete AFTER DELETE ON vym_item BEGIN
    INSERT INTO vym_item_fts (vym_item_fts, rowid, long_description)
        VALUES ('delete', old.item_no, old.long_description);
END;
-- A save rewrites every column, long_description included: the index is
-- touched only when the description (or the row's number) really changed.
CREATE TRIGGER vym_item_fts_update AFTER UPDATE OF item_no, long_description ON vym_item
WHEN old.long_description IS NOT new.long_description OR old.item_no IS NOT new.item_no
BEGIN
    INSERT INTO vym_item_fts (vym_item_fts, rowid, long_description)
        VALUES ('delete', old.item_no, old.long_description);
    INSERT INTO vym_item_fts (rowid, long_description) VALUES (new.item_no, new.long_description);
END;
-- end sqlite
-- begin postgresql
CREATE INDEX vym_item_long_description_trigram ON vym_item
    USING gin (long_description gin_trgm_ops);
-- end postgresql
