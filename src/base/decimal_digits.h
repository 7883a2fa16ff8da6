#pragma once

#include <cstdint>
#include <string>

namespace vym {

enum class RoundingMode { HalfEven, HalfAwayFromZero };

// A number as decimal digits, so that rounding and formatting work on the
// value a user reads (1.005 rounds as 1.005, not as its binary neighbour).
// The value is 0.<digits> x 10^exponent; digits carry no leading or trailing
// zeros and are empty for zero.
class DecimalDigits {
  public:
    // A double read to `significant` digits (15 for Double, 7 for Single).
    static DecimalDigits FromDouble(double value, int significant = 15);
    // An integer scaled by 10^places, exactly (Currency is raw / 10^4).
    static DecimalDigits FromScaled(std::int64_t raw, int places);

    bool IsZero() const { return digits_.empty(); }
    bool Negative() const { return negative_ && !IsZero(); }
    void SetNegative(bool negative) { negative_ = negative; }
    // Multiplies by 10^power exactly.
    void Shift(int power);
    // Rounds to `places` decimal places.
    void Round(int places, RoundingMode mode);

    // The digits before the point ("" when the value is below 1).
    std::string IntegerDigits() const;
    // Exactly `places` digits after the point (truncating; round first).
    std::string FractionDigits(int places) const;
    // Decimal exponent of the leading digit (value = d.ddd x 10^Magnitude()).
    int Magnitude() const { return exponent_ - 1; }
    const std::string& Digits() const { return digits_; }
    double ToDouble() const;

  private:
    void Normalize();

    bool negative_ = false;
    std::string digits_;
    int exponent_ = 0;
};

}  // namespace vym
