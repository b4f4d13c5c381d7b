#include "kb/view_table.h"

#include <functional>

namespace xamo {
namespace {

constexpr std::uint64_t kHigh = 0xffffffff00000000ULL;

std::size_t slots_for(std::size_t members) {
    std::size_t slots = 16;
    while (slots < 2 * members) slots *= 2;
    return slots;
}

}  // namespace

std::uint64_t ViewTable::hash_of(std::string_view text) {
    return std::hash<std::string_view>{}(text);
}

ViewTable::ViewTable(std::size_t expected) : slots_(slots_for(expected), 0) {
    texts_.reserve(expected);
    low_hashes_.reserve(expected);
}

std::uint32_t ViewTable::find(std::string_view text) const {
    const std::uint64_t hash = hash_of(text);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const std::uint64_t slot = slots_[i];
        if (slot == 0) return npos;
        if (((slot ^ hash) & kHigh) != 0) continue;
        const auto number = static_cast<std::uint32_t>(slot) - 1;
        if (texts_[number] == text) return number;
    }
}

std::pair<std::uint32_t, bool> ViewTable::insert(std::string_view text, std::uint64_t hash) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    for (;; i = (i + 1) & mask) {
        const std::uint64_t slot = slots_[i];
        if (slot == 0) break;
        if (((slot ^ hash) & kHigh) != 0) continue;
        const auto number = static_cast<std::uint32_t>(slot) - 1;
        if (texts_[number] == text) return {number, false};
    }
    const auto number = static_cast<std::uint32_t>(texts_.size());
    texts_.push_back(text);
    low_hashes_.push_back(static_cast<std::uint32_t>(hash));
    slots_[i] = (hash & kHigh) | (std::uint64_t{number} + 1);
    if (2 * texts_.size() > slots_.size()) grow();
    return {number, true};
}

void ViewTable::grow() {
    std::vector<std::uint64_t> old(2 * slots_.size(), 0);
    old.swap(slots_);
    place_all(old);
}

// The old slots are read in order, each placed by the low half of its hash kept beside the
// texts: no text is read (or hashed) again.
void ViewTable::place_all(const std::vector<std::uint64_t>& old) {
    const std::size_t mask = slots_.size() - 1;
    for (const std::uint64_t slot : old) {
        if (slot == 0) continue;
        const auto number = static_cast<std::uint32_t>(slot) - 1;
        std::size_t i = low_hashes_[number] & mask;
        while (slots_[i] != 0) i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

void ViewTable::shrink_to_fit() {
    texts_.shrink_to_fit();
    low_hashes_.shrink_to_fit();
    const std::size_t fitting = slots_for(texts_.size());
    if (fitting >= slots_.size()) return;
    std::vector<std::uint64_t> old(fitting, 0);
    old.swap(slots_);
    place_all(old);
}

void ViewTable::clear() {
    std::vector<std::uint64_t>(16, 0).swap(slots_);
    std::vector<std::string_view>().swap(texts_);
    std::vector<std::uint32_t>().swap(low_hashes_);
}

}  // namespace xamo
