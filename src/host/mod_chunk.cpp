#include "host/mod_chunk.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/error.h"
#include "base/prompter.h"
#include "base/value.h"
#include "gateway/error_trap.h"
#include "gateway/field.h"

namespace vym {
namespace {

constexpr std::int32_t kChunkSize = 1024;

ErrorTrap& Trap() {
    static ErrorTrap trap = ErrorTrap::Shared("modChunk");
    return trap;
}

bool IsBinary(const Field& field) {
    return field.Type() == DataType::VarBinary || field.Type() == DataType::LongVarBinary;
}

Value AsFieldData(const Field& field, std::string bytes) {
    if (IsBinary(field)) {
        return Value(Bytes(bytes.begin(), bytes.end()));
    }
    return Value(std::move(bytes));
}

void AppendAsBytes(std::string& out, const Value& data) {
    if (data.Type() == VarType::Binary) {
        const Bytes bytes = data.ToBytes();
        out.append(bytes.begin(), bytes.end());
    } else {
        out += data.ToString();
    }
}

std::string ReadWholeFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        return {};
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Removes the work file unless it was moved into place.
class WorkFile {
  public:
    explicit WorkFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~WorkFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    WorkFile(const WorkFile&) = delete;
    WorkFile& operator=(const WorkFile&) = delete;
    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace

bool FileToColumn(ErrorObject* errors, Field& field, const std::string& fileName) {
    bool result = false;
    Trap().Run(errors, "FileToColumn", nullptr, [&] {
        const std::string content = ReadWholeFile(fileName);
        if (content.empty()) {
            MsgBox(fileName + " empty file or not found.");
            return;
        }
        if ((field.Attributes() & kFieldLong) == 0) {
            field.SetValue(AsFieldData(field, content));
            result = true;
            return;
        }
        const std::size_t chunks = content.size() / kChunkSize;
        const std::size_t remainder = content.size() % kChunkSize;
        field.AppendChunk(AsFieldData(field, {}));
        if (remainder > 0) {
            field.AppendChunk(AsFieldData(field, content.substr(0, remainder)));
        }
        for (std::size_t i = 0; i < chunks; ++i) {
            field.AppendChunk(
                AsFieldData(field, content.substr(remainder + i * kChunkSize, kChunkSize)));
        }
        result = true;
    });
    return result;
}

bool ColumnToFile(ErrorObject* errors, Field& field, const std::string& fileName) {
    bool result = false;
    Trap().Run(errors, "ColumnToFile", nullptr, [&] {
        std::string content;
        if ((field.Attributes() & kFieldLong) == 0) {
            const Value value = field.Value();
            if (!value.IsNull()) {
                AppendAsBytes(content, value);
            }
        } else {
            const std::int32_t size = field.ActualSize();
            while (static_cast<std::int64_t>(content.size()) < size) {
                const auto remaining = size - static_cast<std::int32_t>(content.size());
                const Value chunk = field.GetChunk(std::min(kChunkSize, remaining));
                const std::size_t before = content.size();
                if (!chunk.IsNull()) {
                    AppendAsBytes(content, chunk);
                }
                if (content.size() == before) {
                    break;  // the field held less than it claimed
                }
            }
        }

        const std::filesystem::path target(fileName);
        WorkFile work(target.string() + ".part");
        {
            std::ofstream out(work.Path(), std::ios::binary | std::ios::trunc);
            out.write(content.data(), static_cast<std::streamsize>(content.size()));
            out.close();
            if (!out) {
                throw Error(errc::kUnspecified, "modChunk",
                            "Unable to write the file " + fileName + ".");
            }
        }
        std::filesystem::rename(work.Path(), target);
        result = true;
    });
    return result;
}

}  // namespace vym
