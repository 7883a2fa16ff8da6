-- How many items of each status have a description holding each text of one
-- or two characters (lowered): such a short text is too short for the
-- trigram index, and counting its matches would read every description.
-- Kept by triggers, so that every write of an item counts, whoever makes it.
CREATE TABLE vym_item_gram_count (
    gram varchar(2) NOT NULL,
    status_id varchar(10) COLLATE NOCASE NOT NULL,
    items int NOT NULL DEFAULT 0,
    PRIMARY KEY (gram, status_id)
);

-- The character positions of a description (at most 80 characters; a few
-- more for one written around the item's own checks).
CREATE TABLE vym_position (n int NOT NULL PRIMARY KEY);
WITH RECURSIVE p (n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM p WHERE n < 1000)
INSERT INTO vym_position (n) SELECT n FROM p;

-- begin sqlite
-- Each text counted where it first stands in a description, row by row: a
-- grouping would sort every text of every item in memory first.
INSERT INTO vym_item_gram_count (gram, status_id, items)
SELECT lower(substr(i.long_description, p.n, 1)), i.status_id, 1
FROM vym_item i JOIN vym_position p ON p.n <= length(i.long_description)
WHERE instr(lower(i.long_description), lower(substr(i.long_description, p.n, 1))) = p.n
UNION ALL
SELECT lower(substr(i.long_description, p.n, 2)), i.status_id, 1
FROM vym_item i JOIN vym_position p ON p.n < length(i.long_description)
WHERE instr(lower(i.long_description), lower(substr(i.long_description, p.n, 2))) = p.n
ON CONFLICT (gram, status_id) DO UPDATE SET items = items + 1;

-- A description of a status entering (delta 1) or leaving (-1) the counts.
CREATE VIEW vym_item_gram_change AS
    SELECT long_description, status_id, 0 AS delta FROM vym_item WHERE 0;
CREATE TRIGGER vym_item_gram_change_insert INSTEAD OF INSERT ON vym_item_gram_change BEGIN
    INSERT INTO vym_item_gram_count (gram, status_id, items)
    SELECT lower(substr(new.long_description, p.n, 1)), new.status_id, new.delta
    FROM vym_position p WHERE p.n <= length(new.long_description)
    UNION
    SELECT lower(substr(new.long_description, p.n, 2)), new.status_id, new.delta
    FROM vym_position p WHERE p.n < length(new.long_description)
    ON CONFLICT (gram, status_id) DO UPDATE SET items = items + excluded.items;
END;
CREATE TRIGGER vym_item_grams_insert AFTER INSERT ON vym_item BEGIN
    INSERT INTO vym_item_gram_change VALUES (new.long_description, new.status_id, 1);
END;
CREATE TRIGGER vym_item_grams_delete AFTER DELETE ON vym_item BEGIN
    INSERT INTO vym_item_gram_change VALUES (old.long_description, old.status_id, -1);
END;
-- A save rewrites every column: only a changed description or status counts.
CREATE TRIGGER vym_item_grams_update AFTER UPDATE OF long_description, status_id ON vym_item
WHEN old.long_description IS NOT new.long_description OR old.status_id IS NOT new.status_id
BEGIN
    INSERT INTO vym_item_gram_change VALUES (old.long_description, old.status_id, -1);
    INSERT INTO vym_item_gram_change VALUES (new.long_description, new.status_id, 1);
END;
-- end sqlite
-- begin postgresql
INSERT INTO vym_item_gram_count (gram, status_id, items)
SELECT gram, status_id, count(*) FROM (
    SELECT i.item_no, i.status_id, lower(substr(i.long_description, p.n, 1)) AS gram
    FROM vym_item i JOIN vym_position p ON p.n <= length(i.long_description)
    UNION
    SELECT i.item_no, i.status_id, lower(substr(i.long_description, p.n, 2))
    FROM vym_item i JOIN vym_position p ON p.n < length(i.long_description)
) grams GROUP BY gram, status_id;
-- end postgresql
-- begin postgresql
-- OLD is Null for an insert and NEW for a delete.
CREATE FUNCTION vym_item_grams_count() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    IF TG_OP <> 'INSERT' THEN
        UPDATE vym_item_gram_count SET items = items - 1
        WHERE status_id = OLD.status_id AND gram IN (
            SELECT lower(substr(OLD.long_description, p.n, 1)) FROM vym_position p
            WHERE p.n <= length(OLD.long_description)
            UNION
            SELECT lower(substr(OLD.long_description, p.n, 2)) FROM vym_position p
            WHERE p.n < length(OLD.long_description));
    END IF;
    IF TG_OP <> 'DELETE' THEN
        INSERT INTO vym_item_gram_count (gram, status_id, items)
        SELECT lower(substr(NEW.long_description, p.n, 1)), NEW.status_id, 1
        FROM vym_position p WHERE p.n <= length(NEW.long_description)
        UNION
        SELECT lower(substr(NEW.long_description, p.n, 2)), NEW.status_id, 1
        FROM vym_position p WHERE p.n < length(NEW.long_description)
        ON CONFLICT (gram, status_id) DO UPDATE SET items = vym_item_gram_count.items + 1;
    END IF;
    RETURN NULL;
END $$;
CREATE TRIGGER vym_item_grams_insert AFTER INSERT OR DELETE ON vym_item
    FOR EACH ROW EXECUTE FUNCTION vym_item_grams_count();
CREATE TRIGGER vym_item_grams_update AFTER UPDATE OF long_description, status_id ON vym_item
    FOR EACH ROW WHEN (OLD.long_description IS DISTINCT FROM NEW.long_description
                       OR OLD.status_id IS DISTINCT FROM NEW.status_id)
    EXECUTE FUNCTION vym_item_grams_count();
-- end postgresql
