#include "askable/list_ops.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "kb/codec.h"
#include "kb/view_table.h"

namespace xamo {

namespace {

// One hash per member: walking from the end, the first time a member is met is its last
// occurrence.
template <typename List>
StringList reduce_list(const List& list) {
    ViewTable seen(list.size());
    std::vector<std::uint8_t> keep(list.size(), 0);
    for (std::size_t i = list.size(); i-- > 0;)
        keep[i] = seen.insert(std::string_view(list[i])).second ? 1 : 0;
    StringList out;
    out.reserve(seen.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (keep[i] != 0) out.emplace_back(list[i]);
    }
    return out;
}

template <typename List>
ViewTable set_of(const List& list) {
    ViewTable set(list.size());
    for (const auto& item : list) set.insert(item);
    return set;
}

template <typename List, typename Other>
StringList difference_of(const List& a, const Other& b) {
    ViewTable drop;
    if (a.size() < b.size()) {
        // A few items against a long list (declared facts against every condition): only the
        // members of b that are in a are kept.
        const ViewTable items = set_of(a);
        for (const auto& item : b) {
            if (items.contains(item)) drop.insert(item);
        }
    } else {
        drop = set_of(b);
    }
    StringList out;
    out.reserve(a.size());
    for (const auto& item : a) {
        if (!drop.contains(item)) out.emplace_back(item);
    }
    return out;
}

}  // namespace

StringList reduce(const StringList& list) { return reduce_list(list); }

std::vector<std::uint32_t> last_occurrences(const std::vector<std::uint32_t>& numbers,
                                            std::size_t count) {
    return last_occurrences(numbers, count, [](std::uint32_t number) { return number; });
}

StringList difference(const StringList& a, const StringList& b) { return difference_of(a, b); }

StringList difference(const StringList& a, const NumberedNames& b) { return difference_of(a, b); }

StringList difference_views(const std::vector<std::string_view>& a, const NumberedNames& b) {
    return difference_of(a, b);
}

namespace {

template <typename List>
StringList intersection_of(const List& a, const StringList& b) {
    const auto keep = set_of(b);
    StringList out;
    for (const auto& item : a) {
        if (keep.contains(item)) out.emplace_back(item);
    }
    return out;
}

template <typename First, typename Second>
StringList union_of(const First& a, const Second& b) {
    StringList all(a.begin(), a.end());
    all.insert(all.end(), b.begin(), b.end());
    return reduce(all);
}

}  // namespace

StringList intersection(const StringList& a, const StringList& b) { return intersection_of(a, b); }
StringList intersection(const NumberedNames& a, const StringList& b) {
    return intersection_of(a, b);
}

StringList list_union(const StringList& a, const StringList& b) { return union_of(a, b); }
StringList list_union(const NumberedNames& a, const StringList& b) { return union_of(a, b); }
StringList list_union(const StringList& a, const NumberedNames& b) { return union_of(a, b); }

namespace {

struct SortEntry {
    std::uint64_t key;  // the first eight characters' Windows-1250 bytes
    bool keyed;         // false where one of them has no such byte
    std::uint32_t position;
};

// Stable, by key alone, a byte at a time from the last: one pass to count every byte's values,
// then one to move the entries for each byte that is not the same in all of them.
void radix_sort_by_key(std::vector<SortEntry>& entries) {
    constexpr int kBytes = 8;
    std::vector<std::array<std::uint32_t, 256>> counts(kBytes);
    for (auto& count : counts) count.fill(0);
    for (const SortEntry& entry : entries) {
        for (int b = 0; b < kBytes; ++b) ++counts[b][(entry.key >> (8 * b)) & 0xFF];
    }
    std::vector<SortEntry> moved(entries.size());
    for (int b = 0; b < kBytes; ++b) {
        auto& count = counts[b];
        if (std::find(count.begin(), count.end(), entries.size()) != count.end()) continue;
        std::uint32_t start = 0;
        for (auto& c : count) start += std::exchange(c, start);
        for (const SortEntry& entry : entries)
            moved[count[(entry.key >> (8 * b)) & 0xFF]++] = entry;
        entries.swap(moved);
    }
}

}  // namespace

StringList sorted(StringList list) {
    // Sorted as numbers of their first eight characters' bytes, the texts compared only where
    // those are equal or unknown; positions break ties, so the order is that of a stable sort.
    std::vector<SortEntry> entries;
    entries.reserve(list.size());
    bool all_keyed = true;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const auto key = cp1250_prefix_key(list[i]);
        all_keyed = all_keyed && key.has_value();
        entries.push_back({key.value_or(0), key.has_value(), static_cast<std::uint32_t>(i)});
    }
    const auto by_text = [&list](const SortEntry& a, const SortEntry& b) {
        const std::string& x = list[a.position];
        const std::string& y = list[b.position];
        if (cp1250_less(x, y)) return true;
        if (cp1250_less(y, x)) return false;
        return a.position < b.position;
    };
    if (all_keyed) {
        // Keys in order by counting, then the texts of each run of one key by comparing.
        radix_sort_by_key(entries);
        for (auto run = entries.begin(); run != entries.end();) {
            const auto end = std::find_if(run, entries.end(),
                                          [run](const SortEntry& e) { return e.key != run->key; });
            if (end - run > 1) std::sort(run, end, by_text);
            run = end;
        }
    } else {
        std::sort(entries.begin(), entries.end(),
                  [&by_text](const SortEntry& a, const SortEntry& b) {
                      if (a.keyed && b.keyed && a.key != b.key) return a.key < b.key;
                      return by_text(a, b);
                  });
    }
    StringList out;
    out.reserve(list.size());
    for (const SortEntry& entry : entries) out.push_back(std::move(list[entry.position]));
    return out;
}

void append(StringList& to, const StringList& from) {
    to.insert(to.end(), from.begin(), from.end());
}

void append(StringList& to, const NameList& from) {
    for (const Name& name : from) to.emplace_back(name.view());
}

}  // namespace xamo
