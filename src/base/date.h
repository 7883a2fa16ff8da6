#pragma once

#include <compare>
#include <string>
#include <string_view>

namespace vym {

// Date and time as the Automation Date: days since 12/30/1899 (the zero
// date), the fraction of a day being the time. Negative serials count back
// from the zero date with the time fraction still positive, as the host does.
class Date {
  public:
    constexpr Date() = default;
    constexpr explicit Date(double serial) : serial_(serial) {}

    // Throws Error(kInvalidProcedureCall) for an impossible date or time.
    static Date FromParts(int year, int month, int day, int hour = 0, int minute = 0,
                          int second = 0);
    static Date Now();    // local time
    static Date Today();  // local date, time 00:00:00

    constexpr double Serial() const { return serial_; }

    int Year() const;
    int Month() const;
    int Day() const;
    int Hour() const;
    int Minute() const;
    int Second() const;
    int Weekday() const;  // 1 = Sunday ... 7 = Saturday
    Date DateOnly() const;
    double TimeOfDay() const;  // fraction of a day

    // ISO text "yyyy-mm-dd hh:mm:ss" (or "yyyy-mm-dd" when the time is zero), the
    // form the database stores; ParseIso accepts both forms and "yyyy-mm-ddThh:mm:ss".
    std::string ToIso() const;
    static bool ParseIso(std::string_view text, Date& out);
    // A date as a user types it: "m/d/yyyy" or "m/d/yy" (00-29 in this century),
    // optionally followed by a time "h:nn[:ss] [AM|PM]", or a time alone; the
    // ISO forms are accepted too. False for anything else or an impossible date.
    static bool Parse(std::string_view text, Date& out);

    constexpr auto operator<=>(const Date&) const = default;

  private:
    double serial_ = 0.0;
};

}  // namespace vym
