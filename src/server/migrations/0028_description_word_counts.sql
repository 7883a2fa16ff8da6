-- How many items of each status have each word (lowered; words stand between
-- spaces) in their description. A text of three characters or more with no
-- space lies within one word of every description that holds it: when a
-- single word holds the text, that word's count is the number of matches,
-- read here instead of rechecking every match the trigram index finds (a
-- word half the items share would read half the items). The trigram index
-- finds the words that hold a text. Kept by triggers, so that every write of
-- an item counts, whoever makes it; a word no item has any more stays, at
-- zero. The embedded store counts through its own trigram index.
-- begin postgresql
CREATE TABLE vym_item_word_count (
    word text NOT NULL,
    status_id varchar(10) COLLATE NOCASE NOT NULL,
    items int NOT NULL DEFAULT 0,
    PRIMARY KEY (word, status_id)
);
-- Each word counted where it first stands in a description.
INSERT INTO vym_item_word_count (word, status_id, items)
SELECT w.word, i.status_id, count(*)
FROM vym_item i
CROSS JOIN LATERAL unnest(string_to_array(lower(i.long_description), ' '))
    WITH ORDINALITY AS w (word, n)
WHERE w.word <> '' AND array_position(string_to_array(lower(i.long_description), ' '), w.word) = w.n
GROUP BY w.word, i.status_id;
CREATE INDEX vym_item_word_count_trigram ON vym_item_word_count USING gin (word gin_trgm_ops);

-- OLD is Null for an insert and NEW for a delete.
CREATE FUNCTION vym_item_words_count() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    IF TG_OP <> 'INSERT' THEN
        UPDATE vym_item_word_count SET items = items - 1
        WHERE status_id = OLD.status_id AND word IN (
            SELECT w FROM unnest(string_to_array(lower(OLD.long_description), ' ')) w);
    END IF;
    IF TG_OP <> 'DELETE' THEN
        INSERT INTO vym_item_word_count (word, status_id, items)
        SELECT DISTINCT w, NEW.status_id, 1
        FROM unnest(string_to_array(lower(NEW.long_description), ' ')) w WHERE w <> ''
        ON CONFLICT (word, status_id) DO UPDATE SET items = vym_item_word_count.items + 1;
    END IF;
    RETURN NULL;
END $$;
CREATE TRIGGER vym_item_words_insert AFTER INSERT OR DELETE ON vym_item
    FOR EACH ROW EXECUTE FUNCTION vym_item_words_count();
CREATE TRIGGER vym_item_words_update AFTER UPDATE OF long_description, status_id ON vym_item
    FOR EACH ROW WHEN (OLD.long_description IS DISTINCT FROM NEW.long_description
                       OR OLD.status_id IS DISTINCT FROM NEW.status_id)
    EXECUTE FUNCTION vym_item_words_count();
-- end postgresql
