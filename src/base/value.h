#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/currency.h"
#include "base/date.h"

namespace vym {

enum class VarType : std::uint8_t {
    Empty,
    Null,
    Boolean,
    Byte,
    Integer,  // 16-bit signed
    Long,     // 32-bit signed
    Single,
    Double,
    Currency,
    Date,
    String,
    Binary,
};

using Bytes = std::vector<std::uint8_t>;

// A value of any of the Automation types, or Null, or Empty (never assigned).
//
// Conversions follow the host's rules: numbers round half to even into the
// integer types, True converts to -1, strings are parsed as a user types
// numbers, and a value out of the target's range raises Error(kOverflow)
// rather than wrapping. Converting Null raises Error(kInvalidUseOfNull); the
// Null helpers (NullToZero, NullToEmpty) are the way to read a nullable value.
class Value {
  public:
    Value() = default;  // Empty
    Value(bool v) : data_(v) {}
    Value(std::uint8_t v) : data_(v) {}
    Value(std::int16_t v) : data_(v) {}
    Value(std::int32_t v) : data_(v) {}
    Value(float v) : data_(v) {}
    Value(double v) : data_(v) {}
    Value(vym::Currency v) : data_(v) {}
    Value(vym::Date v) : data_(v) {}
    Value(std::string v) : data_(std::move(v)) {}
    Value(std::string_view v) : data_(std::string(v)) {}
    Value(const char* v) : data_(std::string(v)) {}
    Value(Bytes v) : data_(std::move(v)) {}

    static Value Null() {
        Value v;
        v.data_ = NullTag{};
        return v;
    }
    // A 64-bit database integer: Long when it fits, else Double.
    static Value FromInt64(std::int64_t v);

    VarType Type() const { return static_cast<VarType>(data_.index()); }
    bool IsNull() const { return Type() == VarType::Null; }
    bool IsEmpty() const { return Type() == VarType::Empty; }
    // Boolean, Byte, Integer, Long, Single, Double or Currency.
    bool IsNumber() const;

    bool ToBool() const;
    std::uint8_t ToByte() const;
    std::int16_t ToInteger() const;
    std::int32_t ToLong() const;
    float ToSingle() const;
    double ToDouble() const;
    vym::Currency ToCurrency() const;
    vym::Date ToDate() const;
    // Numbers in their shortest plain form ("12.5", "-1"), True as "True",
    // dates as m/d/yyyy [h:nn:ss AM/PM], Empty as "".
    std::string ToString() const&;
    // A temporary String gives up its text rather than copying it.
    std::string ToString() &&;
    Bytes ToBytes() const;

    // Same type and same value; Null equals Null.
    bool operator==(const Value& other) const = default;

  private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    std::variant<std::monostate, NullTag, bool, std::uint8_t, std::int16_t, std::int32_t, float,
                 double, vym::Currency, vym::Date, std::string, Bytes>
        data_;
};

// The Null helpers every screen uses.
Value NullToZero(const Value& v);         // Integer 0 when Null (or Empty), else the value
std::string NullToEmpty(const Value& v);  // "" when Null (or Empty), else the value as text
Value ValueOrDefault(const Value& v, const Value& fallback);  // fallback when Null

}  // namespace vym
