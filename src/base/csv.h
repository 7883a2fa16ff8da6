#pragma once

#include <string>
#include <string_view>
#include <vector>

// Writing comma-separated values for spreadsheets: RFC 4180 records (CR LF
// after each, a field holding a comma, a quote, CR or LF quoted with its
// quotes doubled), and no field a spreadsheet would run as a formula.
namespace vym::csv {

// A field a spreadsheet would take for a formula (led by "=", "+", "-", "@",
// a tab or CR, and not a plain number such as "-5.00") with an apostrophe put
// before it, so that it is shown and never run. A field already led by an
// apostrophe before such a text gets a second one, so that UnescapeFormula
// gives back exactly what was written.
std::string EscapeFormula(std::string_view field);
// The field with the apostrophe EscapeFormula put before it taken off again;
// any other field as it is.
std::string UnescapeFormula(std::string_view field);

// One record appended to `out`: every field formula-escaped, then quoted
// where it needs it, separated by commas, ended by CR LF.
void AppendRecord(std::string& out, const std::vector<std::string>& fields);

}  // namespace vym::csv
