#pragma once

#include <string_view>

namespace vym {

class Connection;
class ErrorObject;
class Recordset;

namespace ui {
class FlexGrid;
}

// Runs the SQL text as a read-only query and adds one grid row per record,
// cells joined by tabs in field order: Null as an empty cell, currency as
// "0.0000", dates as "mm/dd/yyyy", database times as "hh:mm:ss AMPM", all else
// as plain text. With allowStop the screen processes pending input after every
// row and the fill ends before the next row once StopFill was called. True when
// the rows were added (also after a stop); on an error False, reported to
// `errors` under "modDBFiller FillGrid".
bool FillGrid(Connection& connection, ErrorObject* errors, ui::FlexGrid& grid, std::string_view sql,
              bool allowStop);

// The same for a recordset the caller already holds; it is closed at the end.
// False at once when the recordset is not open.
bool FillGridFromRecordset(ErrorObject* errors, ui::FlexGrid& grid, Recordset& recordset,
                           bool allowStop);

// Ends a running fill (started with allowStop) before its next row.
void StopFill();

}  // namespace vym
