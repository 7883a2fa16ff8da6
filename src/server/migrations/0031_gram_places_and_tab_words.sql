-- The short texts of the descriptions are counted by function and category
-- too. A search of a short text that matches many items walks them in the
-- console's order, which leads with the function and the category; when the
-- matches stand late in that order (a text of one category) the walk read
-- most of the catalogue before its first rows. Knowing where the matches
-- stand, it starts at the first function and category holding any and skips
-- the functions holding none. A save touches as many count rows as before (a
-- description's texts, once each); moving an item to another function or
-- category now moves its texts too. No function or category counts as ''.
-- On PostgreSQL, each typed tab's items are counted by word too.
-- begin sqlite
DROP TRIGGER vym_item_grams_insert;
DROP TRIGGER vym_item_grams_delete;
DROP TRIGGER vym_item_grams_update;
DROP TRIGGER vym_item_gram_change_insert;
DROP VIEW vym_item_gram_change;
-- end sqlite
DROP TABLE vym_item_gram_count;
CREATE TABLE vym_item_gram_count (
    gram varchar(2) NOT NULL,
    status_id varchar(10) COLLATE NOCASE NOT NULL,
    function_id varchar(10) COLLATE NOCASE NOT NULL,
    catagory_id varchar(10) COLLATE NOCASE NOT NULL,
    items int NOT NULL DEFAULT 0,
    PRIMARY KEY (gram, status_id, function_id, catagory_id)
);

-- begin sqlite
-- Counted a range of items at a time: a grouping of every text of every
-- item at once would sort them all in memory. Each text counts where it
-- first stands in a description.
INSERT INTO vym_item_gram_count (gram, status_id, function_id, catagory_id, items)
SELECT json_extract(c.value, '$[0]'), json_extract(c.value, '$[1]'),
       json_extract(c.value, '$[2]'), json_extract(c.value, '$[3]'),
       json_extract(c.value, '$[4]')
FROM (WITH RECURSIVE r (low) AS (
          SELECT min(item_no) FROM vym_item
          UNION ALL SELECT low + 50000 FROM r WHERE low + 50000 <= (SELECT max(item_no) FROM vym_item))
      SELECT low FROM r) r,
     json_each((SELECT json_group_array(json_array(gram, status_id, function_id, catagory_id, items))
                FROM (SELECT g.gram, g.status_id, g.function_id, g.catagory_id, count(*) AS items
                      FROM (SELECT lower(substr(i.long_description, p.n, 1)) AS gram, i.status_id,
                                   COALESCE(i.function_id, '') AS function_id,
                                   COALESCE(i.catagory_id, '') AS catagory_id
                            FROM vym_item i JOIN vym_position p ON p.n <= length(i.long_description)
                            WHERE i.item_no >= r.low AND i.item_no < r.low + 50000
                              AND instr(lower(i.long_description),
                                        lower(substr(i.long_description, p.n, 1))) = p.n
                            UNION ALL
                            SELECT lower(substr(i.long_description, p.n, 2)), i.status_id,
                                   COALESCE(i.function_id, ''), COALESCE(i.catagory_id, '')
                            FROM vym_item i JOIN vym_position p ON p.n < length(i.long_description)
                            WHERE i.item_no >= r.low AND i.item_no < r.low + 50000
                              AND instr(lower(i.long_description),
                                        lower(substr(i.long_description, p.n, 2))) = p.n) g
                      GROUP BY g.gram, g.status_id, g.function_id, g.catagory_id))) c
WHERE 1 = 1
ON CONFLICT (gram, status_id, function_id, catagory_id) DO UPDATE SET items = items + excluded.items;

-- A description of a status, function and category entering (delta 1) or
-- leaving (-1) the counts.
CREATE VIEW vym_item_gram_change AS
    SELECT long_description, status_id, function_id, catagory_id, 0 AS delta FROM vym_item WHERE 0;
CREATE TRIGGER vym_item_gram_change_insert INSTEAD OF INSERT ON vym_item_gram_change BEGIN
    INSERT INTO vym_item_gram_count (gram, status_id, function_id, catagory_id, items)
    SELECT lower(substr(new.long_description, p.n, 1)), new.status_id,
           COALESCE(new.function_id, ''), COALESCE(new.catagory_id, ''), new.delta
    FROM vym_position p WHERE p.n <= length(new.long_description)
    UNION
    SELECT lower(substr(new.long_description, p.n, 2)), new.status_id,
           COALESCE(new.function_id, ''), COALESCE(new.catagory_id, ''), new.delta
    FROM vym_position p WHERE p.n < length(new.long_description)
    ON CONFLICT (gram, status_id, function_id, catagory_id)
    DO UPDATE SET items = items + excluded.items;
END;
CREATE TRIGGER vym_item_grams_insert AFTER INSERT ON vym_item BEGIN
    INSERT INTO vym_item_gram_change
    VALUES (new.long_description, new.status_id, new.function_id, new.catagory_id, 1);
END;
CREATE TRIGGER vym_item_grams_delete AFTER DELETE ON vym_item BEGIN
    INSERT INTO vym_item_gram_change
    VALUES (old.long_description, old.status_id, old.function_id, old.catagory_id, -1);
END;
-- A save rewrites every column: only a change of what the counts hold counts.
CREATE TRIGGER vym_item_grams_update
AFTER UPDATE OF long_description, status_id, function_id, catagory_id ON vym_item
WHEN old.long_description IS NOT new.long_description OR old.status_id IS NOT new.status_id
    OR old.function_id IS NOT new.function_id OR old.catagory_id IS NOT new.catagory_id
BEGIN
    INSERT INTO vym_item_gram_change
    VALUES (old.long_description, old.status_id, old.function_id, old.catagory_id, -1);
    INSERT INTO vym_item_gram_change
    VALUES (new.long_description, new.status_id, new.function_id, new.catagory_id, 1);
END;
-- end sqlite
-- begin postgresql
INSERT INTO vym_item_gram_count (gram, status_id, function_id, catagory_id, items)
SELECT g.gram, i.status_id, COALESCE(i.function_id, ''), COALESCE(i.catagory_id, ''), count(*)
FROM vym_item i CROSS JOIN LATERAL (
    SELECT lower(substr(i.long_description, p.n, 1)) FROM vym_position p
    WHERE p.n <= length(i.long_description)
    UNION
    SELECT lower(substr(i.long_description, p.n, 2)) FROM vym_position p
    WHERE p.n < length(i.long_description)) g (gram)
GROUP BY g.gram, i.status_id, COALESCE(i.function_id, ''), COALESCE(i.catagory_id, '');
-- end postgresql

-- Each typed tab's items by the words of their descriptions (as
-- vym_item_word_count counts them among all items): a tab's search of a
-- word counts from here instead of joining every match to the tab's table.
-- The embedded store fills and keeps it from 0032 on.
CREATE TABLE vym_item_tab_word_count (
    tab varchar(30) NOT NULL,
    word text NOT NULL,
    status_id varchar(10) COLLATE NOCASE NOT NULL,
    items int NOT NULL DEFAULT 0,
    PRIMARY KEY (tab, word, status_id)
);
-- begin postgresql
INSERT INTO vym_item_tab_word_count (tab, word, status_id, items)
SELECT t.tab, w.word, i.status_id, count(*)
FROM vym_item_tab t JOIN vym_item i ON i.item_no = t.item_no CROSS JOIN LATERAL (
    SELECT DISTINCT u FROM unnest(string_to_array(lower(i.long_description), ' ')) u
    WHERE u <> '') w (word)
GROUP BY t.tab, w.word, i.status_id;
CREATE INDEX vym_item_tab_word_count_trigram ON vym_item_tab_word_count
    USING gin (word gin_trgm_ops);

-- A note says where the item stood too.
ALTER TABLE vym_item_count_note ADD COLUMN catagory_id varchar(10) COLLATE NOCASE;
CREATE FUNCTION vym_item_count_noted(counts_name text, function_id text, catagory_id text,
                                     status_id text, description text, delta int) RETURNS void
LANGUAGE plpgsql AS $$
DECLARE
    tx bigint := txid_current();
BEGIN
    INSERT INTO vym_item_count_note
        (txid, counts, function_id, catagory_id, status_id, long_description, delta)
    VALUES (tx, counts_name, function_id, catagory_id, status_id, description, delta);
    INSERT INTO vym_item_count_fold (txid) VALUES (tx) ON CONFLICT (txid) DO NOTHING;
END $$;
CREATE OR REPLACE FUNCTION vym_item_noted_write(counts_name text, op text, before vym_item,
                                                after vym_item)
RETURNS void LANGUAGE plpgsql AS $$
BEGIN
    IF op <> 'INSERT' THEN
        PERFORM vym_item_count_noted(counts_name, COALESCE(before.function_id, ''),
                                     COALESCE(before.catagory_id, ''), before.status_id,
                                     before.long_description, -1);
    END IF;
    IF op <> 'DELETE' THEN
        PERFORM vym_item_count_noted(counts_name, COALESCE(after.function_id, ''),
                                     COALESCE(after.catagory_id, ''), after.status_id,
                                     after.long_description, 1);
    END IF;
END $$;
CREATE OR REPLACE FUNCTION vym_item_tab_add(tab_name text, item bigint, delta int) RETURNS void
LANGUAGE sql AS $$
    SELECT vym_item_count_noted(tab_name, COALESCE(i.function_id, ''), NULL, i.status_id,
                                i.long_description, delta)
    FROM vym_item i WHERE i.item_no = item
$$;
DROP FUNCTION vym_item_count_noted(text, text, text, text, int);
DROP TRIGGER vym_item_grams_update ON vym_item;
CREATE TRIGGER vym_item_grams_update
    AFTER UPDATE OF long_description, status_id, function_id, catagory_id ON vym_item
    FOR EACH ROW WHEN (OLD.long_description IS DISTINCT FROM NEW.long_description
                       OR OLD.status_id IS DISTINCT FROM NEW.status_id
                       OR OLD.function_id IS DISTINCT FROM NEW.function_id
                       OR OLD.catagory_id IS DISTINCT FROM NEW.catagory_id)
    EXECUTE FUNCTION vym_item_grams_count();

DROP FUNCTION vym_item_note_grams(bigint);
CREATE FUNCTION vym_item_note_grams(tx bigint)
RETURNS TABLE (counts varchar, gram text, status_id vym_nocase, function_id vym_nocase,
               catagory_id vym_nocase, delta int)
LANGUAGE sql STABLE AS $$
    SELECT n.counts, g.gram, n.status_id, n.function_id, n.catagory_id, n.delta
    FROM vym_item_count_note n CROSS JOIN LATERAL (
        SELECT lower(substr(n.long_description, p.n, 1)) AS gram FROM vym_position p
        WHERE p.n <= length(n.long_description)
        UNION
        SELECT lower(substr(n.long_description, p.n, 2)) FROM vym_position p
        WHERE p.n < length(n.long_description)) g
    WHERE n.txid = tx
$$;

-- Each word (lowered, between spaces) of each noted description, once a note.
CREATE FUNCTION vym_item_note_words(tx bigint)
RETURNS TABLE (counts varchar, word text, status_id vym_nocase, delta int)
LANGUAGE sql STABLE AS $$
    SELECT n.counts, w.word, n.status_id, n.delta
    FROM vym_item_count_note n CROSS JOIN LATERAL (
        SELECT DISTINCT u AS word FROM unnest(string_to_array(lower(n.long_description), ' ')) u
        WHERE u <> '') w
    WHERE n.txid = tx
$$;

-- Folds the notes of the transaction into the counts, each count row once
-- and in key order; a note summing to nothing touches no row.
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
    SELECT n.counts, n.function_id, n.status_id, sum(n.delta) FROM vym_item_count_note n
    WHERE n.txid = NEW.txid AND n.counts NOT IN ('grams', 'words')
    GROUP BY n.counts, n.function_id, n.status_id HAVING sum(n.delta) <> 0
    ORDER BY n.counts, n.function_id, n.status_id
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
    DELETE FROM vym_item_count_note WHERE txid = NEW.txid;
    RETURN NULL;
END $$;
-- end postgresql
