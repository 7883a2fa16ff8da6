#include "base/decimal_digits.h"

#include <charconv>
#include <cmath>

namespace vym {

DecimalDigits DecimalDigits::FromDouble(double value, int significant) {
    DecimalDigits d;
    if (value == 0.0 || !std::isfinite(value)) {
        return d;
    }
    d.negative_ = value < 0;
    // "d.dddde[+-]xx", independent of the C locale.
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, significant - 1)
                         .ptr;
    const char* p = buffer;
    for (; *p != 'e'; ++p) {
        if (*p != '.') {
            d.digits_ += *p;
        }
    }
    int power = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), end, power);
    d.exponent_ = power + 1;
    d.Normalize();
    return d;
}

DecimalDigits DecimalDigits::FromScaled(std::int64_t raw, int places) {
    DecimalDigits d;
    d.negative_ = raw < 0;
    // Through unsigned arithmetic so that the most negative raw value works too.
    std::uint64_t magnitude =
        d.negative_ ? 0 - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
    d.digits_ = std::to_string(magnitude);
    d.exponent_ = static_cast<int>(d.digits_.size()) - places;
    d.Normalize();
    return d;
}

void DecimalDigits::Normalize() {
    std::size_t lead = digits_.find_first_not_of('0');
    if (lead == std::string::npos) {
        digits_.clear();
        exponent_ = 0;
        return;
    }
    digits_.erase(0, lead);
    exponent_ -= static_cast<int>(lead);
    digits_.erase(digits_.find_last_not_of('0') + 1);
}

void DecimalDigits::Shift(int power) {
    if (!IsZero()) {
        exponent_ += power;
    }
}

void DecimalDigits::Round(int places, RoundingMode mode) {
    const int keep = exponent_ + places;
    if (IsZero() || keep >= static_cast<int>(digits_.size())) {
        return;
    }
    if (keep < 0) {  // the first dropped digit is a leading zero
        digits_.clear();
        exponent_ = 0;
        return;
    }
    const char first = digits_[keep];
    bool up = false;
    if (mode == RoundingMode::HalfAwayFromZero) {
        up = first >= '5';
    } else if (first != '5') {
        up = first > '5';
    } else {
        const bool moreAfter = digits_.size() > static_cast<std::size_t>(keep) + 1;
        const bool lastOdd = keep > 0 && (digits_[keep - 1] - '0') % 2 == 1;
        up = moreAfter || lastOdd;
    }
    digits_.resize(keep);
    if (up) {
        int i = keep - 1;
        for (; i >= 0 && digits_[i] == '9'; --i) {
            digits_[i] = '0';
        }
        if (i >= 0) {
            ++digits_[i];
        } else {
            digits_.insert(digits_.begin(), '1');
            ++exponent_;
        }
    }
    Normalize();
}

std::string DecimalDigits::IntegerDigits() const {
    if (exponent_ <= 0) {
        return {};
    }
    std::string out = digits_.substr(0, exponent_);
    out.resize(exponent_, '0');
    return out;
}

std::string DecimalDigits::FractionDigits(int places) const {
    std::string out;
    for (int i = 0; i < places; ++i) {
        const int index = exponent_ + i;  // position within digits_
        const bool inside = index >= 0 && index < static_cast<int>(digits_.size());
        out += inside ? digits_[index] : '0';
    }
    return out;
}

double DecimalDigits::ToDouble() const {
    if (IsZero()) {
        return 0.0;
    }
    const std::string text =
        std::string(negative_ ? "-0." : "0.") + digits_ + "e" + std::to_string(exponent_);
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace vym
