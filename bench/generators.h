// Generators of large knowledge bases for the benchmarks (Windows-1250 bytes, CR LF lines).
#pragma once

#include <optional>
#include <string>
#include <vector>

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

struct GeneratedRule {
    int number;
    std::string conclusion;
    std::vector<std::string> conditions;
};

// A layered rule base without cycles, for the diagnoses: askable conditions at the bottom, each
// conclusion of a layer concluded by two rules that take one conclusion of the layer below
// (negated in one rule of sixteen) and two askable conditions. In one conclusion of four the second
// rule drops an askable condition, so it is redundant; one rule in fifty holds an askable
// condition with its negation. `rules` is spread over the layers, more rules higher up.
std::vector<GeneratedRule> generate_layered_rules(int rules, int layers = 5);
// The same as a base file (Windows-1250, CR LF).
std::string layered_rule_base(const std::vector<GeneratedRule>& rules);

// Chains, the shape of deep bases: rule i concludes c_i from c_(i+1) and a_i, i = 1..length,
// c_(length+1) askable. Negated: every third rule takes the negations of both. Branched: every
// tenth rule also takes d_i, which a rule of its own concludes from c_(i+2) and e_i.
// Alternatives: every c_i is also concluded from c_(i+1) and b_i, so a rule of level i has
// 2^(length-i) flattenings.
enum class ChainShape { Plain, Negated, Branched, Alternatives };
std::vector<GeneratedRule> generate_chain_rules(int length, ChainShape shape = ChainShape::Plain);

}  // namespace xamo::bench
