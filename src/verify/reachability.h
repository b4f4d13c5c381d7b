// Which conditions a condition can reach through the replacements of rules, asked of a base
// without cycles. Each condition gets an interval from one depth-first walk (its post-order rank
// and the least rank below it); a condition can reach only conditions whose interval lies in its
// own, which settles most questions at once, and a walk pruned by the same test settles the rest.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "verify/flattening.h"

namespace xamo {

class Reachability {
  public:
    explicit Reachability(const RuleIndex& index);
    // `to` is `from` or a condition of a replacement of a condition `from` reaches.
    bool reaches(ConditionId from, ConditionId to) const;

  private:
    bool may_reach(ConditionId from, ConditionId to) const {
        return low_[from] <= low_[to] && rank_[to] <= rank_[from];
    }
    const RuleIndex& index_;
    std::vector<std::uint32_t> rank_;
    std::vector<std::uint32_t> low_;
    mutable std::vector<std::uint32_t> seen_;
    mutable std::uint32_t generation_ = 0;
    mutable std::vector<ConditionId> stack_;
};

// Calls `finish` with every condition of a base without cycles, each after every condition of
// its rule replacements (on an explicit stack, so a deep base needs no deep call stack).
void each_bottom_up(const RuleIndex& index, const std::function<void(ConditionId)>& finish);

// For every condition of a base without cycles: it is marked or reaches a marked condition
// through the replacements of rules.
std::vector<char> reaching_marked(const RuleIndex& index, std::vector<char> marked);

}  // namespace xamo
