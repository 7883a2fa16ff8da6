#pragma once

namespace vym {

class Connection;

namespace ui {
class DataCombo;
}

// The property lists of the template manager and the "New Template" dialog,
// each with nothing chosen: printer type and page size pairs (keyed "printer
// type id:page size id"), customer levels ("None" first) and template types
// ("CUSTOM" text only, "TEMPLATE" graphical). Throws vym::Error when the
// database cannot be read.
void FillTemplateLists(Connection& db, ui::DataCombo& printerPages, ui::DataCombo& customerLevels,
                       ui::DataCombo& templateTypes);

}  // namespace vym
