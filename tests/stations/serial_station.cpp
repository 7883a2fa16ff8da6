// One station of the serial race: opens the back office at argv[1] as user
// argv[2] and makes argv[5] new units of item argv[3] at location argv[4],
// each cycle saving a generated serial id and then one typed by hand,
// argv[6] + the cycle's number, that the other station types too. Prints how
// the saves went: generated and typed ids saved, refused as not unique,
// failed in any other way.
#include <cstdio>
#include <exception>
#include <string>

#include "base/prompter.h"
#include "gateway/procedure_call.h"
#include "model/cstock_serial.h"
#include "server/local_app_server.h"

namespace {

constexpr std::string_view kNotUnique = "The serial number you have provided is not unique.";

// Answers every message and remembers the last one the station was shown.
class RecordingPrompter : public vym::Prompter {
  public:
    vym::MsgResult Message(std::string_view text, vym::MsgStyle style,
                           std::string_view /*title*/) override {
        last = std::string(text);
        return vym::DefaultButton(style);
    }
    std::optional<std::string> Input(std::string_view, std::string_view,
                                     std::string_view) override {
        return std::nullopt;
    }
    std::optional<std::string> OpenFile(std::string_view, std::string_view,
                                        std::string_view) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFile(std::string_view, std::string_view,
                                        std::string_view) override {
        return std::nullopt;
    }
    void SetBusy(bool) override {}
    void ProcessPendingInput() override {}

    std::string last;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 7) {
        std::fprintf(stderr,
                     "usage: serial_station DATABASE USER ITEM LOCATION CYCLES TYPED_PREFIX\n");
        return 2;
    }
    RecordingPrompter prompter;
    vym::SetPrompter(&prompter);
    try {
        vym::server::OpenOptions options;
        options.userId = argv[2];
        options.createIfMissing = false;
        auto server = vym::server::LocalAppServer::Open(argv[1], options);
        vym::Connection* db = server->DBConnection().get();
        vym::ErrorObject* errors = &server->ErrorObject();
        const int item = std::stoi(argv[3]);
        const int cycles = std::stoi(argv[5]);
        int generated = 0, typed = 0, notUnique = 0, failed = 0;
        const auto save = [&](const std::string& id, int& saved) {
            vym::CStockSerial unit;
            unit.ItemNo = item;
            unit.LocationId = argv[4];
            unit.SerialId = id;
            prompter.last.clear();
            if (unit.Update(db, errors, true)) {
                ++saved;
            } else if (prompter.last == kNotUnique) {
                ++notUnique;
            } else {
                ++failed;
            }
        };
        for (int i = 0; i < cycles; ++i) {
            auto cmd = vym::NewProcedure(*db, "VYM_SP_SERIAL_GenerateUniqueSerial",
                                         {{"@item_no", item}, {"@location_id", argv[4]}});
            if (!db->Execute(*cmd) || cmd->Parameters["@RETURN_VALUE"].Value.ToLong() < 0) {
                ++failed;
                continue;
            }
            save(vym::NullToEmpty(cmd->Parameters["@serial_id"].Value), generated);
            save(argv[6] + std::to_string(i), typed);
        }
        std::printf("generated=%d typed=%d notunique=%d failed=%d\n", generated, typed, notUnique,
                    failed);
        vym::SetPrompter(nullptr);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        vym::SetPrompter(nullptr);
        return 1;
    }
}
