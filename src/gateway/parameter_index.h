#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

#include "gateway/name_slots.h"

namespace vym {

struct Parameter;

// Positions of a parameter list's names, matched without regard to case, so
// that finding one of a procedure's many parameters neither scans the list
// nor allocates. The index keeps a hash of each name; a name it cannot
// confirm (a hash shared by two names, a name renamed in place) is looked
// for in the list itself.
class ParameterIndex {
  public:
    ParameterIndex() = default;
    explicit ParameterIndex(const std::vector<Parameter>& parameters);

    // The parameter at `position`, after those already added, is called `name`.
    void Add(std::string_view name, std::size_t position);
    void Clear() { slots_.Clear(); }
    // No two names indexed are equal.
    bool Distinct() const { return slots_.Distinct(); }

    // The position of `name` in `parameters`, the list the index was built
    // for; the first of equal names.
    std::optional<std::size_t> Find(const std::vector<Parameter>& parameters,
                                    std::string_view name) const;
    // The same, trying first the position `next`, which is then set after
    // the one found: callers mostly go through a procedure's parameters in
    // the order it declares them, and so skip the hashing. Only for a list
    // whose names are not renamed in place after it was indexed.
    std::optional<std::size_t> Find(const std::vector<Parameter>& parameters, std::string_view name,
                                    std::size_t& next) const;

    // Equal names regardless of ASCII case ("@RETURN_VALUE", "@return_value").
    // Inline: a recordset's fields are looked for by name cell after cell.
    static bool SameName(std::string_view a, std::string_view b) {
        return a.size() == b.size() &&
               (SameBytes(a.data(), b.data(), a.size()) || SameNameInAnyCase(a, b));
    }
    // A hash that names equal by SameName share (others may share it too).
    static std::uint64_t HashName(std::string_view name);

  private:
    static std::uint64_t Word(const char* at) {
        std::uint64_t word = 0;
        std::memcpy(&word, at, sizeof word);
        return word;
    }
    static std::uint32_t Half(const char* at) {
        std::uint32_t half = 0;
        std::memcpy(&half, at, sizeof half);
        return half;
    }
    // Equal bytes, read as HashName reads them: names are short, and a call
    // of memcmp would cost more than the comparison.
    static bool SameBytes(const char* a, const char* b, std::size_t size) {
        if (size >= 8) {
            for (std::size_t at = 0; at + 8 < size; at += 8) {
                if (Word(a + at) != Word(b + at)) {
                    return false;
                }
            }
            return Word(a + size - 8) == Word(b + size - 8);
        }
        if (size >= 4) {
            return Half(a) == Half(b) && Half(a + size - 4) == Half(b + size - 4);
        }
        for (std::size_t at = 0; at < size; ++at) {
            if (a[at] != b[at]) {
                return false;
            }
        }
        return true;
    }
    // Equal sizes assumed; callers mostly spell a name as it was declared,
    // which SameBytes tells first.
    static bool SameNameInAnyCase(std::string_view a, std::string_view b);

    NameSlots slots_;
};

}  // namespace vym
