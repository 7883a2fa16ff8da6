-- The lists of the item editor: the transaction types that tickets and
-- lessons are sold under, the ski school's event types and lesson codes, and
-- the photo labs. The ski school's resource types and labor codes are the
-- console's search lists, read by the editor under the ski school's names.

CREATE TABLE vym_trans_type (
    trans_type_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_ss_event (
    event_type_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_ss_lesson_code (
    lesson_code_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_photo_lab_code (
    lab_code_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE VIEW vym_ss_resource_type AS
    SELECT resource_type_id, description FROM vym_resource_type;

CREATE VIEW vym_ss_labor_code AS
    SELECT labor_code_id, description FROM vym_labor_code;
