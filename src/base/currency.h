#pragma once

#include <compare>
#include <cstdint>

namespace vym {

// Fixed-point amount with four decimal places: a 64-bit integer scaled by 10,000.
class Currency {
  public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Currency() = default;
    static constexpr Currency FromRaw(std::int64_t raw) {
        Currency c;
        c.raw_ = raw;
        return c;
    }
    // Rounds to four places, half to even (as a host converts a Double to Currency).
    // Throws Error(kOverflow) outside the representable range.
    static Currency FromDouble(double value);

    constexpr std::int64_t Raw() const { return raw_; }
    double ToDouble() const { return static_cast<double>(raw_) / kScale; }

    constexpr auto operator<=>(const Currency&) const = default;
    Currency operator+(Currency other) const;  // throws on overflow
    Currency operator-(Currency other) const;
    Currency operator-() const;
    // Times a whole number (a quantity); throws on overflow.
    Currency operator*(std::int64_t factor) const;
    // Divided by a whole number other than 0, rounded half to even to four places.
    Currency DividedBy(std::int64_t divisor) const;
    // This amount times `factor` divided by `divisor`, exactly, then rounded
    // half to even to four places: a share of a price (price x 15 / 100)
    // without passing through binary floating point. Throws Error(kOverflow)
    // when the result does not fit, Error(kDivisionByZero) for a zero divisor.
    Currency MulDiv(Currency factor, Currency divisor) const;

  private:
    std::int64_t raw_ = 0;
};

}  // namespace vym
