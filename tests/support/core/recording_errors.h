#pragma once

#include <vector>

#include "gateway/error_object.h"

namespace vym::test {

// An error object that keeps what it is told, for tests that check the reports.
class RecordingErrors : public ErrorObject {
  public:
    void Report(const ErrorReport& report) override { reports.push_back(report); }
    std::vector<ErrorReport> reports;
};

}  // namespace vym::test
