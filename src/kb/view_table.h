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
    // The texts by number, the table left empty: its slots are freed before the caller goes on.
    std::vector<std::string_view> take_texts();

  private:
    void grow();

    std::vector<std::uint64_t> slots_;  // 0: empty; else hash's high half, number + 1
    std::vector<std::string_view> texts_;
    std::vector<std::uint32_t> low_hashes_;  // by number: the low half of each text's hash
};

}  // namespace xamo
