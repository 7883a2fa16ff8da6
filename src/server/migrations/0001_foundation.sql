-- Users, their rights, their settings and the named sequences of the
-- application server.

CREATE TABLE vym_security_user (
    vym_user varchar(20) COLLATE NOCASE NOT NULL PRIMARY KEY,
    name varchar(60) NOT NULL,
    is_active bit NOT NULL DEFAULT 1
);

-- A right is an application title or module with a code:
-- ('Item Maintenance', 'ITEM'), ('StockMaint', 'STOCKEDITSERIAL').
CREATE TABLE vym_security_permission (
    vym_user varchar(20) COLLATE NOCASE NOT NULL
        REFERENCES vym_security_user (vym_user) ON DELETE CASCADE,
    application varchar(60) COLLATE NOCASE NOT NULL,
    code varchar(30) COLLATE NOCASE NOT NULL,
    PRIMARY KEY (vym_user, application, code)
);

CREATE TABLE vym_setting (
    vym_user varchar(20) COLLATE NOCASE NOT NULL,
    path varchar(255) COLLATE NOCASE NOT NULL,
    section varchar(60) COLLATE NOCASE NOT NULL,
    key varchar(60) COLLATE NOCASE NOT NULL,
    value text,
    UNIQUE (vym_user, path, section, key)
);

CREATE TABLE vym_sequence (
    sequence_name varchar(60) COLLATE NOCASE NOT NULL PRIMARY KEY,
    last_value int NOT NULL DEFAULT 0
);
