-- The price overview lists every item price item by item, in the order the
-- prices were made: this index reads them in that order without sorting.

CREATE INDEX vym_price_overview ON vym_price (item_no, price_no);
