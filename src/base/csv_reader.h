#pragma once

#include <cstdint>
#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vym::csv {

// How the bytes of a file were read as text.
enum class Encoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Windows1252 };

// What users are told the file was read as ("UTF-8", "Windows-1252" ...).
const char* EncodingName(Encoding encoding);

// A file that cannot be read as records; says where.
class ReadError : public std::runtime_error {
  public:
    ReadError(const std::string& message, std::int64_t line)
        : std::runtime_error(message), line_(line) {}
    std::int64_t Line() const { return line_; }

  private:
    std::int64_t line_;
};

// Reads comma-separated records (RFC 4180: quoted fields may hold commas,
// doubled quotes and line breaks) one at a time, so that a file of any size
// is never held in memory. Every field is returned as the text it is, in
// UTF-8: nothing is evaluated. A file with a byte-order mark is read in its
// encoding; one without is UTF-8 when all of it is valid UTF-8, otherwise
// Windows-1252 (what spreadsheets save as "CSV" on most office machines).
// Blank lines are skipped.
class Reader {
  public:
    // `in` must be seekable: it is looked over once for its encoding before
    // the first record is read. It must outlive the reader.
    explicit Reader(std::istream& in);

    Encoding TextEncoding() const { return encoding_; }

    // The next record's fields; False after the last one. Throws ReadError
    // naming the line where a quote that is never closed was opened.
    bool Next(std::vector<std::string>& fields);
    // The line of the file on which the record last read begins (1-based).
    std::int64_t RecordLine() const { return recordLine_; }
    // Bytes of the file read so far, and in all, for progress.
    std::uint64_t BytesRead() const { return bytesRead_; }
    std::uint64_t Size() const { return size_; }

  private:
    void DetectEncoding();
    bool Fill();
    int Peek();
    void Decode(const char* bytes, std::size_t count);
    void AppendUtf16(char32_t unit);
    bool EndRecord(std::vector<std::string>& fields, std::string& field, bool quoted);

    std::istream& in_;
    Encoding encoding_ = Encoding::Utf8;
    std::uint64_t size_ = 0;
    std::uint64_t bytesRead_ = 0;
    std::string text_;  // decoded text not yet parsed, from pos_
    std::size_t pos_ = 0;
    std::string carry_;  // bytes of a UTF-16 unit split across reads
    char32_t highSurrogate_ = 0;
    std::int64_t line_ = 1;
    std::int64_t recordLine_ = 1;
};

}  // namespace vym::csv
