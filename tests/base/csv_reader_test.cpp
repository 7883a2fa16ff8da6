#include "base/csv_reader.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace vym::csv {
namespace {

using Records = std::vector<std::vector<std::string>>;

std::string Utf16(std::u16string_view text, bool little) {
    std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        out += little ? std::string{low, high} : std::string{high, low};
    }
    return out;
}

struct Case {
    const char* name;
    std::string bytes;
    Encoding encoding;
    Records records;
    std::vector<std::int64_t> lines;  // where each record begins
};

std::vector<Case> Cases() {
    const std::string wide(70000, 'x');
    return {
        {"QuotedCommasQuotesAndCrLf",
         "a,b\r\n\"x, y\",\"say \"\"hi\"\"\"\r\n\"\",=cmd|' /C calc'!A0,\r\n",
         Encoding::Utf8,
         {{"a", "b"}, {"x, y", "say \"hi\""}, {"", "=cmd|' /C calc'!A0", ""}},
         {1, 2, 3}},
        {"LineBreaksInsideQuotesCountAsLines",
         "h\n\"two\r\nlines\",z\nnext\n\n\r\nlast",
         Encoding::Utf8,
         {{"h"}, {"two\r\nlines", "z"}, {"next"}, {"last"}},
         {1, 2, 4, 7}},
        {"Utf8WithByteOrderMark",
         "\xEF\xBB\xBFName\nCaf\xC3\xA9\n",
         Encoding::Utf8Bom,
         {{"Name"}, {"Caf\xC3\xA9"}},
         {1, 2}},
        {"Utf16LittleEndian",
         Utf16(u"A,\u00e9\r\n\U0001D11E\r\n", true),
         Encoding::Utf16LE,
         {{"A", "\xC3\xA9"}, {"\xF0\x9D\x84\x9E"}},
         {1, 2}},
        {"Utf16BigEndian",
         Utf16(u"\"q,\"\"\",\u20ac\n", false),
         Encoding::Utf16BE,
         {{"q,\"", "\xE2\x82\xAC"}},
         {1}},
        {"NotUtf8IsWindows1252",
         "Caf\xE9,\x80 5\n",
         Encoding::Windows1252,
         {{"Caf\xC3\xA9", "\xE2\x82\xAC 5"}},
         {1}},
        // Only the last byte of a long file gives it away.
        {"NotUtf8PastTheFirstReads",
         wide + ",\xE9",
         Encoding::Windows1252,
         {{wide, "\xC3\xA9"}},
         {1}},
        {"QuotedFieldAcrossReads",
         "\"" + wide + "\"\"\"\"" + wide + "\"\n",
         Encoding::Utf8,
         {{wide + "\"\"" + wide}},
         {1}},
        {"HeaderOnly", "Item No,Stock Id", Encoding::Utf8, {{"Item No", "Stock Id"}}, {1}},
        {"Empty", "", Encoding::Utf8, {}, {}},
    };
}

TEST(CsvReader, ReadsRecordsInEveryEncoding) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        std::istringstream in(c.bytes);
        Reader reader(in);
        EXPECT_EQ(reader.TextEncoding(), c.encoding);
        Records records;
        std::vector<std::int64_t> lines;
        std::vector<std::string> fields;
        while (reader.Next(fields)) {
            records.push_back(fields);
            lines.push_back(reader.RecordLine());
        }
        EXPECT_EQ(records, c.records);
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(reader.BytesRead(), c.bytes.size());
    }
}

TEST(CsvReader, RefusesAQuoteNeverClosedNamingTheLineItOpenedOn) {
    for (const auto& [bytes, line] : std::vector<std::pair<std::string, std::int64_t>>{
             {"a\nb,\"open\nmore\nrows\n", 2}, {"\"", 1}, {"a\r\n\r\n\"x\"\"\n", 3}}) {
        std::istringstream in(bytes);
        Reader reader(in);
        std::vector<std::string> fields;
        try {
            while (reader.Next(fields)) {
            }
            ADD_FAILURE() << "read to the end: " << bytes;
        } catch (const ReadError& e) {
            EXPECT_EQ(e.Line(), line) << bytes;
            EXPECT_EQ(std::string(e.what()),
                      "A quote opened on line " + std::to_string(line) + " is never closed.");
        }
    }
}

}  // namespace
}  // namespace vym::csv
