// One station of the item save race: opens the back office at argv[1] as
// user argv[2] and runs argv[4] read-modify-save cycles of item argv[3], each
// adding one to the counter kept in the item's comment note. Prints how the
// cycles went: saved, refused as a conflict (and how many of those named
// argv[5], the other station's user), failed in any other way.
#include <cstdio>
#include <exception>
#include <string>

#include "model/citem.h"
#include "server/local_app_server.h"

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: save_station DATABASE USER ITEM CYCLES OTHER_USER\n");
        return 2;
    }
    try {
        vym::server::OpenOptions options;
        options.userId = argv[2];
        options.createIfMissing = false;
        auto server = vym::server::LocalAppServer::Open(argv[1], options);
        vym::Connection* db = server->DBConnection().get();
        vym::ErrorObject* errors = &server->ErrorObject();
        const std::string otherSaved = std::string("changed by ") + argv[5] + " at ";
        const int cycles = std::stoi(argv[4]);
        int saved = 0, conflicts = 0, reported = 0, failed = 0;
        for (int i = 0; i < cycles; ++i) {
            vym::CItem item;
            if (!item.OpenItem(db, errors, std::stoi(argv[3]))) {
                ++failed;
                continue;
            }
            item.CommentNote = std::to_string(std::stoi(item.CommentNote) + 1);
            if (item.Update(db, errors)) {
                ++saved;
            } else if (!item.RowConflict().empty()) {
                ++conflicts;
                reported += item.RowConflict().find(otherSaved) != std::string::npos ? 1 : 0;
            } else {
                ++failed;
            }
        }
        std::printf("saved=%d conflicts=%d reported=%d failed=%d\n", saved, conflicts, reported,
                    failed);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
