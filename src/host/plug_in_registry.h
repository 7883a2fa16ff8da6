#pragma once

#include <QWidget>
#include <functional>
#include <type_traits>
#include <vector>

#include "host/vym_interface.h"

namespace vym {

// The consoles the back office hosts as plug-in applications, in tab order.
// The program registers each console class once at start; the main window
// builds one of each and drives it through the host's plug-in interface.
class PlugInRegistry {
  public:
    struct Created {
        QWidget* widget;       // owned by the parent it was built on
        VYMInterface* plugIn;  // the same object
    };
    using Factory = std::function<Created(QWidget* parent)>;

    template <class Console>
    void Register() {
        static_assert(
            std::is_base_of_v<QWidget, Console> && std::is_base_of_v<VYMInterface, Console>,
            "a hosted console is a widget implementing VYMInterface");
        factories_.push_back([](QWidget* parent) {
            auto* console = new Console(parent);
            return Created{console, console};
        });
    }
    const std::vector<Factory>& Factories() const { return factories_; }

  private:
    std::vector<Factory> factories_;
};

}  // namespace vym
