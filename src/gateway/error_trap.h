#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace vym {

class Connection;
class ErrorObject;

// The module source prefix: "VYMItem.<module> (<major>.<minor>.<revision>)".
std::string ModuleSourcePrefix(std::string_view module);

// The error trap every public operation runs under. Each module keeps one:
// it knows the module's source prefix and the last error caught.
//
//   bool result = false;
//   trap_.Run(errorObject, "FunctionUpdate", connection, [&] { ...; result = true; });
//   return result;
//
// On an error the body is left, the number and description are kept, the
// error is reported to the error object (when there is one) with the source
// "<prefix> <procedure>", and Run returns False. The trap shows no message.
class ErrorTrap {
  public:
    // A module's name, known when the program is compiled (a literal), so
    // that a trap can keep the pointer. Implicit, so that a literal is one.
    struct Module {
        consteval Module(const char* name) : name(name) {}
        const char* name;
    };

    // A module of the component ("ItemMaint", "CItem").
    explicit ErrorTrap(Module module) : module_(module.name) {}
    // A shared code module reports under its bare name ("modDBFiller").
    static ErrorTrap Shared(Module module) { return ErrorTrap(module.name, true); }

    template <class Body>
    bool Run(ErrorObject* errors, std::string_view procedure, const Connection* connection,
             Body&& body) {
        try {
            std::forward<Body>(body)();
            return true;
        } catch (...) {
            Caught(errors, procedure, connection);
            return false;
        }
    }

    // Worked out when asked: a record opens a trap of its own every time, and
    // most never catch anything.
    std::string Prefix() const { return shared_ ? module_ : ModuleSourcePrefix(module_); }
    std::int32_t LastErrorNumber() const { return lastNumber_; }
    const std::string& LastErrorDescription() const { return lastDescription_; }

  private:
    ErrorTrap(const char* module, bool shared) : module_(module), shared_(shared) {}
    // Called inside the catch block: classifies std::current_exception().
    void Caught(ErrorObject* errors, std::string_view procedure, const Connection* connection);

    const char* module_;
    bool shared_ = false;
    std::int32_t lastNumber_ = 0;
    std::string lastDescription_;
};

}  // namespace vym
