-- The items of the All tab are counted by function and status too, as each
-- typed tab's rows are (vym_item_tab_count, under the tab 'vym_item'): a
-- search of that tab by function, status, both or neither counts from here
-- instead of counting every matching item, which on PostgreSQL read half a
-- million index entries for the commonest function or status.
INSERT INTO vym_item_tab_count (tab, function_id, status_id, items)
SELECT 'vym_item', COALESCE(function_id, ''), status_id, count(*) FROM vym_item
WHERE 1 = 1
GROUP BY COALESCE(function_id, ''), status_id
ON CONFLICT (tab, function_id, status_id)
DO UPDATE SET items = vym_item_tab_count.items + excluded.items;

-- begin sqlite
CREATE TRIGGER vym_item_all_tab_insert AFTER INSERT ON vym_item BEGIN
    INSERT INTO vym_item_tab_count (tab, function_id, status_id, items)
    VALUES ('vym_item', COALESCE(new.function_id, ''), new.status_id, 1)
    ON CONFLICT (tab, function_id, status_id) DO UPDATE SET items = items + 1;
END;
CREATE TRIGGER vym_item_all_tab_delete AFTER DELETE ON vym_item BEGIN
    UPDATE vym_item_tab_count SET items = items - 1
    WHERE tab = 'vym_item' AND function_id = COALESCE(old.function_id, '')
      AND status_id = old.status_id;
END;
CREATE TRIGGER vym_item_all_tab_update AFTER UPDATE OF function_id, status_id ON vym_item
WHEN old.function_id IS NOT new.function_id OR old.status_id IS NOT new.status_id
BEGIN
    UPDATE vym_item_tab_count SET items = items - 1
    WHERE tab = 'vym_item' AND function_id = COALESCE(old.function_id, '')
      AND status_id = old.status_id;
    INSERT INTO vym_item_tab_count (tab, function_id, status_id, items)
    VALUES ('vym_item', COALESCE(new.function_id, ''), new.status_id, 1)
    ON CONFLICT (tab, function_id, status_id) DO UPDATE SET items = items + 1;
END;
-- end sqlite

-- The stock tab's items by location, by manufacturer and by department: a
-- stock item counts under each location holding a row of it, under its
-- manufacturer as written and under its item's department. A search by one
-- of them counts from here instead of joining every matching row (a location
-- stocking a fifth of the catalogue took a quarter of a second on
-- PostgreSQL, a department a third); a manufacturer's pattern is matched
-- against the manufacturers here, as against the stock rows.
CREATE TABLE vym_item_stock_location_count (
    location_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    items int NOT NULL DEFAULT 0
);
CREATE TABLE vym_item_stock_manufacturer_count (
    manufacturer varchar(30) NOT NULL PRIMARY KEY,
    items int NOT NULL DEFAULT 0
);
CREATE TABLE vym_item_stock_department_count (
    department_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    items int NOT NULL DEFAULT 0
);
INSERT INTO vym_item_stock_location_count (location_id, items)
SELECT l.location_id, count(*)
FROM vym_item_stock_location l JOIN vym_item_stock s ON s.item_no = l.item_no
GROUP BY l.location_id;
INSERT INTO vym_item_stock_manufacturer_count (manufacturer, items)
SELECT manufacturer, count(*) FROM vym_item_stock WHERE manufacturer IS NOT NULL
GROUP BY manufacturer;
INSERT INTO vym_item_stock_department_count (department_id, items)
SELECT i.department_id, count(*) FROM vym_item_stock s JOIN vym_item i ON i.item_no = s.item_no
WHERE i.department_id IS NOT NULL
GROUP BY i.department_id;

-- An item's delete takes its stock row and its location rows, in either
-- order: whichever goes second finds the other gone and counts nothing. The
-- item takes its stock row out of its department before it goes; the stock
-- row's own delete then finds no item and counts nothing.
-- begin sqlite
CREATE VIEW vym_item_stock_change AS
    SELECT item_no, manufacturer, 0 AS delta FROM vym_item_stock WHERE 0;
CREATE TRIGGER vym_item_stock_change_insert INSTEAD OF INSERT ON vym_item_stock_change BEGIN
    INSERT INTO vym_item_stock_location_count (location_id, items)
    SELECT location_id, new.delta FROM vym_item_stock_location WHERE item_no = new.item_no
    ON CONFLICT (location_id) DO UPDATE SET items = items + excluded.items;
    INSERT INTO vym_item_stock_manufacturer_count (manufacturer, items)
    SELECT new.manufacturer, new.delta WHERE new.manufacturer IS NOT NULL
    ON CONFLICT (manufacturer) DO UPDATE SET items = items + excluded.items;
    INSERT INTO vym_item_stock_department_count (department_id, items)
    SELECT department_id, new.delta FROM vym_item
    WHERE item_no = new.item_no AND department_id IS NOT NULL
    ON CONFLICT (department_id) DO UPDATE SET items = items + excluded.items;
END;
CREATE TRIGGER vym_item_stock_department_leave BEFORE DELETE ON vym_item
WHEN old.department_id IS NOT NULL
    AND EXISTS (SELECT 1 FROM vym_item_stock WHERE item_no = old.item_no)
BEGIN
    UPDATE vym_item_stock_department_count SET items = items - 1
    WHERE department_id = old.department_id;
END;
CREATE TRIGGER vym_item_stock_department_move AFTER UPDATE OF department_id ON vym_item
WHEN old.department_id IS NOT new.department_id
    AND EXISTS (SELECT 1 FROM vym_item_stock WHERE item_no = new.item_no)
BEGIN
    UPDATE vym_item_stock_department_count SET items = items - 1
    WHERE department_id = old.department_id;
    INSERT INTO vym_item_stock_department_count (department_id, items)
    SELECT new.department_id, 1 WHERE new.department_id IS NOT NULL
    ON CONFLICT (department_id) DO UPDATE SET items = items + 1;
END;
CREATE TRIGGER vym_item_stock_counts_insert AFTER INSERT ON vym_item_stock BEGIN
    INSERT INTO vym_item_stock_change VALUES (new.item_no, new.manufacturer, 1);
END;
CREATE TRIGGER vym_item_stock_counts_delete AFTER DELETE ON vym_item_stock BEGIN
    INSERT INTO vym_item_stock_change VALUES (old.item_no, old.manufacturer, -1);
END;
CREATE TRIGGER vym_item_stock_counts_update AFTER UPDATE OF item_no, manufacturer ON vym_item_stock
WHEN old.item_no <> new.item_no OR old.manufacturer IS NOT new.manufacturer
BEGIN
    INSERT INTO vym_item_stock_change VALUES (old.item_no, old.manufacturer, -1);
    INSERT INTO vym_item_stock_change VALUES (new.item_no, new.manufacturer, 1);
END;
CREATE TRIGGER vym_item_stock_location_counts_insert AFTER INSERT ON vym_item_stock_location
WHEN EXISTS (SELECT 1 FROM vym_item_stock WHERE item_no = new.item_no)
BEGIN
    INSERT INTO vym_item_stock_location_count (location_id, items) VALUES (new.location_id, 1)
    ON CONFLICT (location_id) DO UPDATE SET items = items + 1;
END;
CREATE TRIGGER vym_item_stock_location_counts_delete AFTER DELETE ON vym_item_stock_location
WHEN EXISTS (SELECT 1 FROM vym_item_stock WHERE item_no = old.item_no)
BEGIN
    UPDATE vym_item_stock_location_count SET items = items - 1 WHERE location_id = old.location_id;
END;
CREATE TRIGGER vym_item_stock_location_counts_update
AFTER UPDATE OF item_no, location_id ON vym_item_stock_location
WHEN old.item_no <> new.item_no OR old.location_id IS NOT new.location_id
BEGIN
    UPDATE vym_item_stock_location_count SET items = items - 1
    WHERE location_id = old.location_id
      AND EXISTS (SELECT 1 FROM vym_item_stock WHERE item_no = old.item_no);
    INSERT INTO vym_item_stock_location_count (location_id, items)
    SELECT new.location_id, 1 WHERE EXISTS (SELECT 1 FROM vym_item_stock WHERE item_no = new.item_no)
    ON CONFLICT (location_id) DO UPDATE SET items = items + 1;
END;
-- end sqlite
-- begin postgresql
-- As the item counts (0029): the triggers note what entered or left the
-- counts, and the notes of a transaction are folded in as it commits.
CREATE UNLOGGED TABLE vym_item_stock_count_note (
    txid bigint NOT NULL,
    location_id varchar(10) COLLATE NOCASE,
    manufacturer varchar(30),
    department_id varchar(10) COLLATE NOCASE,
    delta int NOT NULL
);
CREATE INDEX vym_item_stock_count_note_txid ON vym_item_stock_count_note (txid);
-- A stock item's locations, manufacturer and department entering (delta 1)
-- or leaving (-1) the counts; no department once its item is gone.
CREATE FUNCTION vym_item_stock_noted(item bigint, maker text, delta int) RETURNS void
LANGUAGE plpgsql AS $$
DECLARE
    tx bigint := txid_current();
BEGIN
    INSERT INTO vym_item_stock_count_note (txid, location_id, manufacturer, department_id, delta)
    SELECT tx, location_id, NULL, NULL, delta FROM vym_item_stock_location WHERE item_no = item
    UNION ALL SELECT tx, NULL, maker, NULL, delta WHERE maker IS NOT NULL
    UNION ALL SELECT tx, NULL, NULL, department_id, delta FROM vym_item
    WHERE item_no = item AND department_id IS NOT NULL;
    INSERT INTO vym_item_count_fold (txid) VALUES (tx) ON CONFLICT (txid) DO NOTHING;
END $$;
-- A row leaves the counts before it is deleted: the deletes an item's delete
-- makes of its stock and location rows run one after the other, but the
-- triggers after them would all run once both were done, each finding the
-- other's rows gone. Returns the row so that a delete goes ahead.
CREATE FUNCTION vym_item_stock_counts() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    IF TG_OP <> 'INSERT' THEN
        PERFORM vym_item_stock_noted(OLD.item_no, OLD.manufacturer, -1);
    END IF;
    IF TG_OP <> 'DELETE' THEN
        PERFORM vym_item_stock_noted(NEW.item_no, NEW.manufacturer, 1);
    END IF;
    RETURN OLD;
END $$;
CREATE TRIGGER vym_item_stock_counts AFTER INSERT ON vym_item_stock
    FOR EACH ROW EXECUTE FUNCTION vym_item_stock_counts();
CREATE TRIGGER vym_item_stock_counts_delete BEFORE DELETE ON vym_item_stock
    FOR EACH ROW EXECUTE FUNCTION vym_item_stock_counts();
CREATE TRIGGER vym_item_stock_counts_update AFTER UPDATE OF item_no, manufacturer ON vym_item_stock
    FOR EACH ROW WHEN (OLD.item_no <> NEW.item_no
                       OR OLD.manufacturer IS DISTINCT FROM NEW.manufacturer)
    EXECUTE FUNCTION vym_item_stock_counts();
CREATE FUNCTION vym_item_stock_location_counts() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
    tx bigint := txid_current();
BEGIN
    IF TG_OP <> 'INSERT' THEN
        INSERT INTO vym_item_stock_count_note (txid, location_id, delta)
        SELECT tx, OLD.location_id, -1 FROM vym_item_stock WHERE item_no = OLD.item_no;
    END IF;
    IF TG_OP <> 'DELETE' THEN
        INSERT INTO vym_item_stock_count_note (txid, location_id, delta)
        SELECT tx, NEW.location_id, 1 FROM vym_item_stock WHERE item_no = NEW.item_no;
    END IF;
    INSERT INTO vym_item_count_fold (txid) VALUES (tx) ON CONFLICT (txid) DO NOTHING;
    RETURN OLD;
END $$;
CREATE TRIGGER vym_item_stock_location_counts AFTER INSERT ON vym_item_stock_location
    FOR EACH ROW EXECUTE FUNCTION vym_item_stock_location_counts();
CREATE TRIGGER vym_item_stock_location_counts_delete BEFORE DELETE ON vym_item_stock_location
    FOR EACH ROW EXECUTE FUNCTION vym_item_stock_location_counts();
CREATE TRIGGER vym_item_stock_location_counts_update
    AFTER UPDATE OF item_no, location_id ON vym_item_stock_location
    FOR EACH ROW WHEN (OLD.item_no <> NEW.item_no OR OLD.location_id <> NEW.location_id)
    EXECUTE FUNCTION vym_item_stock_location_counts();
-- A stock item's department moves with its item's, and leaves before the
-- item is deleted.
CREATE FUNCTION vym_item_stock_department_counts() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
    tx bigint := txid_current();
BEGIN
    IF NOT EXISTS (SELECT 1 FROM vym_item_stock WHERE item_no = OLD.item_no) THEN
        RETURN OLD;
    END IF;
    INSERT INTO vym_item_stock_count_note (txid, department_id, delta)
    SELECT tx, OLD.department_id, -1 WHERE OLD.department_id IS NOT NULL
    UNION ALL SELECT tx, NEW.department_id, 1 WHERE TG_OP = 'UPDATE' AND NEW.department_id IS NOT NULL;
    INSERT INTO vym_item_count_fold (txid) VALUES (tx) ON CONFLICT (txid) DO NOTHING;
    RETURN OLD;
END $$;
CREATE TRIGGER vym_item_stock_department_leave BEFORE DELETE ON vym_item
    FOR EACH ROW EXECUTE FUNCTION vym_item_stock_department_counts();
CREATE TRIGGER vym_item_stock_department_move AFTER UPDATE OF department_id ON vym_item
    FOR EACH ROW WHEN (OLD.department_id IS DISTINCT FROM NEW.department_id)
    EXECUTE FUNCTION vym_item_stock_department_counts();
-- The fold counts the notes of every write of an item among all items
-- ('grams', with its function and status) under the tab 'vym_item' too,
-- and folds the notes of the stock counts.
CREATE OR REPLACE FUNCTION vym_item_counts_fold() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    -- Gone when an earlier firing of this transaction folded it.
    DELETE FROM vym_item_count_fold WHERE txid = NEW.txid;
    IF NOT FOUND THEN
        RETURN NULL;
    END IF;
    INSERT INTO vym_item_gram_count (gram, status_id, function_id, catagory_id, items)
    SELECT g.gram, g.status_id, g.function_id, g.catagory_id, sum(g.delta)
    FROM vym_item_note_grams(NEW.txid) g WHERE g.counts = 'grams'
    GROUP BY g.gram, g.status_id, g.function_id, g.catagory_id HAVING sum(g.delta) <> 0
    ORDER BY g.gram, g.status_id, g.function_id, g.catagory_id
    ON CONFLICT (gram, status_id, function_id, catagory_id)
    DO UPDATE SET items = vym_item_gram_count.items + excluded.items;
    INSERT INTO vym_item_word_count (word, status_id, items)
    SELECT w.word, w.status_id, sum(w.delta) FROM vym_item_note_words(NEW.txid) w
    WHERE w.counts = 'words'
    GROUP BY w.word, w.status_id HAVING sum(w.delta) <> 0 ORDER BY w.word, w.status_id
    ON CONFLICT (word, status_id) DO UPDATE SET items = vym_item_word_count.items + excluded.items;
    INSERT INTO vym_item_tab_count (tab, function_id, status_id, items)
    SELECT t.tab, n.function_id, n.status_id, sum(n.delta)
    FROM vym_item_count_note n
    CROSS JOIN LATERAL (SELECT CASE n.counts WHEN 'grams' THEN 'vym_item' ELSE n.counts END) t (tab)
    WHERE n.txid = NEW.txid AND n.counts <> 'words'
    GROUP BY t.tab, n.function_id, n.status_id HAVING sum(n.delta) <> 0
    ORDER BY t.tab, n.function_id, n.status_id
    ON CONFLICT (tab, function_id, status_id)
    DO UPDATE SET items = vym_item_tab_count.items + excluded.items;
    INSERT INTO vym_item_tab_gram_count (tab, gram, status_id, items)
    SELECT g.counts, g.gram, g.status_id, sum(g.delta) FROM vym_item_note_grams(NEW.txid) g
    WHERE g.counts NOT IN ('grams', 'words')
    GROUP BY g.counts, g.gram, g.status_id HAVING sum(g.delta) <> 0
    ORDER BY g.counts, g.gram, g.status_id
    ON CONFLICT (tab, gram, status_id)
    DO UPDATE SET items = vym_item_tab_gram_count.items + excluded.items;
    INSERT INTO vym_item_tab_word_count (tab, word, status_id, items)
    SELECT w.counts, w.word, w.status_id, sum(w.delta) FROM vym_item_note_words(NEW.txid) w
    WHERE w.counts NOT IN ('grams', 'words')
    GROUP BY w.counts, w.word, w.status_id HAVING sum(w.delta) <> 0
    ORDER BY w.counts, w.word, w.status_id
    ON CONFLICT (tab, word, status_id)
    DO UPDATE SET items = vym_item_tab_word_count.items + excluded.items;
    INSERT INTO vym_item_stock_location_count (location_id, items)
    SELECT n.location_id, sum(n.delta) FROM vym_item_stock_count_note n
    WHERE n.txid = NEW.txid AND n.location_id IS NOT NULL
    GROUP BY n.location_id HAVING sum(n.delta) <> 0 ORDER BY n.location_id
    ON CONFLICT (location_id)
    DO UPDATE SET items = vym_item_stock_location_count.items + excluded.items;
    INSERT INTO vym_item_stock_manufacturer_count (manufacturer, items)
    SELECT n.manufacturer, sum(n.delta) FROM vym_item_stock_count_note n
    WHERE n.txid = NEW.txid AND n.manufacturer IS NOT NULL
    GROUP BY n.manufacturer HAVING sum(n.delta) <> 0 ORDER BY n.manufacturer
    ON CONFLICT (manufacturer)
    DO UPDATE SET items = vym_item_stock_manufacturer_count.items + excluded.items;
    INSERT INTO vym_item_stock_department_count (department_id, items)
    SELECT n.department_id, sum(n.delta) FROM vym_item_stock_count_note n
    WHERE n.txid = NEW.txid AND n.department_id IS NOT NULL
    GROUP BY n.department_id HAVING sum(n.delta) <> 0 ORDER BY n.department_id
    ON CONFLICT (department_id)
    DO UPDATE SET items = vym_item_stock_department_count.items + excluded.items;
    DELETE FROM vym_item_count_note WHERE txid = NEW.txid;
    DELETE FROM vym_item_stock_count_note WHERE txid = NEW.txid;
    RETURN NULL;
END $$;
-- end postgresql
