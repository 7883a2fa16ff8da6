-- Special offers: dated, coded discount schemes. Each detail line says what
-- qualifies (an item, a package, one of their prices, a location, an item
-- type, a store down to one of its product items) and what it takes off: a
-- percentage (a fraction) or a fixed amount, optionally only above a minimum
-- line amount, or nothing at all for an exclusion. A package line may split
-- its fixed discount over the package's items, per unit.

-- The items and packages a store's product is sold as.
CREATE TABLE vym_store_product_item (
    store_no int NOT NULL,
    product_no int NOT NULL,
    seq_no int NOT NULL,
    item_no int REFERENCES vym_item (item_no) ON DELETE CASCADE,
    package_no int REFERENCES vym_package (package_no) ON DELETE CASCADE,
    product_item_name varchar(80),
    PRIMARY KEY (store_no, product_no, seq_no),
    FOREIGN KEY (store_no, product_no)
        REFERENCES vym_store_product (store_no, product_no) ON DELETE CASCADE,
    CHECK ((item_no IS NULL) <> (package_no IS NULL))
);

CREATE TABLE vym_special_offer (
    special_offer_no INTEGER PRIMARY KEY,
    special_offer_code varchar(50) COLLATE NOCASE NOT NULL UNIQUE,
    description varchar(50),
    is_active bit NOT NULL DEFAULT 1,
    start_date datetime,
    end_date datetime,
    vym_user varchar(20) COLLATE NOCASE,
    update_date datetime
);

CREATE TABLE vym_special_offer_detail (
    special_offer_no int NOT NULL
        REFERENCES vym_special_offer (special_offer_no) ON DELETE CASCADE,
    seq_no int NOT NULL,
    exclude bit NOT NULL DEFAULT 0,
    percentage_discount float,
    fixed_discount money,
    min_amount money,
    location_id varchar(10) COLLATE NOCASE REFERENCES vym_location (location_id),
    item_type varchar(10) COLLATE NOCASE,
    store_no int REFERENCES vym_store (store_no),
    product_group_no int,
    product_no int,
    product_item_seq_no int,
    item_no int REFERENCES vym_item (item_no) ON DELETE CASCADE,
    package_no int REFERENCES vym_package (package_no) ON DELETE CASCADE,
    price_no int REFERENCES vym_price (price_no) ON DELETE SET NULL,
    vym_user varchar(20) COLLATE NOCASE,
    update_date datetime,
    PRIMARY KEY (special_offer_no, seq_no),
    CHECK (percentage_discount IS NULL OR fixed_discount IS NULL)
);

CREATE TABLE vym_special_offer_detail_package (
    special_offer_no int NOT NULL,
    seq_no int NOT NULL,
    item_no int NOT NULL REFERENCES vym_item (item_no) ON DELETE CASCADE,
    fixed_discount money NOT NULL,
    PRIMARY KEY (special_offer_no, seq_no, item_no),
    FOREIGN KEY (special_offer_no, seq_no)
        REFERENCES vym_special_offer_detail (special_offer_no, seq_no) ON DELETE CASCADE
);
