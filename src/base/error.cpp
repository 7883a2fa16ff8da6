#include "base/error.h"

#include <utility>

namespace vym {

Error::Error(std::int32_t number, std::string source, std::string description)
    : std::runtime_error(description),
      number_(number),
      source_(std::move(source)),
      description_(std::move(description)) {}

}  // namespace vym
