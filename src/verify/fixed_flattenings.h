// Rules with one fixed flattening: every condition met while flattening has exactly one
// replacement and none lies on a cycle (a chain, or any tree of single rules). Such a rule's
// flattened list holds every askable condition reached, so whether it holds a condition together
// with its negation is decided for all rules at once, from each such pair of conditions up
// through the rules that reach it, without writing any list out. A pair whose verdict depends on
// the order of the list ("nna" before "na") is left to the full flattening.
#pragma once

#include <cstddef>
#include <vector>

#include "verify/flattening.h"

namespace xamo {

class FixedFlattenings {
  public:
    explicit FixedFlattenings(const RuleIndex& index);

    // The rule at `position` has one flattening whose verdict is known here.
    bool decided(std::size_t position) const { return state_[position] != kOpen; }
    bool contradictory(std::size_t position) const { return state_[position] == kContradictory; }

  private:
    enum State : char { kOpen, kConsistent, kContradictory };
    void find_fixed(const RuleIndex& index);
    void find_pairs(const RuleIndex& index);

    std::vector<char> fixed_;   // per condition
    std::vector<char> leaf_;    // per condition: askable, standing for itself
    std::vector<State> state_;  // per rule
};

}  // namespace xamo
