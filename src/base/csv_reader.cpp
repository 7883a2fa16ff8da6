#include "base/csv_reader.h"

#include <array>

namespace vym::csv {
namespace {

constexpr std::size_t kChunk = 1 << 16;

// Windows-1252 at 0x80-0x9F; the five bytes it leaves undefined stay the C1
// controls of the same number, as Windows reads them.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Checks UTF-8 a piece at a time; a sequence may run on into the next piece.
class Utf8Check {
  public:
    bool Feed(const unsigned char* bytes, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const unsigned char b = bytes[i];
            if (pending_ > 0) {
                if ((b & 0xC0) != 0x80 || b < low_ || b > high_) {
                    return false;
                }
                low_ = 0x80;
                high_ = 0xBF;
                --pending_;
            } else if (b >= 0x80 && !Lead(b)) {
                return false;
            }
        }
        return true;
    }
    bool Complete() const { return pending_ == 0; }

  private:
    // Sets what the continuation bytes of a sequence led by `b` may be,
    // refusing overlong forms and surrogates.
    bool Lead(unsigned char b) {
        low_ = 0x80;
        high_ = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            pending_ = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            pending_ = 2;
            low_ = b == 0xE0 ? 0xA0 : 0x80;
            high_ = b == 0xED ? 0x9F : 0xBF;
        } else if (b >= 0xF0 && b <= 0xF4) {
            pending_ = 3;
            low_ = b == 0xF0 ? 0x90 : 0x80;
            high_ = b == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        return true;
    }

    int pending_ = 0;
    unsigned char low_ = 0x80;
    unsigned char high_ = 0xBF;
};

}  // namespace

const char* EncodingName(Encoding encoding) {
    switch (encoding) {
        case Encoding::Utf8:
            return "UTF-8";
        case Encoding::Utf8Bom:
            return "UTF-8 (with byte-order mark)";
        case Encoding::Utf16LE:
            return "UTF-16 LE";
        case Encoding::Utf16BE:
            return "UTF-16 BE";
        case Encoding::Windows1252:
            return "Windows-1252";
    }
    return "";
}

Reader::Reader(std::istream& in) : in_(in) {
    DetectEncoding();
}

void Reader::DetectEncoding() {
    in_.seekg(0, std::ios::end);
    size_ = static_cast<std::uint64_t>(std::max<std::streamoff>(in_.tellg(), 0));
    in_.seekg(0);
    std::array<unsigned char, 3> head{};
    in_.read(reinterpret_cast<char*>(head.data()), head.size());
    const auto got = static_cast<std::size_t>(in_.gcount());
    std::streamoff skip = 0;
    if (got >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) {
        encoding_ = Encoding::Utf8Bom;
        skip = 3;
    } else if (got >= 2 && head[0] == 0xFF && head[1] == 0xFE) {
        encoding_ = Encoding::Utf16LE;
        skip = 2;
    } else if (got >= 2 && head[0] == 0xFE && head[1] == 0xFF) {
        encoding_ = Encoding::Utf16BE;
        skip = 2;
    } else {
        in_.clear();
        in_.seekg(0);
        Utf8Check check;
        std::string chunk(kChunk, '\0');
        bool valid = true;
        while (valid && in_.read(chunk.data(), kChunk).gcount() > 0) {
            valid = check.Feed(reinterpret_cast<const unsigned char*>(chunk.data()),
                               static_cast<std::size_t>(in_.gcount()));
        }
        encoding_ = valid && check.Complete() ? Encoding::Utf8 : Encoding::Windows1252;
    }
    in_.clear();
    in_.seekg(skip);
    bytesRead_ = static_cast<std::uint64_t>(skip);
}

void Reader::AppendUtf16(char32_t unit) {
    if (highSurrogate_ != 0) {
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
            AppendUtf8(text_, 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
            highSurrogate_ = 0;
            return;
        }
        AppendUtf8(text_, 0xFFFD);
        highSurrogate_ = 0;
    }
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        highSurrogate_ = unit;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
        AppendUtf8(text_, 0xFFFD);
    } else {
        AppendUtf8(text_, unit);
    }
}

void Reader::Decode(const char* bytes, std::size_t count) {
    switch (encoding_) {
        case Encoding::Utf8:
        case Encoding::Utf8Bom:
            text_.append(bytes, count);
            return;
        case Encoding::Windows1252:
            for (std::size_t i = 0; i < count; ++i) {
                const auto b = static_cast<unsigned char>(bytes[i]);
                AppendUtf8(text_, b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b);
            }
            return;
        case Encoding::Utf16LE:
        case Encoding::Utf16BE: {
            carry_.append(bytes, count);
            const bool little = encoding_ == Encoding::Utf16LE;
            std::size_t i = 0;
            for (; i + 1 < carry_.size(); i += 2) {
                const auto a = static_cast<unsigned char>(carry_[i]);
                const auto b = static_cast<unsigned char>(carry_[i + 1]);
                AppendUtf16(little ? char32_t(a | (b << 8)) : char32_t((a << 8) | b));
            }
            carry_.erase(0, i);
            return;
        }
    }
}

bool Reader::Fill() {
    text_.erase(0, pos_);
    pos_ = 0;
    std::string chunk(kChunk, '\0');
    while (in_.read(chunk.data(), kChunk), in_.gcount() > 0) {
        const auto got = static_cast<std::size_t>(in_.gcount());
        bytesRead_ += got;
        const std::size_t before = text_.size();
        Decode(chunk.data(), got);
        if (text_.size() > before) {
            return true;
        }
    }
    return false;
}

int Reader::Peek() {
    if (pos_ >= text_.size() && !Fill()) {
        return -1;
    }
    return static_cast<unsigned char>(text_[pos_]);
}

// True when the record holds anything: a blank line is no record.
bool Reader::EndRecord(std::vector<std::string>& fields, std::string& field, bool quoted) {
    if (fields.empty() && field.empty() && !quoted) {
        return false;
    }
    fields.push_back(std::move(field));
    field.clear();
    return true;
}

bool Reader::Next(std::vector<std::string>& fields) {
    fields.clear();
    std::string field;
    bool quoted = false;    // the field began with a quote
    bool inQuotes = false;  // inside that quote
    std::int64_t quoteLine = 0;
    recordLine_ = line_;
    for (int c = Peek();; c = Peek()) {
        if (c < 0) {
            if (inQuotes) {
                throw ReadError(
                    "A quote opened on line " + std::to_string(quoteLine) + " is never closed.",
                    quoteLine);
            }
            return EndRecord(fields, field, quoted);
        }
        ++pos_;
        if (inQuotes) {
            if (c == '"') {
                if (Peek() == '"') {
                    ++pos_;
                    field += '"';
                } else {
                    inQuotes = false;
                }
                continue;
            }
            if (c == '\n' || (c == '\r' && Peek() != '\n')) {
                ++line_;
            }
            field += static_cast<char>(c);
        } else if (c == ',') {
            fields.push_back(std::move(field));
            field.clear();
            quoted = false;
        } else if (c == '"' && field.empty() && !quoted) {
            quoted = inQuotes = true;
            quoteLine = line_;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && Peek() == '\n') {
                ++pos_;
            }
            ++line_;
            if (EndRecord(fields, field, quoted)) {
                return true;
            }
            recordLine_ = line_;
        } else {
            field += static_cast<char>(c);
        }
    }
}

}  // namespace vym::csv
