-- Indexes for the item console's searches on a large catalogue. Searches
-- of active items count from the index alone when it holds the status too.
-- The stock ones end in the item number, the order stock results come in,
-- so that a search of many matches reads its first rows without a sort.
CREATE INDEX vym_item_function_status ON vym_item (function_id, status_id);
CREATE INDEX vym_item_department ON vym_item (department_id, status_id);
CREATE INDEX vym_item_stock_by_report_department
    ON vym_item_stock (report_department_id, item_no);
CREATE INDEX vym_item_stock_by_manufacturer
    ON vym_item_stock (manufacturer COLLATE NOCASE, item_no);
-- The items stocked at a location, by number, without reading the rows.
DROP INDEX vym_item_stock_location_by_location;
CREATE INDEX vym_item_stock_location_by_location
    ON vym_item_stock_location (location_id, item_no);
