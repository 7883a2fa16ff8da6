-- The item triggers of PostgreSQL no longer update the kept search counts
-- row by row: every update of a count row walks the versions of that row
-- its own open transaction made (a transaction writing thousands of items
-- slows quadratically), and holds the row until commit (each save waits on
-- the saves of other stations, and two saves locking rows in different
-- orders deadlock). A trigger now notes what entered or left the counts in
-- a table rows are only added to, and the notes of a transaction are folded
-- into the counts once, as it commits: each count row updated once, in the
-- order of the counts' keys, so that two folds never wait on each other in
-- a circle. A save's counts are seen by others once it commits, as before.
-- The embedded store has one writer and updates in place: its triggers stay.
-- begin postgresql
-- What entered (delta 1) or left (-1) the counts, as it stood then: `counts`
-- names the counts ('grams' and 'words' among all items, or an item type's
-- own table for its tab). Unlogged: no note outlives its transaction.
CREATE UNLOGGED TABLE vym_item_count_note (
    txid bigint NOT NULL,
    counts varchar(30) NOT NULL,
    function_id varchar(10) COLLATE NOCASE,
    status_id varchar(10) COLLATE NOCASE,
    long_description text,
    delta int NOT NULL
);
CREATE INDEX vym_item_count_note_txid ON vym_item_count_note (txid);
-- One row for each transaction with notes to fold: its insert queues the
-- fold for the commit (one queued firing a transaction, not one a note).
CREATE UNLOGGED TABLE vym_item_count_fold (txid bigint NOT NULL PRIMARY KEY);

CREATE FUNCTION vym_item_count_noted(counts_name text, function_id text, status_id text,
                                     description text, delta int) RETURNS void
LANGUAGE plpgsql AS $$
DECLARE
    tx bigint := txid_current();
BEGIN
    INSERT INTO vym_item_count_note (txid, counts, function_id, status_id, long_description, delta)
    VALUES (tx, counts_name, function_id, status_id, description, delta);
    INSERT INTO vym_item_count_fold (txid) VALUES (tx) ON CONFLICT (txid) DO NOTHING;
END $$;

-- An item's description leaving (`before`) and entering (`after`) the counts
-- `counts_name` in a write `op`.
CREATE FUNCTION vym_item_noted_write(counts_name text, op text, before vym_item, after vym_item)
RETURNS void LANGUAGE plpgsql AS $$
BEGIN
    IF op <> 'INSERT' THEN
        PERFORM vym_item_count_noted(counts_name, NULL, before.status_id, before.long_description, -1);
    END IF;
    IF op <> 'DELETE' THEN
        PERFORM vym_item_count_noted(counts_name, NULL, after.status_id, after.long_description, 1);
    END IF;
END $$;
CREATE OR REPLACE FUNCTION vym_item_grams_count() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    PERFORM vym_item_noted_write('grams', TG_OP, OLD, NEW);
    RETURN NULL;
END $$;
CREATE OR REPLACE FUNCTION vym_item_words_count() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    PERFORM vym_item_noted_write('words', TG_OP, OLD, NEW);
    RETURN NULL;
END $$;
-- A row of a type's table counts under its item as the item stands now;
-- nothing when the item is missing.
CREATE OR REPLACE FUNCTION vym_item_tab_add(tab_name text, item bigint, delta int) RETURNS void
LANGUAGE sql AS $$
    SELECT vym_item_count_noted(tab_name, COALESCE(i.function_id, ''), i.status_id,
                                i.long_description, delta)
    FROM vym_item i WHERE i.item_no = item
$$;

-- Each text of one or two characters (lowered) of each noted description,
-- once a note.
CREATE FUNCTION vym_item_note_grams(tx bigint)
RETURNS TABLE (counts varchar, gram text, status_id vym_nocase, delta int)
LANGUAGE sql STABLE AS $$
    SELECT n.counts, g.gram, n.status_id, n.delta
    FROM vym_item_count_note n CROSS JOIN LATERAL (
        SELECT lower(substr(n.long_description, p.n, 1)) AS gram FROM vym_position p
        WHERE p.n <= length(n.long_description)
        UNION
        SELECT lower(substr(n.long_description, p.n, 2)) FROM vym_position p
        WHERE p.n < length(n.long_description)) g
    WHERE n.txid = tx
$$;

-- Folds the notes of the transaction into the counts, each count row once
-- and in key order; a note summing to nothing touches no row.
CREATE FUNCTION vym_item_counts_fold() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    -- Gone when an earlier firing of this transaction folded it.
    DELETE FROM vym_item_count_fold WHERE txid = NEW.txid;
    IF NOT FOUND THEN
        RETURN NULL;
    END IF;
    INSERT INTO vym_item_gram_count (gram, status_id, items)
    SELECT g.gram, g.status_id, sum(g.delta) FROM vym_item_note_grams(NEW.txid) g
    WHERE g.counts = 'grams'
    GROUP BY g.gram, g.status_id HAVING sum(g.delta) <> 0 ORDER BY g.gram, g.status_id
    ON CONFLICT (gram, status_id) DO UPDATE SET items = vym_item_gram_count.items + excluded.items;
    INSERT INTO vym_item_word_count (word, status_id, items)
    SELECT w.word, n.status_id, sum(n.delta)
    FROM vym_item_count_note n CROSS JOIN LATERAL (
        SELECT DISTINCT u AS word FROM unnest(string_to_array(lower(n.long_description), ' ')) u
        WHERE u <> '') w
    WHERE n.txid = NEW.txid AND n.counts = 'words'
    GROUP BY w.word, n.status_id HAVING sum(n.delta) <> 0 ORDER BY w.word, n.status_id
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
    DELETE FROM vym_item_count_note WHERE txid = NEW.txid;
    RETURN NULL;
END $$;
CREATE CONSTRAINT TRIGGER vym_item_counts_fold AFTER INSERT ON vym_item_count_fold
    DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION vym_item_counts_fold();
-- end postgresql
