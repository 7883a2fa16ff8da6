#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vym {

// A run-time error as the Automation world knows it: a number, the component
// that raised it and a description. Everything below the screens throws this.
class Error : public std::runtime_error {
  public:
    Error(std::int32_t number, std::string source, std::string description);

    std::int32_t Number() const { return number_; }
    const std::string& Source() const { return source_; }
    const std::string& Description() const { return description_; }

  private:
    std::int32_t number_;
    std::string source_;
    std::string description_;
};

// The run-time error numbers the library raises itself.
namespace errc {
inline constexpr std::int32_t kInvalidProcedureCall = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kDivisionByZero = 11;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kInvalidUseOfNull = 94;
inline constexpr std::int32_t kFileNotFound = 53;
inline constexpr std::int32_t kPathFileAccess = 75;
inline constexpr std::int32_t kUnspecified = static_cast<std::int32_t>(0x80004005);
// Gateway errors (the numbers a database gateway reports for the same faults).
inline constexpr std::int32_t kItemNotFound = 3265;
inline constexpr std::int32_t kObjectClosed = 3704;
inline constexpr std::int32_t kNotSupported = 3251;
inline constexpr std::int32_t kDatabase = static_cast<std::int32_t>(0x80040E14);
}  // namespace errc

}  // namespace vym
