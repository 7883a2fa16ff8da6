-- The items of a status with their descriptions: a search of the status most
-- items have counts the matches of the few others from here alone, and a
-- count of short descriptions reads this instead of the item rows.
DROP INDEX vym_item_status;
CREATE INDEX vym_item_status_description ON vym_item (status_id, long_description);
