#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/value.h"

namespace vym {

class Connection;

// One error as it was reported.
struct ErrorReport {
    std::int32_t Number = 0;
    std::string Source;
    std::string Description;
    bool Flag = false;
    std::optional<vym::Value> Arg1, Arg2, Arg3;    // omitted in every report the library makes
    const Connection* NativeConnection = nullptr;  // set in database operations
    std::string Extra;
};

// The application server's error object: every error trap reports here.
class ErrorObject {
  public:
    virtual ~ErrorObject() = default;
    virtual void Report(const ErrorReport& report) = 0;
};

}  // namespace vym
