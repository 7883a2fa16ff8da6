#include "support/server/failing_reads.h"

#include <sqlite3.h>

#include <stdexcept>

namespace vym::test {
namespace {

// The engine's file system is process-wide, and so is its stand-in.
struct Shim {
    sqlite3_vfs vfs{};
    sqlite3_vfs* real = nullptr;
    const sqlite3_io_methods* realMethods = nullptr;
    sqlite3_io_methods methods{};
    int code = 0;
    int reads = 0;  // of the file opened last
};
Shim shim;

int FailingRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    if (shim.reads++ > 0) {
        return shim.code;
    }
    return shim.realMethods->xRead(file, buffer, amount, offset);
}

// Opens as the real file system does, then swaps in a copy of the file's
// methods whose read fails.
int OpenFile(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
    const int rc = shim.real->xOpen(shim.real, name, file, flags, outFlags);
    if (rc == SQLITE_OK && (flags & SQLITE_OPEN_MAIN_DB) != 0) {
        shim.realMethods = file->pMethods;
        shim.methods = *file->pMethods;
        shim.methods.xRead = FailingRead;
        file->pMethods = &shim.methods;
        shim.reads = 0;
    }
    return rc;
}

}  // namespace

FailingReads::FailingReads(int code) {
    if (shim.real != nullptr) {
        throw std::logic_error("only one FailingReads at a time");
    }
    shim.real = sqlite3_vfs_find(nullptr);
    shim.vfs = *shim.real;
    shim.vfs.zName = "vym-failing-reads";
    shim.vfs.xOpen = OpenFile;
    shim.code = code;
    sqlite3_vfs_register(&shim.vfs, 1);
}

FailingReads::~FailingReads() {
    // The real file system becomes the default again.
    sqlite3_vfs_unregister(&shim.vfs);
    shim.real = nullptr;
}

}  // namespace vym::test
