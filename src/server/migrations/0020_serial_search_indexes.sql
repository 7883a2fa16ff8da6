-- The units of one location in the console's order: a search by location
-- alone reads its first rows from here instead of sorting every unit there
-- (the location and status index orders them only within a status).
CREATE INDEX vym_item_stock_serial_by_location_item
    ON vym_item_stock_serial (location_id, item_no, serial_id);
