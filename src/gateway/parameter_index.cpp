#include "gateway/parameter_index.h"

#include <algorithm>
#include <cstring>

#include "gateway/parameter.h"

namespace vym {
namespace {

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

}  // namespace

// Eight bytes at a time with the ASCII case bit set, so "@Item_No" and
// "@ITEM_NO" hash alike; names this folds together by mistake are told
// apart by SameName.
std::uint64_t ParameterIndex::HashName(std::string_view name) {
    constexpr std::uint64_t kCaseBits = 0x2020202020202020ull;
    constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = name.size();
    std::size_t at = 0;
    for (; at + 8 <= name.size(); at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, name.data() + at, 8);
        hash = (hash ^ (word | kCaseBits)) * kMix;
        hash ^= hash >> 29;
    }
    std::uint64_t tail = 0;
    if (at < name.size()) {
        std::memcpy(&tail, name.data() + at, name.size() - at);
    }
    hash = (hash ^ (tail | kCaseBits)) * kMix;
    return hash ^ (hash >> 29);
}

ParameterIndex::ParameterIndex(const std::vector<Parameter>& parameters) {
    entries_.reserve(parameters.size());
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        entries_.push_back({HashName(parameters[i].Name), i});
    }
    std::sort(entries_.begin(), entries_.end());
}

void ParameterIndex::Add(std::string_view name, std::size_t position) {
    const Entry entry{HashName(name), position};
    entries_.insert(std::upper_bound(entries_.begin(), entries_.end(), entry), entry);
}

std::optional<std::size_t> ParameterIndex::Find(const std::vector<Parameter>& parameters,
                                                std::string_view name) const {
    const std::uint64_t hash = HashName(name);
    const auto found =
        std::lower_bound(entries_.begin(), entries_.end(), hash,
                         [](const Entry& entry, std::uint64_t key) { return entry.hash < key; });
    if (found != entries_.end() && found->hash == hash && found->position < parameters.size() &&
        SameName(parameters[found->position].Name, name)) {
        return found->position;
    }
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        if (SameName(parameters[i].Name, name)) {
            return i;
        }
    }
    return std::nullopt;
}

bool ParameterIndex::SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    if (a == b) {
        return true;  // callers mostly spell a name as it was declared
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace vym
