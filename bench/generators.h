// Generators of large knowledge bases for the benchmarks (Windows-1250 bytes, CR LF lines).
#pragma once

#include <string>

namespace xamo::bench {

// `rules` rules of three to five conditions each, with Polish letters in every name; conditions
// are drawn from a pool so that many rules share them, conclusions feed later rules.
std::string generate_rule_base(int rules);

}  // namespace xamo::bench
