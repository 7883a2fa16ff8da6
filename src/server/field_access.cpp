#include "server/field_access.h"

#include <string>

#include "base/error.h"

namespace vym::server {
namespace {
const std::string kSource = "VYMAppServer.Recordset";
}

void ThrowNoCurrentRecord() {
    throw vym::Error(kNoCurrentRecord, kSource,
                     "Either BOF or EOF is True, or the current record has been deleted. "
                     "Requested operation requires a current record.");
}

void ThrowRecordsetClosed() {
    throw vym::Error(errc::kObjectClosed, kSource,
                     "Operation is not allowed when the object is closed.");
}

void ThrowFieldNotFound(std::string_view name) {
    throw vym::Error(errc::kItemNotFound, kSource,
                     "Item cannot be found in the collection corresponding to the requested "
                     "name or ordinal: " +
                         std::string(name));
}

void ThrowNotUpdatable() {
    throw vym::Error(errc::kNotSupported, kSource, "Current Recordset does not support updating.");
}

vym::Value NextChunk(std::string_view data, bool binary, std::size_t& offset, std::int32_t length) {
    if (offset >= data.size() || length <= 0) {
        return vym::Value::Null();
    }
    std::size_t end = std::min(data.size(), offset + static_cast<std::size_t>(length));
    if (!binary) {
        // Back off to the start of a character rather than cut one in two.
        std::size_t cut = end;
        while (cut > offset && cut < data.size() &&
               (static_cast<unsigned char>(data[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        if (cut > offset) {
            end = cut;
        }
    }
    const std::string_view piece = data.substr(offset, end - offset);
    offset = end;
    if (binary) {
        return Bytes(piece.begin(), piece.end());
    }
    return piece;
}

}  // namespace vym::server
