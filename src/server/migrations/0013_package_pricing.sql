-- Upgrade prices between rental packages: a customer who paid first for one
-- rental package item moves up to another for a fixed price. A pair is keyed
-- by the two items and goes with either of them.

CREATE TABLE vym_rental_upgrade_price (
    pay_first_package_item_no int NOT NULL REFERENCES vym_item (item_no) ON DELETE CASCADE,
    rental_package_item_no int NOT NULL REFERENCES vym_item (item_no) ON DELETE CASCADE,
    upgrade_price money NOT NULL DEFAULT 0,
    vym_user varchar(20) COLLATE NOCASE,
    update_date datetime,
    PRIMARY KEY (pay_first_package_item_no, rental_package_item_no),
    CHECK (pay_first_package_item_no <> rental_package_item_no)
);
CREATE INDEX vym_rental_upgrade_price_rental ON vym_rental_upgrade_price (rental_package_item_no);
