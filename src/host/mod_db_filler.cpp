#include "host/mod_db_filler.h"

#include <memory>

#include "base/format.h"
#include "base/prompter.h"
#include "gateway/connection.h"
#include "gateway/error_trap.h"
#include "gateway/recordset.h"
#include "ui/flex_grid.h"

namespace vym {
namespace {

// Shared by every fill: Stop on any screen ends whichever fill is running.
bool fillStopRequested = false;

ErrorTrap& Trap() {
    static ErrorTrap trap = ErrorTrap::Shared("modDBFiller");
    return trap;
}

std::string CellText(const Field& field) {
    const Value value = field.Value();
    if (value.IsNull()) {
        return {};
    }
    const DataType type = field.Type();
    std::string text;
    if (type == DataType::Currency) {
        text = Format(value, "0.0000");
    } else if (IsDateType(type)) {
        text = Format(value, "mm/dd/yyyy");
    } else if (type == DataType::DBTime) {
        text = Format(value, "hh:mm:ss AMPM");
    } else {
        text = value.ToString();
    }
    // A tab inside a value would push the rest of the row into the wrong columns.
    for (char& c : text) {
        if (c == '\t') {
            c = ' ';
        }
    }
    return text;
}

// Keeps the grid from repainting per row when nothing needs to be seen until the end.
class BulkLoad {
  public:
    BulkLoad(ui::FlexGrid& grid, bool active) : grid_(active ? &grid : nullptr) {
        if (grid_ != nullptr) {
            grid_->BeginBulkLoad();
        }
    }
    ~BulkLoad() {
        if (grid_ != nullptr) {
            grid_->EndBulkLoad();
        }
    }
    BulkLoad(const BulkLoad&) = delete;
    BulkLoad& operator=(const BulkLoad&) = delete;

  private:
    ui::FlexGrid* grid_;
};

bool AddRows(ui::FlexGrid& grid, Recordset& recordset, bool allowStop) {
    fillStopRequested = false;
    if (!recordset.IsOpen()) {
        return false;
    }
    {
        BulkLoad bulk(grid, !allowStop);
        const std::int32_t fieldCount = recordset.FieldCount();
        while (!recordset.Eof()) {
            if (allowStop) {
                DoEvents();
                if (fillStopRequested) {
                    break;
                }
            }
            std::string row;
            for (std::int32_t i = 0; i < fieldCount; ++i) {
                if (i > 0) {
                    row += '\t';
                }
                row += CellText(recordset.Fields(i));
            }
            grid.AddItem(QString::fromStdString(row));
            recordset.MoveNext();
        }
    }
    recordset.Close();
    return true;
}

}  // namespace

bool FillGrid(Connection& connection, ErrorObject* errors, ui::FlexGrid& grid, std::string_view sql,
              bool allowStop) {
    bool result = false;
    Trap().Run(errors, "FillGrid", &connection.Native(), [&] {
        const std::unique_ptr<Recordset> recordset = connection.OpenRecordset(sql);
        result = AddRows(grid, *recordset, allowStop);
    });
    return result;
}

bool FillGridFromRecordset(ErrorObject* errors, ui::FlexGrid& grid, Recordset& recordset,
                           bool allowStop) {
    bool result = false;
    Trap().Run(errors, "FillGridFromRecordset", nullptr,
               [&] { result = AddRows(grid, recordset, allowStop); });
    return result;
}

void StopFill() {
    fillStopRequested = true;
}

}  // namespace vym
