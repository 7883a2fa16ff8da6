-- Which sales departments stock of a stock type is sold in. A stock type
-- without rows here may use every item department.
CREATE TABLE vym_item_stock_type_department (
    stock_type_id varchar(10) COLLATE NOCASE NOT NULL
        REFERENCES vym_item_stock_type (stock_type_id) ON DELETE CASCADE,
    department_id varchar(10) COLLATE NOCASE NOT NULL
        REFERENCES vym_department (department_id) ON DELETE CASCADE,
    PRIMARY KEY (stock_type_id, department_id)
);
CREATE INDEX vym_item_stock_type_department_dept
    ON vym_item_stock_type_department (department_id);
