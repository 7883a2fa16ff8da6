#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace vym {

// Positions in a list of names, kept by the names' hashes in an open table
// at most half full, so that a lookup is one probe or two rather than a
// search of the list. The caller confirms a candidate by its name: several
// names may share a hash.
class NameSlots {
  public:
    // Room for `count` positions without growing.
    void Reserve(std::size_t count);
    // Positions are added in increasing order, so that of equal names the
    // first is met first.
    void Add(std::uint64_t hash, std::size_t position);
    void Clear();
    // No two positions were added under one hash, so no two names are equal.
    bool Distinct() const { return distinct_; }

    // The first position added under `hash` that `matches` accepts.
    template <class Matches>
    std::optional<std::size_t> Find(std::uint64_t hash, Matches matches) const {
        if (slots_.empty()) {
            return std::nullopt;
        }
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = hash & mask; slots_[at].position != kFree; at = (at + 1) & mask) {
            if (slots_[at].hash == hash && matches(slots_[at].position)) {
                return slots_[at].position;
            }
        }
        return std::nullopt;
    }

  private:
    static constexpr std::uint32_t kFree = UINT32_MAX;
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t position = kFree;
    };
    void Place(std::uint64_t hash, std::uint32_t position);
    void Grow(std::size_t count);

    std::vector<Slot> slots_;  // a power of two in size
    std::size_t used_ = 0;
    bool distinct_ = true;
};

}  // namespace vym
