// Rules with one fixed flattening: every condition met while flattening has exactly one
// replacement and none lies on a cycle (a chain, or any tree of single rules). Such a rule's
// flattened list holds every askable condition reached, so whether it holds a condition together
// with its negation is decided for all rules at once, from each such pair of conditions up
// through the rules that reach it, without writing any list out. A pair whose verdict depends on
// the order of the list ("nna" before "na") is left to the full flattening.
//
// In a base without cycles more is decided the same way: a rule whose conditions reach no
// condition together with its negation, through any choice of rules, has only consistent
// flattenings, and it has one at all when each of its conditions can be flattened (is askable or
// has a rule whose conditions all can). The climbs then go through every rule; when they grow
// beyond a few times the base, only the rules with one fixed flattening are decided.
#pragma once

#include <cstddef>
#include <vector>

#include "verify/flattening.h"

namespace xamo {

class FixedFlattenings {
  public:
    explicit FixedFlattenings(const RuleIndex& index);

    // The verdict of every flattening of the rule at `position` is known here: all consistent,
    // or one flattening, contradictory, or none at all.
    bool decided(std::size_t position) const { return state_[position] != kOpen; }
    bool contradictory(std::size_t position) const { return state_[position] == kContradictory; }
    bool without_flattening(std::size_t position) const { return state_[position] == kNone; }

  private:
    enum State : char { kOpen, kConsistent, kContradictory, kNone };
    void find_fixed(const RuleIndex& index);
    void find_viable(const RuleIndex& index);
    // False when the climbs went beyond `budget` steps (0: no limit).
    bool find_pairs(const RuleIndex& index, bool every_rule, std::size_t budget);

    std::vector<char> fixed_;   // per condition
    std::vector<char> leaf_;    // per condition: askable, standing for itself
    std::vector<char> viable_;  // per condition, in a base without cycles
    std::vector<State> state_;  // per rule
};

}  // namespace xamo
