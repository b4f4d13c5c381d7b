#include "kb/names.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <ostream>

#include "kb/view_table.h"

namespace xamo {

Name::Block* Name::allocate(std::size_t size, std::size_t room, bool growing) {
    // Sizes are kept in 31 bits: a longer text cannot be kept, as memory could not hold it.
    if (size >= kGrowing) throw std::bad_alloc();
    void* memory = std::malloc(sizeof(Block) + room);
    if (memory == nullptr) throw std::bad_alloc();
    const auto bits = static_cast<std::uint32_t>(size) | (growing ? kGrowing : 0);
    return new (memory) Block{{1}, bits};
}

std::size_t Name::room_for(std::size_t size) {
    return std::bit_ceil(std::max<std::size_t>(size, 64));
}

Name::Name(std::string_view text) {
    if (text.empty()) return;
    block_ = allocate(text.size(), text.size(), false);
    std::memcpy(block_->chars(), text.data(), text.size());
}

void Name::append(std::string_view more) {
    if (more.empty()) return;
    const std::size_t size = this->size() + more.size();
    if (size >= kGrowing) throw std::bad_alloc();
    if (block_ && block_->growing() && block_->references.load(std::memory_order_acquire) == 1) {
        const std::size_t old_size = block_->size();
        if (size > room_for(old_size)) {
            // A large block grows by remapping its pages: the text is neither copied nor held
            // twice while it moves.
            void* moved = std::realloc(block_, sizeof(Block) + room_for(size));
            if (moved == nullptr) throw std::bad_alloc();
            block_ = new (moved) Block{{1}, 0};
        }
        std::memcpy(block_->chars() + old_size, more.data(), more.size());
        block_->bits = static_cast<std::uint32_t>(size) | kGrowing;
        return;
    }
    Name grown;
    grown.block_ = allocate(size, room_for(size), true);
    const std::string_view old = view();
    if (!old.empty()) std::memcpy(grown.block_->chars(), old.data(), old.size());
    std::memcpy(grown.block_->chars() + old.size(), more.data(), more.size());
    *this = std::move(grown);
}

void Name::unshare() {
    Name shared;
    shared.block_ = block_;  // released on leaving, also when the copy cannot be made
    block_ = nullptr;
    *this = Name(shared.view());
}

void Name::release() noexcept {
    // The only holder frees without the atomic decrement: no one else can copy it meanwhile.
    if (block_ && (block_->references.load(std::memory_order_acquire) == 1 ||
                   block_->references.fetch_sub(1, std::memory_order_acq_rel) == 1)) {
        block_->~Block();
        std::free(block_);
    }
}

std::ostream& operator<<(std::ostream& out, const Name& name) { return out << name.view(); }

NameList::NameList(const StringList& texts) {
    names_.reserve(texts.size());
    for (const std::string& text : texts) names_.emplace_back(text);
}

NameList::NameList(std::initializer_list<std::string_view> texts) {
    names_.reserve(texts.size());
    for (const std::string_view text : texts) names_.emplace_back(text);
}

StringList NameList::texts() const {
    StringList out;
    out.reserve(names_.size());
    for (const Name& name : names_) out.emplace_back(name.view());
    return out;
}

bool operator==(const NameList& a, const StringList& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < b.size(); ++i) {
        if (a[i] != std::string_view(b[i])) return false;
    }
    return true;
}

std::ostream& operator<<(std::ostream& out, const NameList& names) {
    out << '[';
    for (std::size_t i = 0; i < names.size(); ++i) out << (i ? "," : "") << '"' << names[i] << '"';
    return out << ']';
}

void NameInterner::intern_all(std::span<const std::string_view> texts, std::vector<Name>& out) {
    make_room(texts.size());
    const std::size_t mask = slots_.size() - 1;
    hashes_.resize(texts.size());
    places_.resize(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        hashes_[i] = ViewTable::hash_of(texts[i]);
        __builtin_prefetch(&slots_[hashes_[i] & mask]);
    }
    for (std::size_t i = 0; i < texts.size(); ++i) {
        places_[i] = candidate(hashes_[i], hashes_[i] & mask);
        __builtin_prefetch(slots_[places_[i]].block);
    }
    // Names made by this batch only fill empty slots: a candidate stays a valid place to go on
    // from.
    for (std::size_t i = 0; i < texts.size(); ++i) {
        out.push_back(texts[i].empty() ? Name() : resolve(texts[i], hashes_[i], places_[i]));
    }
}

void NameInterner::make_room(std::size_t count) {
    while ((used_ + count) * 4 > slots_.size() * 3) grow();
}

void NameInterner::reserve(std::size_t names) {
    if (!slots_.empty()) return make_room(names);
    std::size_t slots = 1024;
    while (names * 4 > slots * 3) slots *= 2;
    slots_.assign(slots, Slot{});
}

std::size_t NameInterner::candidate(std::size_t hash, std::size_t from) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = from;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.block == nullptr || slot.hash == hash) return i;
    }
}

Name NameInterner::resolve(std::string_view text, std::size_t hash, std::size_t from) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = candidate(hash, from);; i = candidate(hash, (i + 1) & mask)) {
        Slot& slot = slots_[i];
        if (slot.block == nullptr) {
            Name made(text);
            slot.hash = hash;
            slot.block = made.block_;
            ++used_;
            return made;
        }
        if (std::string_view(slot.block->chars(), slot.block->size()) == text)
            return Name::held(slot.block);
    }
}

void NameInterner::grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 1024 : old.size() * 2, Slot{});
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.block == nullptr) continue;
        std::size_t i = slot.hash & mask;
        while (slots_[i].block != nullptr) i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

}  // namespace xamo
