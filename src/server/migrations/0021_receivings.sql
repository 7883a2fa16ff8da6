-- Goods received against a purchase order, line by line: the label screen
-- prints a label for every unit of a receiving.
CREATE TABLE vym_receiving (
    receiving_no INTEGER PRIMARY KEY,
    po_no int,
    date_received datetime NOT NULL,
    location_id varchar(10) COLLATE NOCASE REFERENCES vym_location (location_id),
    vendor_id varchar(15) COLLATE NOCASE REFERENCES vym_vendor (vendor_id),
    received_by varchar(20) COLLATE NOCASE
);

CREATE TABLE vym_receiving_line (
    receiving_no int NOT NULL REFERENCES vym_receiving (receiving_no) ON DELETE CASCADE,
    line_no int NOT NULL,
    item_no int NOT NULL REFERENCES vym_item (item_no),
    qty_received int NOT NULL CHECK (qty_received >= 0),
    PRIMARY KEY (receiving_no, line_no)
);
