#include "askable/list_ops.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "kb/codec.h"

namespace xamo {

StringList reduce(const StringList& list) {
    std::unordered_map<std::string_view, std::size_t> last;
    for (std::size_t i = 0; i < list.size(); ++i) last[list[i]] = i;
    StringList out;
    out.reserve(last.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (last[list[i]] == i) out.push_back(list[i]);
    }
    return out;
}

StringList difference(const StringList& a, const StringList& b) {
    const std::unordered_set<std::string_view> drop(b.begin(), b.end());
    StringList out;
    for (const auto& item : a) {
        if (!drop.contains(item)) out.push_back(item);
    }
    return out;
}

StringList intersection(const StringList& a, const StringList& b) {
    const std::unordered_set<std::string_view> keep(b.begin(), b.end());
    StringList out;
    for (const auto& item : a) {
        if (keep.contains(item)) out.push_back(item);
    }
    return out;
}

StringList list_union(const StringList& a, const StringList& b) {
    StringList all = a;
    append(all, b);
    return reduce(all);
}

StringList sorted(StringList list) {
    std::stable_sort(list.begin(), list.end(),
                     [](const std::string& x, const std::string& y) { return cp1250_less(x, y); });
    return list;
}

void append(StringList& to, const StringList& from) {
    to.insert(to.end(), from.begin(), from.end());
}

}  // namespace xamo
