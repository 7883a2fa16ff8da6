-- Print-format templates: a format (vym_print_format) has one template per
-- printer type, page size and customer level. A template not tied to a
-- customer level carries the level 'None', so that the four keys stay a key
-- on both engines (a Null would never match itself).

CREATE TABLE vym_printer_type (
    printer_type_id varchar(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

-- The paper a printer type takes; sizes are those of the whole sheet or
-- label roll width, in millimetres.
CREATE TABLE vym_printer_type_page_size (
    printer_type_id varchar(20) COLLATE NOCASE NOT NULL
        REFERENCES vym_printer_type (printer_type_id) ON DELETE CASCADE,
    page_size_id varchar(20) COLLATE NOCASE NOT NULL,
    description varchar(60),
    width_mm float NOT NULL CHECK (width_mm > 0),
    height_mm float NOT NULL CHECK (height_mm > 0),
    PRIMARY KEY (printer_type_id, page_size_id)
);

CREATE TABLE vym_customer_level (
    customer_level_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_print_format_template (
    format_no int NOT NULL REFERENCES vym_print_format (format_no) ON DELETE CASCADE,
    printer_type_id varchar(20) COLLATE NOCASE NOT NULL,
    page_size_id varchar(20) COLLATE NOCASE NOT NULL,
    customer_level_id varchar(10) COLLATE NOCASE NOT NULL DEFAULT 'None',
    description varchar(60),
    template_type varchar(10) COLLATE NOCASE NOT NULL DEFAULT 'CUSTOM'
        CHECK (template_type IN ('CUSTOM', 'TEMPLATE')),
    format_template blob,
    template_size int NOT NULL DEFAULT 0,
    row_version int NOT NULL DEFAULT 1,
    row_saved_by varchar(20),
    row_saved_at datetime,
    PRIMARY KEY (format_no, printer_type_id, page_size_id, customer_level_id),
    FOREIGN KEY (printer_type_id, page_size_id)
        REFERENCES vym_printer_type_page_size (printer_type_id, page_size_id)
);
