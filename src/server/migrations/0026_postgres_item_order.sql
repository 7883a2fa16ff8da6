-- The console lists items by function, category and number. The embedded
-- store ends every index with the row id, the item number, so its function
-- index already hands rows out in that order; PostgreSQL orders equal keys
-- by where the rows lie, and would sort every match of a search of many
-- instead of walking the index to its first rows. The number goes into the
-- index there.
-- begin postgresql
DROP INDEX vym_item_function;
CREATE INDEX vym_item_function ON vym_item (function_id, catagory_id, item_no);
-- end postgresql
