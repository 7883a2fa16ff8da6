-- Serialized units: each pair of rental skis, boots or board the shop tracks
-- by a number of its own, where it belongs, where it is and who has it out.

-- Generated serial ids name the location they were made for.
ALTER TABLE vym_location ADD COLUMN serial_prefix varchar(5);

CREATE TABLE vym_serial_status (
    status_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60),
    display_order int NOT NULL DEFAULT 0
);
INSERT INTO vym_serial_status (status_id, description, display_order) VALUES
    ('NEW', 'New', 1), ('AVAIL', 'Available', 2), ('OUT', 'Rented Out', 3),
    ('REPAIR', 'In Repair', 4), ('RETIRED', 'Retired', 5);

-- The key is the unit's identity: two stations saving the same id for one
-- item at the same moment cannot both succeed.
CREATE TABLE vym_item_stock_serial (
    item_no int NOT NULL REFERENCES vym_item_stock (item_no) ON DELETE CASCADE,
    serial_id varchar(30) COLLATE NOCASE NOT NULL,
    mfg_serial varchar(30) COLLATE NOCASE,
    status_id varchar(10) COLLATE NOCASE NOT NULL REFERENCES vym_serial_status (status_id),
    location_id varchar(10) COLLATE NOCASE REFERENCES vym_location (location_id),
    current_location_id varchar(10) COLLATE NOCASE REFERENCES vym_location (location_id),
    mounting_location_id varchar(10) COLLATE NOCASE REFERENCES vym_location (location_id),
    binding_item_no int REFERENCES vym_item_stock (item_no),
    boot_length smallint,
    print_format_no int REFERENCES vym_print_format (format_no) ON DELETE SET NULL,
    comment_note varchar(255),
    is_active bit NOT NULL DEFAULT 1,
    original_cost money,
    retail_price money,
    depreciated_value money,
    created_by varchar(20) COLLATE NOCASE,
    created_datetime datetime,
    last_modified_by varchar(20) COLLATE NOCASE,
    last_modified_datetime datetime,
    PRIMARY KEY (item_no, serial_id)
);
CREATE INDEX vym_item_stock_serial_by_serial ON vym_item_stock_serial (serial_id, item_no);
CREATE INDEX vym_item_stock_serial_by_location
    ON vym_item_stock_serial (location_id, status_id, item_no, serial_id);
CREATE INDEX vym_item_stock_serial_by_mfg ON vym_item_stock_serial (mfg_serial);

-- Codes a unit is also scanned by; its serial id and maker's serial are two.
CREATE TABLE vym_item_stock_serial_map (
    item_no int NOT NULL,
    map_id varchar(30) COLLATE NOCASE NOT NULL,
    serial_id varchar(30) COLLATE NOCASE NOT NULL,
    vym_user varchar(20) COLLATE NOCASE,
    PRIMARY KEY (item_no, map_id),
    FOREIGN KEY (item_no, serial_id)
        REFERENCES vym_item_stock_serial (item_no, serial_id) ON DELETE CASCADE
);
CREATE INDEX vym_item_stock_serial_map_unit ON vym_item_stock_serial_map (item_no, serial_id);

CREATE TABLE vym_customer (
    customer_no INTEGER PRIMARY KEY,
    full_name varchar(80) NOT NULL
);

-- The rental counter's contract lines that named a unit; a line not yet
-- returned is where the unit is now.
CREATE TABLE vym_rental_contract_line (
    contract_no int NOT NULL,
    line_no int NOT NULL,
    seq_no int NOT NULL DEFAULT 1,
    customer_no int REFERENCES vym_customer (customer_no),
    item_no int NOT NULL,
    serial_id varchar(30) COLLATE NOCASE NOT NULL,
    rental_item_no int REFERENCES vym_item (item_no),
    location_id varchar(10) COLLATE NOCASE REFERENCES vym_location (location_id),
    date_out datetime NOT NULL,
    date_returned datetime,
    return_location_id varchar(10) COLLATE NOCASE REFERENCES vym_location (location_id),
    PRIMARY KEY (contract_no, line_no, seq_no)
);
CREATE INDEX vym_rental_contract_line_unit
    ON vym_rental_contract_line (serial_id, item_no, date_out);

-- Stock moved between locations; serialized stock gets its units once it
-- arrived, and serials_generated_datetime says that happened.
CREATE TABLE vym_inv_batch (
    batch_no INTEGER PRIMARY KEY,
    from_location_id varchar(10) COLLATE NOCASE REFERENCES vym_location (location_id),
    to_location_id varchar(10) COLLATE NOCASE NOT NULL REFERENCES vym_location (location_id),
    batch_date datetime NOT NULL,
    vym_user varchar(20) COLLATE NOCASE,
    serials_generated_datetime datetime,
    serials_generated_by varchar(20) COLLATE NOCASE
);

CREATE TABLE vym_inv_batch_line (
    batch_no int NOT NULL REFERENCES vym_inv_batch (batch_no) ON DELETE CASCADE,
    line_no int NOT NULL,
    item_no int NOT NULL REFERENCES vym_item (item_no),
    qty int NOT NULL,
    PRIMARY KEY (batch_no, line_no)
);
