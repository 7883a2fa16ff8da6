-- The item catalogue: items of every type with their type details, the stock
-- record with its classification tables and quantities by location, item
-- instructions, extensions, add-ons, register groups, map ids, the rental
-- items of rental articles and packages, and prices.
--
-- Codes that the screens match with "=" in ad-hoc SQL are COLLATE NOCASE.

CREATE TABLE vym_department (
    department_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60),
    department_type_id varchar(10) COLLATE NOCASE NOT NULL DEFAULT 'ITEM'
);

CREATE TABLE vym_report_department (
    report_department_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_report_sub_department (
    report_department_id varchar(10) COLLATE NOCASE NOT NULL
        REFERENCES vym_report_department (report_department_id) ON DELETE CASCADE,
    report_sub_department_id varchar(10) COLLATE NOCASE NOT NULL,
    description varchar(60),
    PRIMARY KEY (report_department_id, report_sub_department_id)
);
CREATE UNIQUE INDEX vym_report_sub_department_id
    ON vym_report_sub_department (report_sub_department_id);

-- Which reporting departments a sales department reports into.
CREATE TABLE vym_department_report (
    department_id varchar(10) COLLATE NOCASE NOT NULL
        REFERENCES vym_department (department_id) ON DELETE CASCADE,
    report_department_id varchar(10) COLLATE NOCASE NOT NULL
        REFERENCES vym_report_department (report_department_id) ON DELETE CASCADE,
    PRIMARY KEY (department_id, report_department_id)
);

CREATE TABLE vym_access_rule (
    access_rule_no INTEGER PRIMARY KEY,
    description varchar(60)
);

-- Print formats of stock labels ('STOCK'), product tickets ('ITEM') and club
-- cards ('CLUB'); their templates are kept by the template manager.
CREATE TABLE vym_print_format (
    format_no INTEGER PRIMARY KEY,
    description varchar(60),
    print_format_type varchar(10) COLLATE NOCASE NOT NULL DEFAULT 'ITEM'
);

CREATE TABLE vym_profile (
    profile_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_item_instruction (
    instruction_no INTEGER PRIMARY KEY,
    instruction_body long text
);

-- format_no is the ticket format of ticket and ski-school items; stock keeps
-- its label format with the stock record.
CREATE TABLE vym_item (
    item_no INTEGER PRIMARY KEY,
    item_type varchar(10) COLLATE NOCASE NOT NULL
        CHECK (item_type IN ('TICKET', 'STOCK', 'SS', 'PHOTO', 'SHIP', 'RENTAL')),
    function_id varchar(10) COLLATE NOCASE,
    catagory_id varchar(10) COLLATE NOCASE,
    short_description varchar(30),
    long_description varchar(80),
    tree_icon varchar(10),
    department_id varchar(10) COLLATE NOCASE REFERENCES vym_department (department_id),
    host_required bit NOT NULL DEFAULT 0,
    redeem_item int REFERENCES vym_item (item_no) ON DELETE SET NULL,
    taxable bit NOT NULL DEFAULT 0,
    status_id varchar(10) COLLATE NOCASE NOT NULL DEFAULT 'ACTIVE',
    instruction_no int REFERENCES vym_item_instruction (instruction_no) ON DELETE SET NULL,
    comment_note text,
    report_note text,
    unit_based_return bit NOT NULL DEFAULT 0,
    return_charge_rate float NOT NULL DEFAULT 0,
    maintain_inventory bit NOT NULL DEFAULT 0,
    show_on_tree bit NOT NULL DEFAULT 0,
    sale_profile_id varchar(10) COLLATE NOCASE REFERENCES vym_profile (profile_id),
    return_profile_id varchar(10) COLLATE NOCASE REFERENCES vym_profile (profile_id),
    format_no int REFERENCES vym_print_format (format_no) ON DELETE SET NULL,
    vym_user varchar(20) COLLATE NOCASE,
    create_date datetime,
    update_date datetime
);
CREATE INDEX vym_item_function ON vym_item (function_id, catagory_id);
CREATE INDEX vym_item_type ON vym_item (item_type);

CREATE TABLE vym_item_ticket (
    item_no int NOT NULL PRIMARY KEY REFERENCES vym_item (item_no) ON DELETE CASCADE,
    access_rule_no int,
    access_trans_type_id varchar(10) COLLATE NOCASE,
    use_negative_format bit NOT NULL DEFAULT 0,
    serialized bit NOT NULL DEFAULT 0
);

CREATE TABLE vym_item_ss (
    item_no int NOT NULL PRIMARY KEY REFERENCES vym_item (item_no) ON DELETE CASCADE,
    labor_code_id varchar(10) COLLATE NOCASE,
    event_type_id varchar(10) COLLATE NOCASE,
    serialized bit NOT NULL DEFAULT 0,
    access_rule_no int,
    access_trans_type_id varchar(10) COLLATE NOCASE,
    confirmation_letter_report varchar(60),
    resource_type_id varchar(10) COLLATE NOCASE,
    lesson_code_id varchar(10) COLLATE NOCASE,
    labor_hours smallint NOT NULL DEFAULT 0,
    schedule_hours smallint NOT NULL DEFAULT 0
);

CREATE TABLE vym_item_photo (
    item_no int NOT NULL PRIMARY KEY REFERENCES vym_item (item_no) ON DELETE CASCADE,
    photo_size_id varchar(10) COLLATE NOCASE,
    auto_rush bit NOT NULL DEFAULT 0,
    mail_not_allowed bit NOT NULL DEFAULT 0,
    require_ship_charge bit NOT NULL DEFAULT 0,
    lab_code_id varchar(10) COLLATE NOCASE
);

CREATE TABLE vym_item_ship (
    item_no int NOT NULL PRIMARY KEY REFERENCES vym_item (item_no) ON DELETE CASCADE,
    rush bit NOT NULL DEFAULT 0,
    pickup bit NOT NULL DEFAULT 0
);

CREATE TABLE vym_item_rental (
    item_no int NOT NULL PRIMARY KEY REFERENCES vym_item (item_no) ON DELETE CASCADE,
    report_department_id varchar(10) COLLATE NOCASE
        REFERENCES vym_report_department (report_department_id),
    report_sub_department_id varchar(10) COLLATE NOCASE,
    unit_price float NOT NULL DEFAULT 0,
    min_price float NOT NULL DEFAULT 0,
    allow_line_discount bit NOT NULL DEFAULT 0,
    allow_seller_pricing bit NOT NULL DEFAULT 0,
    is_package bit NOT NULL DEFAULT 0,
    season_rental bit NOT NULL DEFAULT 0
);

-- Classification of stock.
CREATE TABLE vym_item_stock_type (
    stock_type_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60),
    rental_type varchar(10) COLLATE NOCASE NOT NULL DEFAULT 'RETAIL'
        CHECK (rental_type IN ('RETAIL', 'RENTAL'))
);

CREATE TABLE vym_item_stock_size_type (
    stock_size_type_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_item_stock_size (
    stock_size_type_id varchar(10) COLLATE NOCASE NOT NULL
        REFERENCES vym_item_stock_size_type (stock_size_type_id) ON DELETE CASCADE,
    stock_size varchar(10) COLLATE NOCASE NOT NULL,
    display_order int NOT NULL DEFAULT 0,
    PRIMARY KEY (stock_size_type_id, stock_size)
);

CREATE TABLE vym_item_stock_model (
    model_id varchar(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
    stock_type_id varchar(10) COLLATE NOCASE
        REFERENCES vym_item_stock_type (stock_type_id),
    description varchar(60),
    manufacturer varchar(30),
    model_serial_prefix varchar(10),
    is_active bit NOT NULL DEFAULT 1
);

CREATE TABLE vym_item_stock_serial_type (
    serial_type_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_item_stock_binding_type (
    binding_type_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60),
    display_order int NOT NULL DEFAULT 0
);

-- The stock record of a stock item. Costs are kept by the receiving and
-- posting jobs; the stock editor shows them read only.
CREATE TABLE vym_item_stock (
    item_no int NOT NULL PRIMARY KEY REFERENCES vym_item (item_no) ON DELETE CASCADE,
    stock_id varchar(30) COLLATE NOCASE,
    stock_type_id varchar(10) COLLATE NOCASE
        REFERENCES vym_item_stock_type (stock_type_id),
    serialized bit NOT NULL DEFAULT 0,
    format_no int REFERENCES vym_print_format (format_no) ON DELETE SET NULL,
    stock_size varchar(10) COLLATE NOCASE,
    attribute varchar(30),
    style varchar(30),
    manufacturer varchar(30),
    model_id varchar(20) COLLATE NOCASE REFERENCES vym_item_stock_model (model_id),
    min_price money NOT NULL DEFAULT 0,
    unit_price money NOT NULL DEFAULT 0,
    allow_line_discount bit NOT NULL DEFAULT -1,
    allow_seller_pricing bit NOT NULL DEFAULT -1,
    base_uom_id varchar(10) COLLATE NOCASE,
    current_avg_cost money NOT NULL DEFAULT 0,
    current_avg_freight money NOT NULL DEFAULT 0,
    current_avg_discount money NOT NULL DEFAULT 0,
    current_cost money NOT NULL DEFAULT 0,
    min_qty smallint NOT NULL DEFAULT 0,
    vendor_id varchar(15) COLLATE NOCASE REFERENCES vym_vendor (vendor_id),
    rental_type varchar(10) COLLATE NOCASE,
    report_department_id varchar(10) COLLATE NOCASE
        REFERENCES vym_report_department (report_department_id),
    report_sub_department_id varchar(10) COLLATE NOCASE,
    group_no int,
    stock_size_type_id varchar(10) COLLATE NOCASE
        REFERENCES vym_item_stock_size_type (stock_size_type_id),
    serial_type_id varchar(10) COLLATE NOCASE
        REFERENCES vym_item_stock_serial_type (serial_type_id),
    binding_type_id varchar(10) COLLATE NOCASE
        REFERENCES vym_item_stock_binding_type (binding_type_id),
    boot_length smallint NOT NULL DEFAULT 0,
    upc_code varchar(30) COLLATE NOCASE
);
CREATE INDEX vym_item_stock_vendor ON vym_item_stock (vendor_id);

-- The label-format check of the template manager reads stock by this name.
CREATE VIEW vym_stock AS SELECT * FROM vym_item_stock;

CREATE TABLE vym_item_stock_location (
    item_no int NOT NULL REFERENCES vym_item (item_no) ON DELETE CASCADE,
    location_id varchar(10) COLLATE NOCASE NOT NULL REFERENCES vym_location (location_id),
    qty_on_hand int NOT NULL DEFAULT 0,
    PRIMARY KEY (item_no, location_id)
);

-- Scannable ids of an item; the item's own number is always one of them.
CREATE TABLE vym_item_stock_map (
    map_id varchar(30) COLLATE NOCASE NOT NULL PRIMARY KEY,
    item_no int NOT NULL REFERENCES vym_item (item_no) ON DELETE CASCADE,
    vym_user varchar(20) COLLATE NOCASE
);
CREATE INDEX vym_item_stock_map_item ON vym_item_stock_map (item_no);

-- The rental items a rental stock article is rented as.
CREATE TABLE vym_item_stock_rental (
    item_no int NOT NULL REFERENCES vym_item (item_no) ON DELETE CASCADE,
    rental_item_no int NOT NULL REFERENCES vym_item (item_no) ON DELETE CASCADE,
    vym_user varchar(20) COLLATE NOCASE,
    PRIMARY KEY (item_no, rental_item_no)
);

-- The items a rental package is made of.
CREATE TABLE vym_item_rental_detail (
    item_no int NOT NULL REFERENCES vym_item (item_no) ON DELETE CASCADE,
    detail_item_no int NOT NULL REFERENCES vym_item (item_no) ON DELETE CASCADE,
    vym_user varchar(20) COLLATE NOCASE,
    PRIMARY KEY (item_no, detail_item_no)
);

CREATE TABLE vym_extension (
    parent_item_no int NOT NULL REFERENCES vym_item (item_no) ON DELETE CASCADE,
    child_item_no int NOT NULL REFERENCES vym_item (item_no) ON DELETE CASCADE,
    create_new_product bit NOT NULL DEFAULT 0,
    max_qty_per_season int NOT NULL DEFAULT 0,
    max_qty_per_trans int NOT NULL DEFAULT 0,
    activating bit NOT NULL DEFAULT 0,
    sequence int NOT NULL DEFAULT 0,
    PRIMARY KEY (parent_item_no, child_item_no)
);

CREATE TABLE vym_item_add_on (
    parent_item_no int NOT NULL REFERENCES vym_item (item_no) ON DELETE CASCADE,
    child_item_no int NOT NULL REFERENCES vym_item (item_no) ON DELETE CASCADE,
    format_no int REFERENCES vym_print_format (format_no) ON DELETE SET NULL,
    access_rule_no int REFERENCES vym_access_rule (access_rule_no) ON DELETE SET NULL,
    price money NOT NULL DEFAULT 0,
    sequence int NOT NULL DEFAULT 0,
    PRIMARY KEY (parent_item_no, child_item_no)
);

CREATE TABLE vym_register_group (
    register_group_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_register_group_item (
    item_no int NOT NULL REFERENCES vym_item (item_no) ON DELETE CASCADE,
    register_group_id varchar(10) COLLATE NOCASE NOT NULL
        REFERENCES vym_register_group (register_group_id) ON DELETE CASCADE,
    PRIMARY KEY (item_no, register_group_id)
);

-- Packages belong to register groups too; the package table comes later.
CREATE TABLE vym_register_group_package (
    package_no int NOT NULL,
    register_group_id varchar(10) COLLATE NOCASE NOT NULL
        REFERENCES vym_register_group (register_group_id) ON DELETE CASCADE,
    PRIMARY KEY (package_no, register_group_id)
);

-- A price of an item (or package): by extension item and its parent unit,
-- season (Null = any), discount (Null = base price), unit, unit of measure
-- and location (Null = any location); sale_no marks a stock sale's price.
CREATE TABLE vym_price (
    price_no INTEGER PRIMARY KEY,
    item_no int NOT NULL,
    child_item_no int REFERENCES vym_item (item_no) ON DELETE CASCADE,
    parent_unit_id varchar(10) COLLATE NOCASE,
    season_id int,
    discount_id varchar(10) COLLATE NOCASE,
    unit_id varchar(10) COLLATE NOCASE,
    unit_qty int NOT NULL DEFAULT 1,
    uom_id varchar(10) COLLATE NOCASE REFERENCES vym_uom (uom_id),
    location_id varchar(10) COLLATE NOCASE REFERENCES vym_location (location_id),
    sale_no int,
    total_price money NOT NULL DEFAULT 0,
    unit_price money NOT NULL DEFAULT 0,
    gross_unit_price money NOT NULL DEFAULT 0,
    line_discount bit NOT NULL DEFAULT 0,
    seller_pricing bit NOT NULL DEFAULT 0,
    acct_units int NOT NULL DEFAULT 1,
    print_qty int NOT NULL DEFAULT 1,
    access_rule_no int REFERENCES vym_access_rule (access_rule_no) ON DELETE SET NULL,
    vym_user varchar(20) COLLATE NOCASE
);
CREATE INDEX vym_price_item ON vym_price (item_no, location_id, sale_no);
