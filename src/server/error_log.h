#pragma once

#include <string>
#include <vector>

#include "gateway/error_object.h"

namespace vym::server {

// The application server's error object: keeps every report of the session
// and appends each, one line, to a log file beside the database.
class ErrorLog : public vym::ErrorObject {
  public:
    explicit ErrorLog(std::string logPath) : logPath_(std::move(logPath)) {}

    // Never throws: a log file that cannot be written loses the line, not the
    // report.
    void Report(const ErrorReport& report) override;

    const std::vector<ErrorReport>& Reports() const { return reports_; }
    const std::string& LogPath() const { return logPath_; }

  private:
    std::string logPath_;
    std::vector<ErrorReport> reports_;
};

}  // namespace vym::server
