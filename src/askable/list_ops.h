// List operations of the askable computations. Reducing keeps, of equal members, only the last
// occurrence; difference and intersection keep the order of the first list. All are linear.
#pragma once

#include <string_view>
#include <vector>

#include "kb/facts.h"

namespace xamo {

StringList reduce(const StringList& list);
// The same over views (of strings that outlive the call).
StringList reduce_views(const std::vector<std::string_view>& list);
StringList difference(const StringList& a, const StringList& b);
// The same with the first list as views.
StringList difference_views(const std::vector<std::string_view>& a, const StringList& b);
StringList intersection(const StringList& a, const StringList& b);
// Concatenates and reduces.
StringList list_union(const StringList& a, const StringList& b);
// Ascending by the Windows-1250 bytes.
StringList sorted(StringList list);
void append(StringList& to, const StringList& from);

}  // namespace xamo
