#include "gateway/error_trap.h"

#include <exception>
#include <new>

#include "base/error.h"
#include "gateway/connection.h"
#include "gateway/error_object.h"
#include "vym/version.h"

namespace vym {

std::string ModuleSourcePrefix(std::string_view module) {
    return std::string(version::kComponentTitle) + "." + std::string(module) + " (" +
           std::to_string(version::kMajor) + "." + std::to_string(version::kMinor) + "." +
           std::to_string(version::kRevision) + ")";
}

void ErrorTrap::Caught(ErrorObject* errors, std::string_view procedure,
                       const Connection* connection) {
    try {
        throw;
    } catch (const Error& e) {
        lastNumber_ = e.Number();
        lastDescription_ = e.Description();
    } catch (const std::bad_alloc&) {
        lastNumber_ = errc::kOutOfMemory;
        lastDescription_ = "Out of memory";
    } catch (const std::exception& e) {
        lastNumber_ = errc::kUnspecified;
        lastDescription_ = e.what();
    } catch (...) {
        lastNumber_ = errc::kUnspecified;
        lastDescription_ = "Unspecified error";
    }
    if (errors == nullptr) {
        return;
    }
    ErrorReport report;
    report.Number = lastNumber_;
    report.Source = Prefix().append(" ").append(procedure);
    report.Description = lastDescription_;
    report.NativeConnection = connection != nullptr ? &connection->Native() : nullptr;
    errors->Report(report);
}

}  // namespace vym
