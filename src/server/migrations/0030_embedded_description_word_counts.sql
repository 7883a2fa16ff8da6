-- The embedded store counts the words of the descriptions too, as the
-- server does since 0028: how many items of each status have each word
-- (lowered; words stand between spaces). A word half the catalogue shares
-- is otherwise counted by reading each of its matches from the trigram
-- index. A word of digits alone is left out: an item's own number in its
-- description would make a word of each item, and a text holding anything
-- but digits cannot lie inside one. The words themselves are indexed by
-- trigrams as the descriptions are, so that the words that hold a text are
-- the ones the descriptions' index would match it in. A word no item has
-- any more stays, at zero.
-- begin sqlite
CREATE TABLE vym_item_word_count (
    word text NOT NULL,
    status_id varchar(10) COLLATE NOCASE NOT NULL,
    items int NOT NULL DEFAULT 0,
    PRIMARY KEY (word, status_id)
);
CREATE TABLE vym_item_word (
    word_no INTEGER PRIMARY KEY,
    word text NOT NULL UNIQUE
);
CREATE VIRTUAL TABLE vym_item_word_fts USING fts5 (
    word, content = 'vym_item_word', content_rowid = 'word_no', tokenize = 'trigram'
);
CREATE TRIGGER vym_item_word_fts_insert AFTER INSERT ON vym_item_word BEGIN
    INSERT INTO vym_item_word_fts (rowid, word) VALUES (new.word_no, new.word);
END;
CREATE TRIGGER vym_item_word_count_insert AFTER INSERT ON vym_item_word_count BEGIN
    INSERT INTO vym_item_word (word) VALUES (new.word) ON CONFLICT (word) DO NOTHING;
END;

-- A description's words: its lowered text made a JSON array, a space
-- closing one string and opening the next (JSON quoting keeps every other
-- character as it was).
CREATE VIEW vym_item_word_change AS
    SELECT long_description, status_id, 0 AS delta FROM vym_item WHERE 0;
CREATE TRIGGER vym_item_word_change_insert INSTEAD OF INSERT ON vym_item_word_change BEGIN
    INSERT INTO vym_item_word_count (word, status_id, items)
    SELECT DISTINCT w.value, new.status_id, new.delta
    FROM json_each('[' || replace(json_quote(lower(new.long_description)), ' ', '","') || ']') w
    WHERE w.value <> '' AND w.value GLOB '*[^0-9]*'
    ON CONFLICT (word, status_id) DO UPDATE SET items = items + excluded.items;
END;

-- Each word counted where it first stands in a description, row by row: a
-- grouping would sort every word of every item in memory first.
INSERT INTO vym_item_word_count (word, status_id, items)
SELECT w.value, i.status_id, 1
FROM vym_item i,
    json_each('[' || replace(json_quote(lower(i.long_description)), ' ', '","') || ']') w
WHERE w.value <> '' AND w.value GLOB '*[^0-9]*' AND NOT EXISTS (
    SELECT 1
    FROM json_each('[' || replace(json_quote(lower(i.long_description)), ' ', '","') || ']') e
    WHERE e.value = w.value AND e.key < w.key)
ON CONFLICT (word, status_id) DO UPDATE SET items = items + 1;

CREATE TRIGGER vym_item_words_insert AFTER INSERT ON vym_item BEGIN
    INSERT INTO vym_item_word_change VALUES (new.long_description, new.status_id, 1);
END;
CREATE TRIGGER vym_item_words_delete AFTER DELETE ON vym_item BEGIN
    INSERT INTO vym_item_word_change VALUES (old.long_description, old.status_id, -1);
END;
-- A save rewrites every column: only a changed description or status counts.
CREATE TRIGGER vym_item_words_update AFTER UPDATE OF long_description, status_id ON vym_item
WHEN old.long_description IS NOT new.long_description OR old.status_id IS NOT new.status_id
BEGIN
    INSERT INTO vym_item_word_change VALUES (old.long_description, old.status_id, -1);
    INSERT INTO vym_item_word_change VALUES (new.long_description, new.status_id, 1);
END;
-- end sqlite
