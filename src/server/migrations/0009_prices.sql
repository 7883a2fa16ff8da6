-- Prices of packages and the discounts prices are given under.
--
-- A price belongs to an item or to a package. The lines of a package price
-- (one price per package line, each for the line's item) point at the package
-- price they make up and go with it. The price key refers to the season by
-- its number (season_id, Null for any season) and to the discount by its id
-- (Null for the base price); both must exist.

CREATE TABLE vym_discount_type (
    discount_type_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_discount (
    discount_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    discount_type_id varchar(10) COLLATE NOCASE REFERENCES vym_discount_type (discount_type_id),
    description varchar(60),
    is_active bit NOT NULL DEFAULT 1
);

-- SQLite cannot relax NOT NULL on item_no in place: the table is rebuilt.
CREATE TABLE vym_price_new (
    price_no INTEGER PRIMARY KEY,
    item_no int,
    package_no int REFERENCES vym_package (package_no),
    package_price_no int REFERENCES vym_price_new (price_no) ON DELETE CASCADE,
    child_item_no int REFERENCES vym_item (item_no) ON DELETE CASCADE,
    parent_unit_id varchar(10) COLLATE NOCASE,
    season_id int REFERENCES vym_season (season_no),
    discount_id varchar(10) COLLATE NOCASE REFERENCES vym_discount (discount_id),
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
    vym_user varchar(20) COLLATE NOCASE,
    CHECK (item_no IS NOT NULL OR package_no IS NOT NULL)
);
INSERT INTO vym_price_new (price_no, item_no, child_item_no, parent_unit_id, season_id,
    discount_id, unit_id, unit_qty, uom_id, location_id, sale_no, total_price, unit_price,
    gross_unit_price, line_discount, seller_pricing, acct_units, print_qty, access_rule_no,
    vym_user)
SELECT price_no, item_no, child_item_no, parent_unit_id, season_id, discount_id, unit_id,
    unit_qty, uom_id, location_id, sale_no, total_price, unit_price, gross_unit_price,
    line_discount, seller_pricing, acct_units, print_qty, access_rule_no, vym_user
FROM vym_price;
DROP TABLE vym_price;
ALTER TABLE vym_price_new RENAME TO vym_price;

CREATE INDEX vym_price_item ON vym_price (item_no, location_id, sale_no);
CREATE INDEX vym_price_child ON vym_price (child_item_no) WHERE child_item_no IS NOT NULL;
CREATE INDEX vym_price_package ON vym_price (package_no) WHERE package_no IS NOT NULL;
CREATE INDEX vym_price_package_price ON vym_price (package_price_no)
    WHERE package_price_no IS NOT NULL;
CREATE INDEX vym_price_season ON vym_price (season_id) WHERE season_id IS NOT NULL;
