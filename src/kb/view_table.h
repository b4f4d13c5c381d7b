// A set of strings held elsewhere, numbered in the order they were first inserted: open
// addressing over the numbers, each slot keeping half of its text's hash beside the number, so
// a miss rarely touches a text and nothing is allocated per member. Large knowledge bases index
// millions of condition names this way (the askable lists of a load, the conditions of the
// rules, working memory).
//
// The texts are views: what they look at must outlive the table and stay where it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace xamo {

class ViewTable {
  public:
    static constexpr std::uint32_t npos = static_cast<std::uint32_t>(-1);

    explicit ViewTable(std::size_t expected = 0);

    // The number of `text`, or npos.
    std::uint32_t find(std::string_view text) const;
    bool contains(std::string_view text) const { return find(text) != npos; }
    // The number of `text`, and whether it was inserted now.
    std::pair<std::uint32_t, bool> insert(std::string_view text) {
        return insert(text, hash_of(text));
    }
    // The same with the text's hash_of computed already, for callers that ask the processor to
    // fetch the slot (prefetch) some texts before they insert them.
    std::pair<std::uint32_t, bool> insert(std::string_view text, std::uint64_t hash);
    static std::uint64_t hash_of(std::string_view text);
    void prefetch(std::uint64_t hash) const {
        __builtin_prefetch(slots_.data() + (hash & (slots_.size() - 1)));
    }

    std::string_view text(std::uint32_t number) const { return texts_[number]; }
    // Points member `number` at another copy of its text (one the caller keeps in place).
    void retarget(std::uint32_t number, std::string_view text) { texts_[number] = text; }
    std::size_t size() const { return texts_.size(); }
    void clear();
    // Gives back the room reserved beyond the members (slots and texts).
    void shrink_to_fit();

  private:
    void grow();
    // Puts the members of `old` slots into the current (empty) ones.
    void place_all(const std::vector<std::uint64_t>& old);

    std::vector<std::uint64_t> slots_;  // 0: empty; else hash's high half, number + 1
    std::vector<std::string_view> texts_;
    std::vector<std::uint32_t> low_hashes_;  // by number: the low half of each text's hash
};

// Membership in texts kept elsewhere, indexed on the first lookup: a command that never asks
// does not index a list of hundreds of thousands. `fill` puts the texts into the table; they
// must stay where they are while the set is used.
class LazyViewSet {
  public:
    using Fill = std::function<void(ViewTable&)>;
    explicit LazyViewSet(Fill fill = {}) : fill_(std::move(fill)) {}
    bool contains(std::string_view text) const {
        if (!fill_) return false;
        if (!table_) fill_(table_.emplace());
        return table_->contains(text);
    }

  private:
    Fill fill_;
    mutable std::optional<ViewTable> table_;
};

// Inserts texts into a table some texts after asking the processor for their slots: in a large
// table nearly every new text's slot is a cache miss, and the misses of the texts in flight
// overlap. `settled(number, inserted, tag)` is called for each text, in the order given, by the
// time finish() returns; the texts must stay where they are until then.
template <typename Tag, typename Settled>
class PipelinedInserts {
  public:
    PipelinedInserts(ViewTable& table, Settled settled) : table_(table), settled_(settled) {}
    ~PipelinedInserts() { finish(); }
    PipelinedInserts(const PipelinedInserts&) = delete;
    PipelinedInserts& operator=(const PipelinedInserts&) = delete;

    void insert(std::string_view text, Tag tag) {
        if (count_ == kInFlight) settle_oldest();
        const std::uint64_t hash = ViewTable::hash_of(text);
        table_.prefetch(hash);
        in_flight_[(oldest_ + count_) % kInFlight] = {text, hash, tag};
        ++count_;
    }
    void finish() {
        while (count_ > 0) settle_oldest();
    }

  private:
    static constexpr std::size_t kInFlight = 16;
    struct Pending {
        std::string_view text;
        std::uint64_t hash = 0;
        Tag tag{};
    };
    void settle_oldest() {
        const Pending& p = in_flight_[oldest_];
        const auto [number, inserted] = table_.insert(p.text, p.hash);
        settled_(number, inserted, p.tag);
        oldest_ = (oldest_ + 1) % kInFlight;
        --count_;
    }

    ViewTable& table_;
    Settled settled_;
    Pending in_flight_[kInFlight];
    std::size_t oldest_ = 0;
    std::size_t count_ = 0;
};

}  // namespace xamo
