#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/value.h"

namespace vym::server {

// The errors a recordset raises, numbered and worded as the gateway words them.
inline constexpr std::int32_t kNoCurrentRecord = 3021;
[[noreturn]] void ThrowNoCurrentRecord();
[[noreturn]] void ThrowRecordsetClosed();
[[noreturn]] void ThrowFieldNotFound(std::string_view name);
[[noreturn]] void ThrowNotUpdatable();

// The next piece of long data for GetChunk: up to `length` bytes from
// `offset` (never splitting a UTF-8 character of text), advancing `offset`;
// Null once everything was read.
vym::Value NextChunk(std::string_view data, bool binary, std::size_t& offset, std::int32_t length);

}  // namespace vym::server
