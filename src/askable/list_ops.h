// List operations of the askable computations. Reducing keeps, of equal members, only the last
// occurrence; difference and intersection keep the order of the first list. All are linear.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "kb/facts.h"
#include "kb/rule_names.h"

namespace xamo {

StringList reduce(const StringList& list);
// The same over numbers below `count` (of names numbered elsewhere).
std::vector<std::uint32_t> last_occurrences(const std::vector<std::uint32_t>& numbers,
                                            std::size_t count);
// The same of the numbers as `map` gives them (every result below `count`), without a mapped copy.
template <typename Map>
std::vector<std::uint32_t> last_occurrences(const std::vector<std::uint32_t>& numbers,
                                            std::size_t count, Map map) {
    std::vector<std::uint8_t> seen(count, 0);
    std::vector<std::uint32_t> reversed;
    for (std::size_t i = numbers.size(); i-- > 0;) {
        const std::uint32_t number = map(numbers[i]);
        if (seen[number] != 0) continue;
        seen[number] = 1;
        reversed.push_back(number);
    }
    return std::vector<std::uint32_t>(reversed.rbegin(), reversed.rend());
}
StringList difference(const StringList& a, const StringList& b);
StringList difference(const StringList& a, const NumberedNames& b);
// The same with the first list as views.
StringList difference_views(const std::vector<std::string_view>& a, const NumberedNames& b);
StringList intersection(const StringList& a, const StringList& b);
StringList intersection(const NumberedNames& a, const StringList& b);
// Concatenates and reduces.
StringList list_union(const StringList& a, const StringList& b);
StringList list_union(const NumberedNames& a, const StringList& b);
StringList list_union(const StringList& a, const NumberedNames& b);
// Ascending by the Windows-1250 bytes.
StringList sorted(StringList list);
void append(StringList& to, const StringList& from);
void append(StringList& to, const NameList& from);

}  // namespace xamo
