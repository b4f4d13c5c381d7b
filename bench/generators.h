// Generators of large knowledge bases for the benchmarks (Windows-1250 bytes, CR LF lines).
#pragma once

#include <optional>
#include <string>

namespace xamo::bench {

// `rules` rules of three to five conditions each, with Polish letters in every name; conditions
// are drawn from a pool so that many rules share them, conclusions feed later rules.
std::string generate_rule_base(int rules);

// Bases on which every rule fires exactly once with nothing asked (every askable condition is
// declared as a fact), the same shapes the comparison with the peer engine uses:
//   chain    - c_i from c_(i-1) and g, listed in order of dependency;
//   reversed - the same chain listed from the last rule to the first;
//   wide     - w_i from a_i, b_i and c_i, each rule independent of the others.
enum class Shape { Chain, Reversed, Wide };
std::optional<Shape> shape_named(const std::string& name);
std::string generate_shaped_base(Shape shape, int rules, int display);
// The conclusion the last firing derives, to check that a run went to the end.
std::string last_conclusion(Shape shape, int rules);

}  // namespace xamo::bench
