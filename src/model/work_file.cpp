#include "model/work_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

#include "base/error.h"

namespace vym {
namespace {

[[noreturn]] void Fail(std::int32_t number, const std::filesystem::path& path) {
    throw Error(number, "VYMItem", path.string() + ": " + std::strerror(errno));
}

}  // namespace

WorkFile::WorkFile(std::string_view content) {
    // mkstemp picks the unique name and opens it exclusively in one step.
    std::string name = (std::filesystem::temp_directory_path() / "vymXXXXXX.tmp").string();
    const int fd = mkstemps(name.data(), 4);
    if (fd < 0) {
        Fail(errc::kPathFileAccess, name);
    }
    path_ = name;
    std::size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            ::close(fd);
            std::filesystem::remove(path_);
            Fail(errc::kPathFileAccess, path_);
        }
        written += static_cast<std::size_t>(n);
    }
    ::close(fd);
}

WorkFile::~WorkFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Fail(errc::kFileNotFound, path);
    }
    std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        Fail(errc::kFileNotFound, path);
    }
    return content;
}

}  // namespace vym
