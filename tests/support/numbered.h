// Names with a number, for generated bases in tests.
#pragma once

#include <string>
#include <string_view>

namespace xamo::testing {

// "c12" from "c" and 12. Built by appending: GCC 12 at -O3 reports a false -Wrestrict overlap
// for "c" + std::to_string(12).
inline std::string numbered(std::string_view prefix, long n) {
    std::string name(prefix);
    name += std::to_string(n);
    return name;
}

}  // namespace xamo::testing
