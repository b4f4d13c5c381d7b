#include "askable/list_ops.h"

#include <algorithm>
#include <cstdint>
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

StringList sorted(StringList list) {
    // Sorted as numbers of their first eight bytes, the texts compared only where those are
    // equal or unknown; positions break ties, so the order is that of a stable sort.
    struct Entry {
        std::uint64_t key;
        bool keyed;
        std::uint32_t position;
    };
    std::vector<Entry> entries;
    entries.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const auto key = cp1250_prefix_key(list[i]);
        entries.push_back({key.value_or(0), key.has_value(), static_cast<std::uint32_t>(i)});
    }
    std::sort(entries.begin(), entries.end(), [&list](const Entry& a, const Entry& b) {
        if (a.keyed && b.keyed && a.key != b.key) return a.key < b.key;
        const std::string& x = list[a.position];
        const std::string& y = list[b.position];
        if (cp1250_less(x, y)) return true;
        if (cp1250_less(y, x)) return false;
        return a.position < b.position;
    });
    StringList out;
    out.reserve(list.size());
    for (const Entry& entry : entries) out.push_back(std::move(list[entry.position]));
    return out;
}

void append(StringList& to, const StringList& from) {
    to.insert(to.end(), from.begin(), from.end());
}

void append(StringList& to, const NameList& from) {
    for (const Name& name : from) to.emplace_back(name.view());
}

}  // namespace xamo
