#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vym {

// A temporary work file in the system's temporary directory, under a name no
// other file has, removed when the object goes. Template content lives in one
// between loading and saving, so that the designer and the exported file see
// the very bytes the database holds.
class WorkFile {
  public:
    // Creates the file holding `content`; throws Error(kPathFileAccess) when it
    // cannot be written.
    explicit WorkFile(std::string_view content);
    ~WorkFile();
    WorkFile(const WorkFile&) = delete;
    WorkFile& operator=(const WorkFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// The whole content of a file, byte for byte; throws Error(kFileNotFound) when
// it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace vym
