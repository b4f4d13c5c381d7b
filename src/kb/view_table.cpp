#include "kb/view_table.h"

#include <cstring>

namespace xamo {
namespace {

constexpr std::uint64_t kHigh = 0xffffffff00000000ULL;

std::size_t slots_for(std::size_t members) {
    std::size_t slots = 16;
    while (slots < 2 * members) slots *= 2;
    return slots;
}

std::uint64_t read8(const char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::uint64_t read4(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

__extension__ using Wide = unsigned __int128;  // GCC's and Clang's, one instruction on x86-64

// The two halves of a 128-bit product folded: every bit of both words reaches every bit.
std::uint64_t fold_product(std::uint64_t a, std::uint64_t b) {
    const auto product = static_cast<Wide>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
}

}  // namespace

// Names are short: a text is read in words, two at a time, each pair folded by one product
// (std::hash reads it byte by byte in places and took a twentieth of a large load).
std::uint64_t ViewTable::hash_of(std::string_view text) {
    constexpr std::uint64_t k0 = 0xa0761d6478bd642fULL;
    constexpr std::uint64_t k1 = 0xe7037ed1a0b428dbULL;
    constexpr std::uint64_t k2 = 0x8ebc6af09c88c6e3ULL;
    const char* p = text.data();
    std::size_t n = text.size();
    std::uint64_t state = k0 ^ n;
    for (; n > 16; p += 16, n -= 16) state = fold_product(read8(p) ^ k1, read8(p + 8) ^ state);
    std::uint64_t a = 0;
    std::uint64_t b = 0;
    if (n >= 8) {
        a = read8(p);
        b = read8(p + n - 8);
    } else if (n >= 4) {
        a = read4(p);
        b = read4(p + n - 4);
    } else if (n > 0) {
        const auto byte = [p](std::size_t i) {
            return std::uint64_t{static_cast<unsigned char>(p[i])};
        };
        a = (byte(0) << 16) | (byte(n >> 1) << 8) | byte(n - 1);
    }
    return fold_product(k2 ^ text.size(), fold_product(a ^ k1, b ^ state));
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
