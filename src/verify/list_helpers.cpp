#include "verify/list_helpers.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "kb/conditions.h"

namespace xamo {
namespace {

template <typename List, typename Key>
List reduce_keeping_last(const List& list) {
    std::unordered_map<Key, std::size_t> last;
    for (std::size_t i = 0; i < list.size(); ++i) last[list[i]] = i;
    List out;
    out.reserve(last.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (last[list[i]] == i) out.push_back(list[i]);
    }
    return out;
}

}  // namespace

StringList redukuj(const StringList& list) {
    return reduce_keeping_last<StringList, std::string_view>(list);
}

IntegerList redukuj_i(const IntegerList& list) {
    return reduce_keeping_last<IntegerList, std::int32_t>(list);
}

StringList usuniecie_list_wewnetrznych(const std::vector<StringList>& lists) {
    StringList out;
    for (const auto& list : lists) out.insert(out.end(), list.begin(), list.end());
    return out;
}

IntegerList usun(const IntegerList& list, std::int32_t value) {
    IntegerList out;
    out.reserve(list.size());
    for (std::int32_t n : list) {
        if (n != value) out.push_back(n);
    }
    return out;
}

IntegerList usun_wszystkie(const IntegerList& list, std::int32_t value) {
    return usun(list, value);
}

StringList odwracanie(const StringList& list) { return StringList(list.rbegin(), list.rend()); }

IntegerList odwracanie(const IntegerList& list) { return IntegerList(list.rbegin(), list.rend()); }

StringList neguj_liste(const StringList& list) {
    StringList out;
    out.reserve(list.size());
    for (auto it = list.rbegin(); it != list.rend(); ++it) out.push_back(negacja(*it));
    return out;
}

StringList iloczyn_zbiorow(const StringList& a, const StringList& b) {
    const std::unordered_set<std::string_view> in_b(b.begin(), b.end());
    StringList out;
    for (const auto& item : a) {
        if (in_b.contains(item)) out.push_back(item);
    }
    return out;
}

StringList roznica_zbiorow(const StringList& a, const StringList& b) {
    const std::unordered_set<std::string_view> in_b(b.begin(), b.end());
    StringList out;
    for (const auto& item : a) {
        if (!in_b.contains(item)) out.push_back(item);
    }
    return out;
}

bool podzbior(const StringList& a, const StringList& b) {
    const std::unordered_set<std::string_view> in_b(b.begin(), b.end());
    return std::all_of(a.begin(), a.end(),
                       [&](const std::string& item) { return in_b.contains(item); });
}

bool podzbior_ogolny(const StringList& a, const StringList& b) {
    return podzbior(a, b) || podzbior(b, a);
}

}  // namespace xamo
