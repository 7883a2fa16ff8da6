#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "gateway/app_server.h"

namespace vym::test {

// An application server that hands every call on to another one. Tests derive
// from it and override only what they change (a user that cannot be
// validated, a connection behind a fault injector).
class DelegatingAppServer : public AppServer {
  public:
    explicit DelegatingAppServer(AppServer& inner) : inner_(inner) {}

    vym::ErrorObject& ErrorObject() override { return inner_.ErrorObject(); }
    std::shared_ptr<Connection> DBConnection() override { return inner_.DBConnection(); }
    ServiceObject* SharedServiceObject() override { return inner_.SharedServiceObject(); }
    void SetSharedServiceObject(ServiceObject* object) override {
        inner_.SetSharedServiceObject(object);
    }
    bool CheckPermission(std::string_view reserved, std::string_view application,
                         std::string_view code) override {
        return inner_.CheckPermission(reserved, application, code);
    }
    bool ValidateUser() override { return inner_.ValidateUser(); }
    std::string GetSetting(std::string_view path, std::string_view section, std::string_view key,
                           std::string_view defaultValue) override {
        return inner_.GetSetting(path, section, key, defaultValue);
    }
    void SaveSetting(std::string_view path, std::string_view section, std::string_view key,
                     std::string_view value) override {
        inner_.SaveSetting(path, section, key, value);
    }
    void SetStatusText(std::string_view text) override { inner_.SetStatusText(text); }
    std::string StatusText() const override { return inner_.StatusText(); }
    void OnStatusText(std::function<void(const std::string&)> listener) override {
        inner_.OnStatusText(std::move(listener));
    }
    std::shared_ptr<Connection> HostConnection() override { return inner_.HostConnection(); }
    std::int32_t NextSequenceValue(std::string_view sequence) override {
        return inner_.NextSequenceValue(sequence);
    }

  private:
    AppServer& inner_;
};

}  // namespace vym::test
