-- Profiles and their prompts: the point-of-sale modules that ask prompts, the
-- prompt definitions with the validation codes each allows, reason types, the
-- authorizer groups a prompt's list can be filtered by, and the prompts of
-- each profile in the order a module asks them.

CREATE TABLE vym_module (
    module_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

-- validation_code_list: the comma-separated codes a profile may switch on for
-- this prompt.
CREATE TABLE vym_prompt (
    prompt_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60),
    validation_code_list varchar(255),
    require_reason_type bit NOT NULL DEFAULT 0
);

CREATE TABLE vym_reason_type (
    reason_type_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

CREATE TABLE vym_authorizer_group (
    authorizer_group_id varchar(10) COLLATE NOCASE NOT NULL PRIMARY KEY,
    description varchar(60)
);

-- A profile's prompts go with it; the definitions they use may not.
CREATE TABLE vym_profile_prompt (
    profile_id varchar(10) COLLATE NOCASE NOT NULL
        REFERENCES vym_profile (profile_id) ON DELETE CASCADE,
    module_id varchar(10) COLLATE NOCASE NOT NULL REFERENCES vym_module (module_id),
    seq_no smallint NOT NULL,
    prompt_id varchar(10) COLLATE NOCASE NOT NULL REFERENCES vym_prompt (prompt_id),
    reason_type_id varchar(10) COLLATE NOCASE REFERENCES vym_reason_type (reason_type_id),
    list_code varchar(10) COLLATE NOCASE
        REFERENCES vym_authorizer_group (authorizer_group_id),
    validation_codes varchar(255),
    PRIMARY KEY (profile_id, module_id, seq_no)
);
