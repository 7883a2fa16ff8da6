#include "host/mod_chunk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/error.h"
#include "gateway/error_object.h"
#include "gateway/field.h"
#include "support/core/prompter_script.h"
#include "support/core/recording_errors.h"
#include "support/server/temp_database.h"

namespace vym {
namespace {

// A long-data field that records what is written to it and serves its content
// back in the chunks asked for.
class RecordingField : public Field {
  public:
    RecordingField(DataType type, std::int32_t attributes) : type_(type), attributes_(attributes) {}

    const std::string& Name() const override { return name_; }
    DataType Type() const override { return type_; }
    std::int32_t Attributes() const override { return attributes_; }
    std::int32_t ActualSize() const override { return static_cast<std::int32_t>(content.size()); }
    std::int32_t DefinedSize() const override { return 0; }
    vym::Value Value() const override { return vym::Value(content); }
    void SetValue(const vym::Value& value) override { setValues.push_back(value); }
    vym::Value GetChunk(std::int32_t length) override {
        requested.push_back(length);
        if (failAfterChunks >= 0 && static_cast<int>(requested.size()) > failAfterChunks) {
            throw Error(errc::kDatabase, "gateway", "connection lost");
        }
        if (readAt_ >= content.size()) {
            return vym::Value::Null();
        }
        std::string chunk = content.substr(readAt_, static_cast<std::size_t>(length));
        readAt_ += chunk.size();
        return vym::Value(std::move(chunk));
    }
    void AppendChunk(const vym::Value& data) override { appended.push_back(data); }

    std::string content;
    int failAfterChunks = -1;
    std::vector<vym::Value> appended;
    std::vector<vym::Value> setValues;
    std::vector<std::int32_t> requested;

  private:
    std::string name_ = "template_text";
    DataType type_;
    std::int32_t attributes_;
    std::size_t readAt_ = 0;
};

class ModChunk : public ::testing::Test {
  protected:
    std::string PathOf(const std::string& name) const { return (dir_.path / name).string(); }
    static void Write(const std::string& path, const std::string& content) {
        std::ofstream(path, std::ios::binary) << content;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static std::string Pattern(std::size_t size) {
        std::string text(size, ' ');
        for (std::size_t i = 0; i < size; ++i) {
            text[i] = static_cast<char>('a' + i % 26);
        }
        return text;
    }

    test::TempDir dir_;
    test::PrompterScript prompter_;
    test::RecordingErrors errors_;
};

TEST_F(ModChunk, FileToColumnAppendsRemainderFirstThenWholeChunks) {
    const std::string content = Pattern(2500);
    Write(PathOf("label.tpl"), content);
    RecordingField field(DataType::LongVarChar, kFieldLong);

    EXPECT_TRUE(FileToColumn(&errors_, field, PathOf("label.tpl")));

    ASSERT_EQ(field.appended.size(), 4u);
    EXPECT_EQ(field.appended[0].ToString(), "");  // resets the column
    EXPECT_EQ(field.appended[1].ToString().size(), 452u);
    EXPECT_EQ(field.appended[2].ToString().size(), 1024u);
    EXPECT_EQ(field.appended[3].ToString().size(), 1024u);
    EXPECT_EQ(
        field.appended[1].ToString() + field.appended[2].ToString() + field.appended[3].ToString(),
        content);
    EXPECT_TRUE(errors_.reports.empty());
}

TEST_F(ModChunk, FileToColumnRefusesEmptyOrMissingFiles) {
    Write(PathOf("empty.txt"), "");
    RecordingField field(DataType::LongVarChar, kFieldLong);
    prompter_.ExpectMessage(PathOf("empty.txt") + " empty file or not found.", "", MsgStyle{})
        .ExpectMessage(PathOf("missing.txt") + " empty file or not found.", "", MsgStyle{});

    EXPECT_FALSE(FileToColumn(&errors_, field, PathOf("empty.txt")));
    EXPECT_FALSE(FileToColumn(&errors_, field, PathOf("missing.txt")));

    EXPECT_TRUE(field.appended.empty());
    EXPECT_TRUE(field.setValues.empty());
}

TEST_F(ModChunk, ShortFieldsAreCopiedInOnePieceBothWaysAndBinaryStaysBinary) {
    Write(PathOf("small.bin"), std::string("a\0b", 3));
    RecordingField text(DataType::VarChar, 0);
    RecordingField binary(DataType::LongVarBinary, kFieldLong);

    EXPECT_TRUE(FileToColumn(&errors_, text, PathOf("small.bin")));
    EXPECT_TRUE(FileToColumn(&errors_, binary, PathOf("small.bin")));

    ASSERT_EQ(text.setValues.size(), 1u);
    EXPECT_EQ(text.setValues[0].ToString(), std::string("a\0b", 3));
    EXPECT_TRUE(text.appended.empty());
    ASSERT_EQ(binary.appended.size(), 2u);
    EXPECT_EQ(binary.appended[1].Type(), VarType::Binary);
    EXPECT_EQ(binary.appended[1].ToBytes(), (Bytes{'a', 0, 'b'}));

    // And back: a short field is written whole, without chunks.
    text.content = "plain text";
    EXPECT_TRUE(ColumnToFile(&errors_, text, PathOf("plain.txt")));
    EXPECT_EQ(Read(PathOf("plain.txt")), "plain text");
    EXPECT_TRUE(text.requested.empty());
}

TEST_F(ModChunk, ColumnToFileReadsChunksUpToActualSizeAndReplacesTheFile) {
    RecordingField field(DataType::LongVarChar, kFieldLong);
    field.content = Pattern(2500);
    Write(PathOf("out.tpl"), Pattern(5000));  // longer: no stale tail may survive

    EXPECT_TRUE(ColumnToFile(&errors_, field, PathOf("out.tpl")));

    EXPECT_EQ(Read(PathOf("out.tpl")), field.content);
    EXPECT_EQ(field.requested, (std::vector<std::int32_t>{1024, 1024, 452}));
}

TEST_F(ModChunk, FailedReadKeepsTheOldFileAndReportsUnderModChunk) {
    RecordingField field(DataType::LongVarChar, kFieldLong);
    field.content = Pattern(3000);
    field.failAfterChunks = 1;
    Write(PathOf("keep.tpl"), "the user's template");

    EXPECT_FALSE(ColumnToFile(&errors_, field, PathOf("keep.tpl")));

    EXPECT_EQ(Read(PathOf("keep.tpl")), "the user's template");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path),
                            std::filesystem::directory_iterator()),
              1);
    ASSERT_EQ(errors_.reports.size(), 1u);
    EXPECT_EQ(errors_.reports[0].Source, "modChunk ColumnToFile");
    EXPECT_EQ(errors_.reports[0].Description, "connection lost");
}

}  // namespace
}  // namespace vym
