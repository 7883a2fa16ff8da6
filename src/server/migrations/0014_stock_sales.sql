-- Stock sales: dated promotions at one location (Null = every location),
-- priced by item (their prices are vym_price rows carrying the sale_no) or
-- by department lines, and restricted to buyers who own a qualifying item or
-- belong to a customer group. A sale carries at most one of its two
-- discounts; Null means not set.

CREATE TABLE vym_sale (
    sale_no INTEGER PRIMARY KEY,
    sale_type varchar(10) COLLATE NOCASE NOT NULL CHECK (sale_type IN ('Dept', 'StockNo')),
    description varchar(60),
    location_id varchar(10) COLLATE NOCASE REFERENCES vym_location (location_id),
    sale_start_date datetime NOT NULL,
    sale_end_date datetime NOT NULL,
    sale_fixed_discount money,
    sale_fixed_percent float,
    item_qualified bit NOT NULL DEFAULT 0,
    customer_qualified bit NOT NULL DEFAULT 0,
    vym_user varchar(20) COLLATE NOCASE,
    update_date datetime,
    CHECK (sale_end_date >= sale_start_date)
);

CREATE TABLE vym_sale_dept (
    sale_no int NOT NULL REFERENCES vym_sale (sale_no) ON DELETE CASCADE,
    seq_no smallint NOT NULL,
    unit_qty smallint NOT NULL DEFAULT 1,
    rental_type varchar(10) COLLATE NOCASE,
    department_id varchar(10) COLLATE NOCASE REFERENCES vym_department (department_id),
    model_id varchar(20) COLLATE NOCASE REFERENCES vym_item_stock_model (model_id),
    report_department_id varchar(10) COLLATE NOCASE,
    report_sub_department_id varchar(10) COLLATE NOCASE,
    vendor_id varchar(15) COLLATE NOCASE REFERENCES vym_vendor (vendor_id),
    location_id varchar(10) COLLATE NOCASE REFERENCES vym_location (location_id),
    sale_start_date datetime NOT NULL,
    sale_end_date datetime NOT NULL,
    sale_fixed_discount money,
    sale_fixed_percent float,
    item_qualified bit NOT NULL DEFAULT 0,
    PRIMARY KEY (sale_no, seq_no)
);

-- The items a buyer may prove ownership of to get an item-qualified sale.
CREATE TABLE vym_sale_item (
    sale_no int NOT NULL REFERENCES vym_sale (sale_no) ON DELETE CASCADE,
    item_no int NOT NULL REFERENCES vym_item (item_no) ON DELETE CASCADE,
    PRIMARY KEY (sale_no, item_no)
);

CREATE TABLE vym_customer_group (
    customer_group_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    group_desc varchar(60)
);

CREATE TABLE vym_sale_customer (
    sale_no int NOT NULL REFERENCES vym_sale (sale_no) ON DELETE CASCADE,
    customer_group_id varchar(10) COLLATE NOCASE NOT NULL
        REFERENCES vym_customer_group (customer_group_id) ON DELETE CASCADE,
    PRIMARY KEY (sale_no, customer_group_id)
);

CREATE INDEX vym_price_sale ON vym_price (sale_no, item_no) WHERE sale_no IS NOT NULL;
