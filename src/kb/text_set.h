// A set of texts that keeps its own copy of each: the texts stay in place in a deque and are
// found through a ViewTable, so a lookup hashes once and follows no chain of nodes. Large rule
// bases ask it about hundreds of thousands of condition names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "kb/view_table.h"

namespace xamo {

class TextSet {
  public:
    TextSet() = default;
    // A copy points its table at its own texts.
    TextSet(const TextSet& other);
    TextSet& operator=(const TextSet& other);
    TextSet(TextSet&&) = default;
    TextSet& operator=(TextSet&&) = default;

    // True when the text was not in the set before.
    bool insert(std::string_view text);
    // Inserts every text of a list (faster than one by one for large lists).
    void insert_all(const std::vector<std::string>& texts);
    bool contains(std::string_view text) const { return table_.contains(text); }
    // Asks the processor for what contains(text) will read first.
    void prefetch(std::string_view text) const { table_.prefetch(ViewTable::hash_of(text)); }
    std::size_t size() const { return texts_.size(); }
    bool empty() const { return texts_.empty(); }
    // Room for `count` texts; only an empty set takes it.
    void reserve(std::size_t count);
    void clear();

  private:
    // Keeps a copy of the text just inserted as `number` and points the table at it.
    void keep(std::uint32_t number, std::string_view text);

    std::deque<std::string> texts_;  // never moved: the table views them
    ViewTable table_;
};

}  // namespace xamo
