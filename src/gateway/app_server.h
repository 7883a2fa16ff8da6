#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "gateway/connection.h"
#include "gateway/error_object.h"
#include "gateway/service_object.h"

namespace vym {

// The suite's application server, as the library sees it.
class AppServer {
  public:
    virtual ~AppServer() = default;

    virtual vym::ErrorObject& ErrorObject() = 0;
    virtual std::shared_ptr<Connection> DBConnection() = 0;

    // The shared service object (not owned; nullptr until one is registered).
    virtual ServiceObject* SharedServiceObject() = 0;
    virtual void SetSharedServiceObject(ServiceObject* object) = 0;

    // Whether the current user may use a task: (reserved, application title or
    // module such as "Item Maintenance" / "StockMaint", code such as "ITEM").
    virtual bool CheckPermission(std::string_view reserved, std::string_view application,
                                 std::string_view code) = 0;
    // True when the signed-in user exists and is active.
    virtual bool ValidateUser() = 0;

    // Per-user settings ("AppData\Item Maintenance", "Environment", "SearchTab").
    virtual std::string GetSetting(std::string_view path, std::string_view section,
                                   std::string_view key, std::string_view defaultValue) = 0;
    virtual void SaveSetting(std::string_view path, std::string_view section, std::string_view key,
                             std::string_view value) = 0;

    // The status line; whoever shows it subscribes.
    virtual void SetStatusText(std::string_view text) = 0;
    virtual std::string StatusText() const = 0;
    virtual void OnStatusText(std::function<void(const std::string&)> listener) = 0;

    // The host system's connection; nullptr when the host is unavailable.
    virtual std::shared_ptr<Connection> HostConnection() = 0;
    // The next value of a named sequence ("seq_format_no").
    virtual std::int32_t NextSequenceValue(std::string_view sequence) = 0;
};

}  // namespace vym
