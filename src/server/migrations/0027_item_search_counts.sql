-- A search of a description too short for the trigram index that matches
-- many items walks the items in the console's order until it has the first
-- rows; when they sit late in that order (a text of one category) the walk
-- reads most of the catalogue. With the description in the function index
-- the walk tries each description there and reads an item row only for a
-- match. The item number stands before it to keep the order. PostgreSQL
-- plans that walk its own way (its index is made in 0026).
-- begin sqlite
DROP INDEX vym_item_function;
CREATE INDEX vym_item_function ON vym_item (function_id, catagory_id, item_no, long_description);
-- end sqlite

-- How many items each tab of one item type finds, by function and status:
-- a tab searches the rows of its type's own table (the item's type does not
-- decide which tables hold a row of it), and counting such a search joins
-- every one of those rows to its item. Kept by triggers on both sides of
-- the join, so that every write counts, whoever makes it: a row of a type's
-- table counts while its item exists; an item's function or status moves
-- the counts of the tables holding it.
CREATE TABLE vym_item_tab_count (
    tab varchar(30) NOT NULL,
    function_id varchar(10) COLLATE NOCASE NOT NULL,
    status_id varchar(10) COLLATE NOCASE NOT NULL,
    items int NOT NULL DEFAULT 0,
    PRIMARY KEY (tab, function_id, status_id)
);
-- The rows of the item types' own tables, each named by its table.
CREATE VIEW vym_item_tab AS
    SELECT 'vym_item_ticket' AS tab, item_no FROM vym_item_ticket
    UNION ALL SELECT 'vym_item_ss', item_no FROM vym_item_ss
    UNION ALL SELECT 'vym_item_photo', item_no FROM vym_item_photo
    UNION ALL SELECT 'vym_item_ship', item_no FROM vym_item_ship
    UNION ALL SELECT 'vym_item_rental', item_no FROM vym_item_rental
    UNION ALL SELECT 'vym_item_stock', item_no FROM vym_item_stock;
-- An item without a function is counted under '' (no search asks for it).
INSERT INTO vym_item_tab_count (tab, function_id, status_id, items)
SELECT t.tab, COALESCE(i.function_id, ''), i.status_id, count(*)
FROM vym_item_tab t JOIN vym_item i ON i.item_no = t.item_no
WHERE 1 = 1
GROUP BY t.tab, COALESCE(i.function_id, ''), i.status_id
ON CONFLICT (tab, function_id, status_id)
DO UPDATE SET items = vym_item_tab_count.items + excluded.items;
-- And by the texts of one or two characters in their descriptions (as
-- vym_item_gram_count counts them among all items).
CREATE TABLE vym_item_tab_gram_count (
    tab varchar(30) NOT NULL,
    gram varchar(2) NOT NULL,
    status_id varchar(10) COLLATE NOCASE NOT NULL,
    items int NOT NULL DEFAULT 0,
    PRIMARY KEY (tab, gram, status_id)
);

-- begin sqlite
-- Each text counted where it first stands in a description, row by row: a
-- grouping would sort every text of every item in memory first.
INSERT INTO vym_item_tab_gram_count (tab, gram, status_id, items)
SELECT t.tab, lower(substr(i.long_description, p.n, 1)), i.status_id, 1
FROM vym_item_tab t JOIN vym_item i ON i.item_no = t.item_no
JOIN vym_position p ON p.n <= length(i.long_description)
WHERE instr(lower(i.long_description), lower(substr(i.long_description, p.n, 1))) = p.n
UNION ALL
SELECT t.tab, lower(substr(i.long_description, p.n, 2)), i.status_id, 1
FROM vym_item_tab t JOIN vym_item i ON i.item_no = t.item_no
JOIN vym_position p ON p.n < length(i.long_description)
WHERE instr(lower(i.long_description), lower(substr(i.long_description, p.n, 2))) = p.n
ON CONFLICT (tab, gram, status_id) DO UPDATE SET items = items + 1;

-- A row of a type's table entering (delta 1) or leaving (-1) the counts,
-- under its item's function, status and description; nothing when the
-- item is gone (deleting an item took its rows out of the counts before).
CREATE VIEW vym_item_tab_change AS SELECT '' AS tab, item_no, 0 AS delta FROM vym_item WHERE 0;
CREATE TRIGGER vym_item_tab_change_insert INSTEAD OF INSERT ON vym_item_tab_change BEGIN
    INSERT INTO vym_item_tab_count (tab, function_id, status_id, items)
    SELECT new.tab, COALESCE(i.function_id, ''), i.status_id, new.delta
    FROM vym_item i WHERE i.item_no = new.item_no
    ON CONFLICT (tab, function_id, status_id)
    DO UPDATE SET items = vym_item_tab_count.items + excluded.items;
    INSERT INTO vym_item_tab_gram_count (tab, gram, status_id, items)
    SELECT new.tab, lower(substr(i.long_description, p.n, 1)), i.status_id, new.delta
    FROM vym_item i JOIN vym_position p ON p.n <= length(i.long_description)
    WHERE i.item_no = new.item_no
    UNION
    SELECT new.tab, lower(substr(i.long_description, p.n, 2)), i.status_id, new.delta
    FROM vym_item i JOIN vym_position p ON p.n < length(i.long_description)
    WHERE i.item_no = new.item_no
    ON CONFLICT (tab, gram, status_id)
    DO UPDATE SET items = vym_item_tab_gram_count.items + excluded.items;
END;
CREATE TRIGGER vym_item_ticket_tab_insert AFTER INSERT ON vym_item_ticket BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_ticket', new.item_no, 1);
END;
CREATE TRIGGER vym_item_ticket_tab_delete AFTER DELETE ON vym_item_ticket BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_ticket', old.item_no, -1);
END;
CREATE TRIGGER vym_item_ticket_tab_update AFTER UPDATE OF item_no ON vym_item_ticket BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_ticket', old.item_no, -1);
    INSERT INTO vym_item_tab_change VALUES ('vym_item_ticket', new.item_no, 1);
END;
CREATE TRIGGER vym_item_ss_tab_insert AFTER INSERT ON vym_item_ss BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_ss', new.item_no, 1);
END;
CREATE TRIGGER vym_item_ss_tab_delete AFTER DELETE ON vym_item_ss BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_ss', old.item_no, -1);
END;
CREATE TRIGGER vym_item_ss_tab_update AFTER UPDATE OF item_no ON vym_item_ss BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_ss', old.item_no, -1);
    INSERT INTO vym_item_tab_change VALUES ('vym_item_ss', new.item_no, 1);
END;
CREATE TRIGGER vym_item_photo_tab_insert AFTER INSERT ON vym_item_photo BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_photo', new.item_no, 1);
END;
CREATE TRIGGER vym_item_photo_tab_delete AFTER DELETE ON vym_item_photo BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_photo', old.item_no, -1);
END;
CREATE TRIGGER vym_item_photo_tab_update AFTER UPDATE OF item_no ON vym_item_photo BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_photo', old.item_no, -1);
    INSERT INTO vym_item_tab_change VALUES ('vym_item_photo', new.item_no, 1);
END;
CREATE TRIGGER vym_item_ship_tab_insert AFTER INSERT ON vym_item_ship BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_ship', new.item_no, 1);
END;
CREATE TRIGGER vym_item_ship_tab_delete AFTER DELETE ON vym_item_ship BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_ship', old.item_no, -1);
END;
CREATE TRIGGER vym_item_ship_tab_update AFTER UPDATE OF item_no ON vym_item_ship BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_ship', old.item_no, -1);
    INSERT INTO vym_item_tab_change VALUES ('vym_item_ship', new.item_no, 1);
END;
CREATE TRIGGER vym_item_rental_tab_insert AFTER INSERT ON vym_item_rental BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_rental', new.item_no, 1);
END;
CREATE TRIGGER vym_item_rental_tab_delete AFTER DELETE ON vym_item_rental BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_rental', old.item_no, -1);
END;
CREATE TRIGGER vym_item_rental_tab_update AFTER UPDATE OF item_no ON vym_item_rental BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_rental', old.item_no, -1);
    INSERT INTO vym_item_tab_change VALUES ('vym_item_rental', new.item_no, 1);
END;
CREATE TRIGGER vym_item_stock_tab_insert AFTER INSERT ON vym_item_stock BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_stock', new.item_no, 1);
END;
CREATE TRIGGER vym_item_stock_tab_delete AFTER DELETE ON vym_item_stock BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_stock', old.item_no, -1);
END;
CREATE TRIGGER vym_item_stock_tab_update AFTER UPDATE OF item_no ON vym_item_stock BEGIN
    INSERT INTO vym_item_tab_change VALUES ('vym_item_stock', old.item_no, -1);
    INSERT INTO vym_item_tab_change VALUES ('vym_item_stock', new.item_no, 1);
END;
-- An item leaves the counts of its tables while it still holds its rows
-- (a delete takes them with it), and a save that changes its function,
-- status or description leaves them before and enters them again after.
CREATE TRIGGER vym_item_tabs_insert AFTER INSERT ON vym_item BEGIN
    INSERT INTO vym_item_tab_change SELECT tab, item_no, 1 FROM vym_item_tab
    WHERE item_no = new.item_no;
END;
CREATE TRIGGER vym_item_tabs_delete BEFORE DELETE ON vym_item BEGIN
    INSERT INTO vym_item_tab_change SELECT tab, item_no, -1 FROM vym_item_tab
    WHERE item_no = old.item_no;
END;
CREATE TRIGGER vym_item_tabs_leave
BEFORE UPDATE OF function_id, status_id, long_description, item_no ON vym_item
WHEN old.function_id IS NOT new.function_id OR old.status_id IS NOT new.status_id
    OR old.long_description IS NOT new.long_description OR old.item_no <> new.item_no
BEGIN
    INSERT INTO vym_item_tab_change SELECT tab, item_no, -1 FROM vym_item_tab
    WHERE item_no = old.item_no;
END;
CREATE TRIGGER vym_item_tabs_enter
AFTER UPDATE OF function_id, status_id, long_description, item_no ON vym_item
WHEN old.function_id IS NOT new.function_id OR old.status_id IS NOT new.status_id
    OR old.long_description IS NOT new.long_description OR old.item_no <> new.item_no
BEGIN
    INSERT INTO vym_item_tab_change SELECT tab, item_no, 1 FROM vym_item_tab
    WHERE item_no = new.item_no;
END;
-- end sqlite
-- begin postgresql
INSERT INTO vym_item_tab_gram_count (tab, gram, status_id, items)
SELECT tab, gram, status_id, count(*) FROM (
    SELECT t.tab, i.item_no, i.status_id, lower(substr(i.long_description, p.n, 1)) AS gram
    FROM vym_item_tab t JOIN vym_item i ON i.item_no = t.item_no
    JOIN vym_position p ON p.n <= length(i.long_description)
    UNION
    SELECT t.tab, i.item_no, i.status_id, lower(substr(i.long_description, p.n, 2))
    FROM vym_item_tab t JOIN vym_item i ON i.item_no = t.item_no
    JOIN vym_position p ON p.n < length(i.long_description)
) grams GROUP BY tab, gram, status_id;
CREATE FUNCTION vym_item_tab_add(tab_name text, item bigint, delta int) RETURNS void
LANGUAGE sql AS $$
    INSERT INTO vym_item_tab_count (tab, function_id, status_id, items)
    SELECT tab_name, COALESCE(i.function_id, ''), i.status_id, delta
    FROM vym_item i WHERE i.item_no = item
    ON CONFLICT (tab, function_id, status_id)
    DO UPDATE SET items = vym_item_tab_count.items + excluded.items;
    INSERT INTO vym_item_tab_gram_count (tab, gram, status_id, items)
    SELECT tab_name, g.gram, i.status_id, delta FROM vym_item i CROSS JOIN LATERAL (
        SELECT lower(substr(i.long_description, p.n, 1)) AS gram FROM vym_position p
        WHERE p.n <= length(i.long_description)
        UNION
        SELECT lower(substr(i.long_description, p.n, 2)) FROM vym_position p
        WHERE p.n < length(i.long_description)) g
    WHERE i.item_no = item
    ON CONFLICT (tab, gram, status_id)
    DO UPDATE SET items = vym_item_tab_gram_count.items + excluded.items
$$;
CREATE FUNCTION vym_item_tab_row_count() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    IF TG_OP <> 'INSERT' THEN
        PERFORM vym_item_tab_add(TG_TABLE_NAME::text, OLD.item_no, -1);
    END IF;
    IF TG_OP <> 'DELETE' THEN
        PERFORM vym_item_tab_add(TG_TABLE_NAME::text, NEW.item_no, 1);
    END IF;
    RETURN NULL;
END $$;
CREATE TRIGGER vym_item_ticket_tab AFTER INSERT OR DELETE OR UPDATE OF item_no ON vym_item_ticket
    FOR EACH ROW EXECUTE FUNCTION vym_item_tab_row_count();
CREATE TRIGGER vym_item_ss_tab AFTER INSERT OR DELETE OR UPDATE OF item_no ON vym_item_ss
    FOR EACH ROW EXECUTE FUNCTION vym_item_tab_row_count();
CREATE TRIGGER vym_item_photo_tab AFTER INSERT OR DELETE OR UPDATE OF item_no ON vym_item_photo
    FOR EACH ROW EXECUTE FUNCTION vym_item_tab_row_count();
CREATE TRIGGER vym_item_ship_tab AFTER INSERT OR DELETE OR UPDATE OF item_no ON vym_item_ship
    FOR EACH ROW EXECUTE FUNCTION vym_item_tab_row_count();
CREATE TRIGGER vym_item_rental_tab AFTER INSERT OR DELETE OR UPDATE OF item_no ON vym_item_rental
    FOR EACH ROW EXECUTE FUNCTION vym_item_tab_row_count();
CREATE TRIGGER vym_item_stock_tab AFTER INSERT OR DELETE OR UPDATE OF item_no ON vym_item_stock
    FOR EACH ROW EXECUTE FUNCTION vym_item_tab_row_count();
CREATE FUNCTION vym_item_tabs_count() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    IF TG_WHEN = 'BEFORE' THEN
        PERFORM vym_item_tab_add(t.tab, OLD.item_no, -1) FROM vym_item_tab t
        WHERE t.item_no = OLD.item_no;
        IF TG_OP = 'DELETE' THEN
            RETURN OLD;
        END IF;
        RETURN NEW;
    END IF;
    PERFORM vym_item_tab_add(t.tab, NEW.item_no, 1) FROM vym_item_tab t
    WHERE t.item_no = NEW.item_no;
    RETURN NULL;
END $$;
CREATE TRIGGER vym_item_tabs_insert AFTER INSERT ON vym_item
    FOR EACH ROW EXECUTE FUNCTION vym_item_tabs_count();
CREATE TRIGGER vym_item_tabs_delete BEFORE DELETE ON vym_item
    FOR EACH ROW EXECUTE FUNCTION vym_item_tabs_count();
CREATE TRIGGER vym_item_tabs_leave BEFORE
    UPDATE OF function_id, status_id, long_description, item_no ON vym_item
    FOR EACH ROW WHEN (OLD.function_id IS DISTINCT FROM NEW.function_id
                       OR OLD.status_id IS DISTINCT FROM NEW.status_id
                       OR OLD.long_description IS DISTINCT FROM NEW.long_description
                       OR OLD.item_no <> NEW.item_no)
    EXECUTE FUNCTION vym_item_tabs_count();
CREATE TRIGGER vym_item_tabs_enter AFTER
    UPDATE OF function_id, status_id, long_description, item_no ON vym_item
    FOR EACH ROW WHEN (OLD.function_id IS DISTINCT FROM NEW.function_id
                       OR OLD.status_id IS DISTINCT FROM NEW.status_id
                       OR OLD.long_description IS DISTINCT FROM NEW.long_description
                       OR OLD.item_no <> NEW.item_no)
    EXECUTE FUNCTION vym_item_tabs_count();
-- end postgresql
