#pragma once

#include <iomanip>
#include <sstream>
#include <string>

namespace vym::test {

// A record's fields as one text, "a|b|true", so that a test checks many of
// them in one expectation and a failure shows them all side by side. Numbers
// keep 15 digits: as many as a double comparison trusts.
template <class... Values>
std::string Fields(const Values&... values) {
    std::ostringstream out;
    out << std::boolalpha << std::setprecision(15);
    const char* separator = "";
    ((out << separator << values, separator = "|"), ...);
    return out.str();
}

}  // namespace vym::test
