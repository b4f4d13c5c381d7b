#include "verify/fixed_flattenings.h"

#include <algorithm>
#include <cstdint>

#include "verify/reachability.h"

namespace xamo {

FixedFlattenings::FixedFlattenings(const RuleIndex& index) {
    find_fixed(index);
    if (!index.has_cycles()) {
        find_viable(index);
        if (find_pairs(index, true, 8 * (index.size() + index.rules().size()) + 1024)) return;
    }
    find_pairs(index, false, 0);
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
            } else if (alternatives[0].own) {
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

// A condition can be flattened when it is askable or a rule replacing it has only conditions
// that can (the base has no cycles).
void FixedFlattenings::find_viable(const RuleIndex& index) {
    viable_.assign(index.size(), 0);
    const auto rule_viable = [&](const Replacement& r) {
        return std::all_of(r.conditions.begin(), r.conditions.end(),
                           [&](ConditionId d) { return viable_[d] != 0; });
    };
    each_bottom_up(index, [&](ConditionId c) {
        const auto& alternatives = index.replacements(c);
        viable_[c] =
            index.askable(c) || std::any_of(alternatives.begin(), alternatives.end(), rule_viable);
    });
}

// Up from both conditions of each pair through the conditions and rules that reach them; a rule
// reached from both may hold the pair. Only fixed conditions and rules are climbed through unless
// `every_rule`; a fixed rule holds the pair for certain.
bool FixedFlattenings::find_pairs(const RuleIndex& index, bool every_rule, std::size_t budget) {
    const auto& rules = index.rules();
    const std::size_t n = index.size();
    state_.assign(rules.size(), kOpen);
    // Nodes: conditions, then rules.
    std::vector<std::vector<std::uint32_t>> parents(n);
    const auto rule_node = [n](std::size_t position) {
        return static_cast<std::uint32_t>(n + position);
    };
    // Negations are interned for every condition; only what the rules reach is climbed through.
    std::vector<char> reached(n, every_rule ? 0 : 1);
    if (every_rule) {
        std::vector<ConditionId> stack;
        for (const auto& rule : rules)
            stack.insert(stack.end(), rule.conditions.begin(), rule.conditions.end());
        while (!stack.empty()) {
            const ConditionId c = stack.back();
            stack.pop_back();
            if (reached[c]) continue;
            reached[c] = 1;
            for (const Replacement& r : index.replacements(c)) {
                for (ConditionId d : r.conditions) {
                    if (!reached[d]) stack.push_back(d);
                }
            }
        }
    }
    for (ConditionId c = 0; c < n; ++c) {
        if (every_rule ? !reached[c] : (!fixed_[c] || leaf_[c])) continue;
        for (const Replacement& r : index.replacements(c)) {
            if (r.own) continue;
            for (ConditionId d : r.conditions) parents[d].push_back(c);
        }
    }
    std::vector<char> fixed_rule(rules.size(), 0);
    for (std::size_t position = 0; position < rules.size(); ++position) {
        const auto& conditions = rules[position].conditions;
        fixed_rule[position] = std::all_of(conditions.begin(), conditions.end(),
                                           [&](ConditionId c) { return fixed_[c] != 0; });
        if (fixed_rule[position]) {
            state_[position] = kConsistent;
        } else if (every_rule) {
            const bool viable = std::all_of(conditions.begin(), conditions.end(),
                                            [&](ConditionId c) { return viable_[c] != 0; });
            state_[position] = viable ? kConsistent : kNone;
        } else {
            continue;
        }
        for (ConditionId c : conditions) parents[c].push_back(rule_node(position));
    }
    std::vector<std::uint32_t> mark(n + rules.size(), 0);
    std::uint32_t generation = 0;
    std::size_t steps = 0;
    std::vector<std::uint32_t> queue;
    // Marks every node above `from` with `generation`; calls `both` on rules marked before with
    // `earlier`. False when the budget ran out.
    const auto climb = [&](ConditionId from, std::uint32_t earlier, auto&& both) {
        queue.assign(1, from);
        mark[from] = generation;
        for (std::size_t i = 0; i < queue.size(); ++i) {
            const std::uint32_t node = queue[i];
            if (node >= n) continue;
            steps += parents[node].size() + 1;
            if (budget != 0 && steps > budget) return false;
            for (std::uint32_t parent : parents[node]) {
                if (mark[parent] == generation) continue;
                if (parent >= n && earlier != 0 && mark[parent] == earlier) both(parent - n);
                mark[parent] = generation;
                queue.push_back(parent);
            }
        }
        return true;
    };
    const auto endpoint = [&](ConditionId c) { return every_rule ? index.askable(c) : leaf_[c]; };
    for (ConditionId x = 0; x < n; ++x) {
        const ConditionId y = index.negation(x);
        if (!endpoint(x) || !endpoint(y) || x == y || parents[x].empty() || parents[y].empty())
            continue;
        const bool symmetric = index.negation(y) == x;
        if (symmetric && y < x) continue;  // met from the other side
        const std::uint32_t first = ++generation;
        if (!climb(x, 0, [](std::size_t) {})) return false;
        ++generation;
        const bool within = climb(y, first, [&](std::size_t position) {
            if (state_[position] != kConsistent && state_[position] != kContradictory) return;
            // The order decides an asymmetric pair, and a rule with choices may avoid it: the
            // full flattening does.
            state_[position] = symmetric && fixed_rule[position] ? kContradictory : kOpen;
        });
        if (!within) return false;
    }
    return true;
}

}  // namespace xamo
