-- The support tables that items, prices and stock point to: functions with
-- their categories and units, units of measure, seasons, stores and their
-- product groups, locations, vendors with addresses and products, purchase
-- orders, stock history transactions and the system parameters.
--
-- Columns that hold an item number (item_no) carry no reference to the item
-- table, which a later migration creates.

CREATE TABLE vym_function (
    function_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60),
    tree_icon varchar(10),
    is_active bit NOT NULL DEFAULT 1
);

CREATE TABLE vym_catagory (
    function_id varchar(10) COLLATE NOCASE NOT NULL
        REFERENCES vym_function (function_id),
    catagory_id varchar(10) COLLATE NOCASE NOT NULL,
    description varchar(60),
    is_active bit NOT NULL DEFAULT 1,
    require_access_rule bit NOT NULL DEFAULT 0,
    PRIMARY KEY (function_id, catagory_id)
);

CREATE TABLE vym_uom (
    uom_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_unit (
    function_id varchar(10) COLLATE NOCASE NOT NULL
        REFERENCES vym_function (function_id),
    unit_id varchar(10) COLLATE NOCASE NOT NULL,
    description varchar(60),
    uom_id varchar(10) COLLATE NOCASE REFERENCES vym_uom (uom_id),
    qty smallint NOT NULL DEFAULT 1,
    acct_units smallint NOT NULL DEFAULT 1,
    print_qty smallint NOT NULL DEFAULT 1,
    PRIMARY KEY (function_id, unit_id)
);

CREATE TABLE vym_season_type (
    season_type_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

-- Prices refer to a season by its number; season_id is the short code a
-- function's seasons are also known by.
CREATE TABLE vym_season (
    season_no INTEGER PRIMARY KEY,
    function_id varchar(10) COLLATE NOCASE REFERENCES vym_function (function_id),
    season_id varchar(10) COLLATE NOCASE,
    season_type_id varchar(10) COLLATE NOCASE REFERENCES vym_season_type (season_type_id),
    season_group_id int,
    description varchar(60),
    is_active bit NOT NULL DEFAULT 1,
    start_date datetime,
    end_date datetime,
    store_start_date datetime,
    store_end_date datetime
);
CREATE UNIQUE INDEX vym_season_function_season_id ON vym_season (function_id, season_id)
    WHERE season_id IS NOT NULL;

CREATE TABLE vym_address (
    address_no INTEGER PRIMARY KEY,
    name varchar(60),
    address1 varchar(60),
    address2 varchar(60),
    city varchar(40),
    state varchar(20),
    zip varchar(15),
    country varchar(40),
    phone varchar(25),
    fax varchar(25),
    email varchar(100)
);

CREATE TABLE vym_location (
    location_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60),
    address_no int REFERENCES vym_address (address_no),
    ship_to_address_no int REFERENCES vym_address (address_no),
    invoice_to_address_no int REFERENCES vym_address (address_no),
    confirm_to_address_no int REFERENCES vym_address (address_no)
);

CREATE TABLE vym_security_user_location (
    vym_user varchar(20) COLLATE NOCASE NOT NULL
        REFERENCES vym_security_user (vym_user) ON DELETE CASCADE,
    location_id varchar(10) COLLATE NOCASE NOT NULL
        REFERENCES vym_location (location_id) ON DELETE CASCADE,
    PRIMARY KEY (vym_user, location_id)
);

CREATE TABLE vym_store (
    store_no INTEGER PRIMARY KEY,
    description varchar(60),
    location_id varchar(10) COLLATE NOCASE REFERENCES vym_location (location_id)
);

CREATE TABLE vym_store_product_group (
    store_no int NOT NULL REFERENCES vym_store (store_no),
    product_group_no int NOT NULL,
    description varchar(60),
    PRIMARY KEY (store_no, product_group_no)
);

CREATE TABLE vym_store_product (
    store_no int NOT NULL REFERENCES vym_store (store_no),
    product_no int NOT NULL,
    product_group_no int,
    product_name varchar(60),
    PRIMARY KEY (store_no, product_no),
    FOREIGN KEY (store_no, product_group_no)
        REFERENCES vym_store_product_group (store_no, product_group_no)
);

CREATE TABLE vym_vendor (
    vendor_id varchar(15) COLLATE NOCASE NOT NULL PRIMARY KEY,
    vendor_name varchar(60) NOT NULL,
    contact_name varchar(60),
    vendor_address_no int REFERENCES vym_address (address_no)
);

CREATE TABLE vym_vendor_address_type (
    vendor_address_type varchar(15) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_vendor_address (
    vendor_id varchar(15) COLLATE NOCASE NOT NULL
        REFERENCES vym_vendor (vendor_id) ON DELETE CASCADE,
    vendor_address_type varchar(15) COLLATE NOCASE NOT NULL
        REFERENCES vym_vendor_address_type (vendor_address_type),
    address_no int NOT NULL REFERENCES vym_address (address_no),
    PRIMARY KEY (vendor_id, vendor_address_type)
);

CREATE TABLE vym_vendor_product (
    vendor_id varchar(15) COLLATE NOCASE NOT NULL REFERENCES vym_vendor (vendor_id),
    product_id varchar(30) COLLATE NOCASE NOT NULL,
    description varchar(60),
    item_no int,
    base_uom_id varchar(10) COLLATE NOCASE REFERENCES vym_uom (uom_id),
    unit_price money,
    unit_tax money,
    PRIMARY KEY (vendor_id, product_id)
);

CREATE TABLE vym_po_status (
    status_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_po (
    po_no INTEGER PRIMARY KEY,
    vendor_id varchar(15) COLLATE NOCASE NOT NULL REFERENCES vym_vendor (vendor_id),
    location_id varchar(10) COLLATE NOCASE REFERENCES vym_location (location_id),
    status_id varchar(10) COLLATE NOCASE NOT NULL REFERENCES vym_po_status (status_id),
    order_date datetime,
    expected_date datetime,
    notes varchar(255)
);

CREATE TABLE vym_po_line (
    po_no int NOT NULL REFERENCES vym_po (po_no) ON DELETE CASCADE,
    line_no int NOT NULL,
    item_no int,
    product_id varchar(30) COLLATE NOCASE,
    qty_ord int NOT NULL DEFAULT 0,
    qty_received int NOT NULL DEFAULT 0,
    unit_cost money,
    PRIMARY KEY (po_no, line_no)
);

CREATE TABLE vym_item_stock_history (
    trans_no INTEGER PRIMARY KEY,
    item_no int NOT NULL,
    location_id varchar(10) COLLATE NOCASE REFERENCES vym_location (location_id),
    trans_type varchar(10) COLLATE NOCASE,
    batch_no int,
    to_location_id varchar(10) COLLATE NOCASE,
    vym_user varchar(20) COLLATE NOCASE,
    qty int,
    before_qty int,
    after_qty int,
    serial_id varchar(30) COLLATE NOCASE,
    receiving_no int,
    trans_date datetime NOT NULL,
    book_date datetime,
    value money,
    avg_cost money,
    avg_freight money,
    avg_disc money,
    current_cost money,
    reg_ctrl_inv varchar(30)
);
CREATE INDEX vym_item_stock_history_item ON vym_item_stock_history (item_no, location_id);

-- One row: the site's settings.
CREATE TABLE vym_system_parm (
    system_parm_no INTEGER PRIMARY KEY CHECK (system_parm_no = 1),
    req_rpt_dept bit
);
INSERT INTO vym_system_parm (system_parm_no, req_rpt_dept) VALUES (1, 0);
