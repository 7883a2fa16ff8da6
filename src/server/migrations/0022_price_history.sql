-- Every change of a price, kept by the store itself so that no way of writing
-- a price (a procedure, an edit in a grid, a bulk change, an import) can leave
-- one out: who made it from which station and when, the price's key as it
-- stood, and its amounts before and after. The history names the price by its
-- number without a reference to it, so that it outlives the price.
-- vym_actor('user') and vym_actor('station') name whoever the connection
-- works for (see SqlSession::SetActor).

CREATE TABLE vym_price_history (
    history_no INTEGER PRIMARY KEY,
    change_type varchar(10) NOT NULL CHECK (change_type IN ('Insert', 'Update', 'Delete')),
    changed_at datetime NOT NULL,
    vym_user varchar(20) COLLATE NOCASE,
    station varchar(64),
    price_no int NOT NULL,
    item_no int,
    package_no int,
    package_price_no int,
    child_item_no int,
    parent_unit_id varchar(10) COLLATE NOCASE,
    season_id int,
    discount_id varchar(10) COLLATE NOCASE,
    unit_id varchar(10) COLLATE NOCASE,
    unit_qty int,
    uom_id varchar(10) COLLATE NOCASE,
    location_id varchar(10) COLLATE NOCASE,
    sale_no int,
    old_total_price money,
    new_total_price money,
    old_unit_price money,
    new_unit_price money,
    old_gross_unit_price money,
    new_gross_unit_price money
);
-- Read by item or package, newest first (one price's changes among its
-- item's): every index is one more write for each price written.
CREATE INDEX vym_price_history_item ON vym_price_history (item_no, history_no);
CREATE INDEX vym_price_history_package ON vym_price_history (package_no, history_no)
    WHERE package_no IS NOT NULL;

-- begin sqlite
CREATE TRIGGER vym_price_history_insert AFTER INSERT ON vym_price BEGIN
    INSERT INTO vym_price_history (change_type, changed_at, vym_user, station, price_no,
        item_no, package_no, package_price_no, child_item_no, parent_unit_id, season_id,
        discount_id, unit_id, unit_qty, uom_id, location_id, sale_no, new_total_price,
        new_unit_price, new_gross_unit_price)
    VALUES ('Insert', strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime'), vym_actor('user'),
        vym_actor('station'), new.price_no, new.item_no, new.package_no, new.package_price_no,
        new.child_item_no, new.parent_unit_id, new.season_id, new.discount_id, new.unit_id,
        new.unit_qty, new.uom_id, new.location_id, new.sale_no, new.total_price,
        new.unit_price, new.gross_unit_price);
END;
-- A save that only claims the row (its version, who and when) or rewrites
-- what it read changes no price: only a change of the key or an amount counts.
CREATE TRIGGER vym_price_history_update AFTER UPDATE ON vym_price
WHEN (old.price_no, old.item_no, old.package_no, old.package_price_no, old.child_item_no,
      old.parent_unit_id, old.season_id, old.discount_id, old.unit_id, old.unit_qty,
      old.uom_id, old.location_id, old.sale_no, old.total_price, old.unit_price,
      old.gross_unit_price)
  IS NOT (new.price_no, new.item_no, new.package_no, new.package_price_no, new.child_item_no,
      new.parent_unit_id, new.season_id, new.discount_id, new.unit_id, new.unit_qty,
      new.uom_id, new.location_id, new.sale_no, new.total_price, new.unit_price,
      new.gross_unit_price)
BEGIN
    INSERT INTO vym_price_history (change_type, changed_at, vym_user, station, price_no,
        item_no, package_no, package_price_no, child_item_no, parent_unit_id, season_id,
        discount_id, unit_id, unit_qty, uom_id, location_id, sale_no, old_total_price,
        new_total_price, old_unit_price, new_unit_price, old_gross_unit_price,
        new_gross_unit_price)
    VALUES ('Update', strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime'), vym_actor('user'),
        vym_actor('station'), new.price_no, new.item_no, new.package_no, new.package_price_no,
        new.child_item_no, new.parent_unit_id, new.season_id, new.discount_id, new.unit_id,
        new.unit_qty, new.uom_id, new.location_id, new.sale_no, old.total_price,
        new.total_price, old.unit_price, new.unit_price, old.gross_unit_price,
        new.gross_unit_price);
END;
CREATE TRIGGER vym_price_history_delete AFTER DELETE ON vym_price BEGIN
    INSERT INTO vym_price_history (change_type, changed_at, vym_user, station, price_no,
        item_no, package_no, package_price_no, child_item_no, parent_unit_id, season_id,
        discount_id, unit_id, unit_qty, uom_id, location_id, sale_no, old_total_price,
        old_unit_price, old_gross_unit_price)
    VALUES ('Delete', strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime'), vym_actor('user'),
        vym_actor('station'), old.price_no, old.item_no, old.package_no, old.package_price_no,
        old.child_item_no, old.parent_unit_id, old.season_id, old.discount_id, old.unit_id,
        old.unit_qty, old.uom_id, old.location_id, old.sale_no, old.total_price,
        old.unit_price, old.gross_unit_price);
END;
-- end sqlite
-- begin postgresql
-- The history numbers its rows itself: the key trigger of other tables would
-- report the history row's number as the inserted id of the price.
DROP TRIGGER vym_price_history_key ON vym_price_history;
ALTER TABLE vym_price_history ALTER COLUMN history_no ADD GENERATED BY DEFAULT AS IDENTITY;

CREATE FUNCTION vym_actor(what text) RETURNS text LANGUAGE sql STABLE
    AS $$ SELECT NULLIF(current_setting('vym.actor_' || what, true), '') $$;

-- OLD is Null for an insert and NEW for a delete.
CREATE FUNCTION vym_price_history_record() RETURNS trigger LANGUAGE plpgsql AS $$
DECLARE
    price vym_price := CASE WHEN TG_OP = 'DELETE' THEN OLD ELSE NEW END;
BEGIN
    INSERT INTO vym_price_history (change_type, changed_at, vym_user, station, price_no,
        item_no, package_no, package_price_no, child_item_no, parent_unit_id, season_id,
        discount_id, unit_id, unit_qty, uom_id, location_id, sale_no, old_total_price,
        new_total_price, old_unit_price, new_unit_price, old_gross_unit_price,
        new_gross_unit_price)
    VALUES (initcap(TG_OP), LOCALTIMESTAMP(0), vym_actor('user'), vym_actor('station'),
        price.price_no, price.item_no, price.package_no, price.package_price_no,
        price.child_item_no, price.parent_unit_id, price.season_id, price.discount_id,
        price.unit_id, price.unit_qty, price.uom_id, price.location_id, price.sale_no,
        OLD.total_price, NEW.total_price, OLD.unit_price, NEW.unit_price,
        OLD.gross_unit_price, NEW.gross_unit_price);
    RETURN NULL;
END $$;

CREATE TRIGGER vym_price_history_insert AFTER INSERT ON vym_price
    FOR EACH ROW EXECUTE FUNCTION vym_price_history_record();
CREATE TRIGGER vym_price_history_update AFTER UPDATE ON vym_price FOR EACH ROW
    WHEN ((OLD.price_no, OLD.item_no, OLD.package_no, OLD.package_price_no, OLD.child_item_no,
           OLD.parent_unit_id, OLD.season_id, OLD.discount_id, OLD.unit_id, OLD.unit_qty,
           OLD.uom_id, OLD.location_id, OLD.sale_no, OLD.total_price, OLD.unit_price,
           OLD.gross_unit_price)
      IS DISTINCT FROM (NEW.price_no, NEW.item_no, NEW.package_no, NEW.package_price_no,
           NEW.child_item_no, NEW.parent_unit_id, NEW.season_id, NEW.discount_id, NEW.unit_id,
           NEW.unit_qty, NEW.uom_id, NEW.location_id, NEW.sale_no, NEW.total_price,
           NEW.unit_price, NEW.gross_unit_price))
    EXECUTE FUNCTION vym_price_history_record();
CREATE TRIGGER vym_price_history_delete AFTER DELETE ON vym_price
    FOR EACH ROW EXECUTE FUNCTION vym_price_history_record();
-- end postgresql
