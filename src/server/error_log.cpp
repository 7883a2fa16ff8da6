#include "server/error_log.h"

#include <fstream>

#include "base/date.h"

namespace vym::server {
namespace {

// One report per line, whatever its text holds.
std::string OneLine(std::string text) {
    for (char& c : text) {
        if (c == '\r' || c == '\n' || c == '\t') {
            c = ' ';
        }
    }
    return text;
}

}  // namespace

void ErrorLog::Report(const ErrorReport& report) {
    reports_.push_back(report);
    try {
        std::ofstream log(logPath_, std::ios::app);
        log << vym::Date::Now().ToIso() << '\t' << report.Number << '\t' << OneLine(report.Source)
            << '\t' << OneLine(report.Description) << '\n';
    } catch (...) {
        // See the class comment: the report itself is kept above.
    }
}

}  // namespace vym::server
