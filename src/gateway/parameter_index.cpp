#include "gateway/parameter_index.h"

#include "gateway/parameter.h"

namespace vym {

// Eight bytes at a time with the ASCII case bit set, so "@Item_No" and
// "@ITEM_NO" hash alike; names this folds together by mistake are told
// apart by SameName. The last bytes are read as one word overlapping the
// ones before, and short names in at most two reads, never byte by byte.
std::uint64_t ParameterIndex::HashName(std::string_view name) {
    constexpr std::uint64_t kCaseBits = 0x2020202020202020ull;
    constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ull;
    const char* data = name.data();
    const std::size_t size = name.size();
    std::uint64_t hash = size;
    std::uint64_t tail = 0;
    if (size >= 8) {
        for (std::size_t at = 0; at + 8 < size; at += 8) {
            hash = (hash ^ (Word(data + at) | kCaseBits)) * kMix;
            hash ^= hash >> 29;
        }
        tail = Word(data + size - 8);
    } else if (size >= 4) {
        tail = Half(data) | (static_cast<std::uint64_t>(Half(data + size - 4)) << 32);
    } else if (size > 0) {
        tail = static_cast<unsigned char>(data[0]) |
               (static_cast<std::uint64_t>(static_cast<unsigned char>(data[size / 2])) << 8) |
               (static_cast<std::uint64_t>(static_cast<unsigned char>(data[size - 1])) << 16);
    }
    hash = (hash ^ (tail | kCaseBits)) * kMix;
    return hash ^ (hash >> 29);
}

ParameterIndex::ParameterIndex(const std::vector<Parameter>& parameters) {
    slots_.Reserve(parameters.size());
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        slots_.Add(HashName(parameters[i].Name), i);
    }
}

void ParameterIndex::Add(std::string_view name, std::size_t position) {
    slots_.Add(HashName(name), position);
}

std::optional<std::size_t> ParameterIndex::Find(const std::vector<Parameter>& parameters,
                                                std::string_view name) const {
    const auto found = slots_.Find(HashName(name), [&](std::size_t position) {
        return position < parameters.size() && SameName(parameters[position].Name, name);
    });
    if (found) {
        return found;
    }
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        if (SameName(parameters[i].Name, name)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::size_t> ParameterIndex::Find(const std::vector<Parameter>& parameters,
                                                std::string_view name, std::size_t& next) const {
    // With equal names in the list, only the index knows which comes first.
    if (next < parameters.size() && Distinct() && SameName(parameters[next].Name, name)) {
        return next++;
    }
    const auto found = Find(parameters, name);
    if (found) {
        next = *found + 1;
    }
    return found;
}

bool ParameterIndex::SameNameInAnyCase(std::string_view a, std::string_view b) {
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upper(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace vym
