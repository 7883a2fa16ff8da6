#include "serials/serial_screens.h"

#include "gateway/app_server.h"
#include "host/plug_in_registry.h"
#include "host/screen_context.h"
#include "host/screen_registry.h"
#include "serials/frm_batch_format.h"
#include "serials/frm_serial_properties.h"
#include "serials/serial.h"

namespace vym {

void RegisterSerialScreens(PlugInRegistry& plugIns, ScreenRegistry& screens) {
    plugIns.Register<Serial>();
    screens.Register("serial-console", [](const ScreenRequest& request) {
        auto console = std::make_unique<Serial>();
        console->implements_SetAppServer(&request.server);
        console->implements_Setup();
        console->implements_Enable();
        console->resize(1100, 560);
        console->Setup(request.server.DBConnection(), &request.server.ErrorObject(),
                       &request.context, 0, {}, {}, "BASE");
        return console;
    });
    screens.Register("serial-properties", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmSerialProperties>();
        window->Setup(&request.context, 600, "RSB00003");
        return window;
    });
    screens.Register("batch-format", [](const ScreenRequest& request) {
        auto window = std::make_unique<frmBatchFormat>();
        window->Setup(request.server.DBConnection().get(), &request.server.ErrorObject());
        return window;
    });
}

}  // namespace vym
