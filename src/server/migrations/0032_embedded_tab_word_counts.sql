-- The embedded store counts each typed tab's items by the words of their
-- descriptions too (vym_item_tab_word_count, made in 0031), as the server
-- does, and as it counts them among all items (0030): a tab's search of a
-- word counts from here instead of joining every match to the tab's table.
-- begin sqlite
-- Whichever of an item's triggers runs first, its words are indexed.
CREATE TRIGGER vym_item_tab_word_count_insert AFTER INSERT ON vym_item_tab_word_count BEGIN
    INSERT INTO vym_item_word (word) VALUES (new.word) ON CONFLICT (word) DO NOTHING;
END;

-- Each word counted where it first stands in a description, row by row.
INSERT INTO vym_item_tab_word_count (tab, word, status_id, items)
SELECT t.tab, w.value, i.status_id, 1
FROM vym_item_tab t JOIN vym_item i ON i.item_no = t.item_no,
    json_each('[' || replace(json_quote(lower(i.long_description)), ' ', '","') || ']') w
WHERE w.value <> '' AND w.value GLOB '*[^0-9]*' AND NOT EXISTS (
    SELECT 1
    FROM json_each('[' || replace(json_quote(lower(i.long_description)), ' ', '","') || ']') e
    WHERE e.value = w.value AND e.key < w.key)
ON CONFLICT (tab, word, status_id) DO UPDATE SET items = items + 1;

-- A row of a type's table entering or leaving the counts takes its item's
-- words with it.
DROP TRIGGER vym_item_tab_change_insert;
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
    INSERT INTO vym_item_tab_word_count (tab, word, status_id, items)
    SELECT DISTINCT new.tab, w.value, i.status_id, new.delta
    FROM vym_item i,
        json_each('[' || replace(json_quote(lower(i.long_description)), ' ', '","') || ']') w
    WHERE i.item_no = new.item_no AND w.value <> '' AND w.value GLOB '*[^0-9]*'
    ON CONFLICT (tab, word, status_id)
    DO UPDATE SET items = vym_item_tab_word_count.items + excluded.items;
END;
-- end sqlite
