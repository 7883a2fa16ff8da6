-- Held for the change made beside this one; nothing to do here.
SELECT 1;
