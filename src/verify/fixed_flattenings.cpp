#include "verify/fixed_flattenings.h"

#include <cstdint>

namespace xamo {

FixedFlattenings::FixedFlattenings(const RuleIndex& index) {
    find_fixed(index);
    find_pairs(index);
}

// A condition is fixed when it stands for itself, or has one rule as its only replacement and
// every condition of that rule is fixed; bottom-up on an explicit stack. Conditions off every
// cycle form a graph without cycles, so a condition being visited is never met again below.
void FixedFlattenings::find_fixed(const RuleIndex& index) {
    enum : char { kUnknown, kVisiting, kYes, kNo };
    const std::size_t n = index.size();
    std::vector<char> status(n, kUnknown);
    leaf_.assign(n, 0);
    std::vector<ConditionId> stack;
    for (ConditionId root = 0; root < n; ++root) {
        stack.push_back(root);
        while (!stack.empty()) {
            const ConditionId c = stack.back();
            const auto& alternatives = index.replacements(c);
            if (status[c] == kYes || status[c] == kNo) {
                stack.pop_back();
            } else if (alternatives.size() != 1 || index.same_cycle(c, c)) {
                status[c] = kNo;
            } else if (alternatives[0].number == 0) {
                status[c] = kYes;
                leaf_[c] = 1;
            } else if (status[c] == kUnknown) {
                status[c] = kVisiting;
                for (ConditionId d : alternatives[0].conditions) {
                    if (status[d] == kUnknown) stack.push_back(d);
                }
            } else {
                status[c] = kYes;
                for (ConditionId d : alternatives[0].conditions) {
                    if (status[d] != kYes) status[c] = kNo;
                }
            }
        }
    }
    fixed_.resize(n);
    for (std::size_t c = 0; c < n; ++c) fixed_[c] = status[c] == kYes ? 1 : 0;
}

// Up from both conditions of each pair through the fixed conditions and rules that reach them;
// a rule reached from both holds the pair.
void FixedFlattenings::find_pairs(const RuleIndex& index) {
    const auto& rules = index.rules();
    const std::size_t n = index.size();
    state_.assign(rules.size(), kOpen);
    // Nodes: conditions, then rules.
    std::vector<std::vector<std::uint32_t>> parents(n);
    const auto rule_node = [n](std::size_t position) {
        return static_cast<std::uint32_t>(n + position);
    };
    for (ConditionId c = 0; c < n; ++c) {
        if (!fixed_[c] || leaf_[c]) continue;
        for (ConditionId d : index.replacements(c)[0].conditions) parents[d].push_back(c);
    }
    for (std::size_t position = 0; position < rules.size(); ++position) {
        bool fixed = true;
        for (ConditionId c : rules[position].conditions) fixed = fixed && fixed_[c];
        if (!fixed) continue;
        state_[position] = kConsistent;
        for (ConditionId c : rules[position].conditions) parents[c].push_back(rule_node(position));
    }
    std::vector<std::uint32_t> mark(n + rules.size(), 0);
    std::uint32_t generation = 0;
    std::vector<std::uint32_t> queue;
    // Marks every node above `from` with `generation`; calls `both` on rules marked before with
    // `earlier`.
    const auto climb = [&](ConditionId from, std::uint32_t earlier, auto&& both) {
        queue.assign(1, from);
        mark[from] = generation;
        for (std::size_t i = 0; i < queue.size(); ++i) {
            const std::uint32_t node = queue[i];
            if (node >= n) continue;
            for (std::uint32_t parent : parents[node]) {
                if (mark[parent] == generation) continue;
                if (parent >= n && earlier != 0 && mark[parent] == earlier) both(parent - n);
                mark[parent] = generation;
                queue.push_back(parent);
            }
        }
    };
    for (ConditionId x = 0; x < n; ++x) {
        const ConditionId y = index.negation(x);
        if (!leaf_[x] || !leaf_[y] || x == y || parents[x].empty() || parents[y].empty()) continue;
        const bool symmetric = index.negation(y) == x;
        if (symmetric && y < x) continue;  // met from the other side
        const std::uint32_t first = ++generation;
        climb(x, 0, [](std::size_t) {});
        ++generation;
        climb(y, first, [&](std::size_t position) {
            if (state_[position] == kOpen) return;
            // The order decides an asymmetric pair: the full flattening does.
            state_[position] = symmetric ? kContradictory : kOpen;
        });
    }
}

}  // namespace xamo
