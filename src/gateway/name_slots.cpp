#include "gateway/name_slots.h"

#include <algorithm>

namespace vym {

void NameSlots::Reserve(std::size_t count) {
    if (count * 2 > slots_.size()) {
        Grow(count);
    }
}

void NameSlots::Add(std::uint64_t hash, std::size_t position) {
    Reserve(used_ + 1);
    Place(hash, static_cast<std::uint32_t>(position));
    ++used_;
}

void NameSlots::Clear() {
    slots_.clear();
    used_ = 0;
    distinct_ = true;
}

void NameSlots::Place(std::uint64_t hash, std::uint32_t position) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].position != kFree) {
        distinct_ = distinct_ && slots_[at].hash != hash;
        at = (at + 1) & mask;
    }
    slots_[at] = {hash, position};
}

void NameSlots::Grow(std::size_t count) {
    std::size_t size = 8;
    while (size < count * 2) {
        size *= 2;
    }
    std::vector<Slot> held;
    held.reserve(used_);
    for (const Slot& slot : slots_) {
        if (slot.position != kFree) {
            held.push_back(slot);
        }
    }
    // Placed again in the order they were added, which keeps the first of
    // equal names ahead of the others on their probe path.
    std::sort(held.begin(), held.end(),
              [](const Slot& a, const Slot& b) { return a.position < b.position; });
    slots_.assign(size, Slot{});
    for (const Slot& slot : held) {
        Place(slot.hash, slot.position);
    }
}

}  // namespace vym
