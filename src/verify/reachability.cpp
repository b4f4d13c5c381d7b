#include "verify/reachability.h"

#include <algorithm>

namespace xamo {
namespace {

// Calls `visit` with every condition of the rule replacements of `c`.
template <typename Visit>
void each_below(const RuleIndex& index, ConditionId c, Visit&& visit) {
    for (const Replacement& replacement : index.replacements(c)) {
        if (replacement.own) continue;
        for (ConditionId d : replacement.conditions) visit(d);
    }
}

}  // namespace

Reachability::Reachability(const RuleIndex& index)
    : index_(index), rank_(index.size(), 0), low_(index.size(), 0), seen_(index.size(), 0) {
    constexpr std::uint32_t kUnvisited = 0xffffffffu;
    std::fill(rank_.begin(), rank_.end(), kUnvisited);
    struct Frame {
        ConditionId condition;
        std::vector<ConditionId> below;
        std::size_t next;
    };
    std::vector<Frame> frames;
    std::uint32_t counter = 0;
    for (ConditionId root = 0; root < index.size(); ++root) {
        if (rank_[root] != kUnvisited) continue;
        frames.push_back({root, {}, 0});
        each_below(index, root, [&](ConditionId d) { frames.back().below.push_back(d); });
        low_[root] = kUnvisited;
        rank_[root] = kUnvisited - 1;  // entered
        while (!frames.empty()) {
            Frame& frame = frames.back();
            if (frame.next < frame.below.size()) {
                const ConditionId d = frame.below[frame.next++];
                if (rank_[d] != kUnvisited) continue;
                rank_[d] = kUnvisited - 1;
                low_[d] = kUnvisited;
                Frame child{d, {}, 0};
                each_below(index, d, [&](ConditionId e) { child.below.push_back(e); });
                frames.push_back(std::move(child));
                continue;
            }
            const ConditionId c = frame.condition;
            rank_[c] = counter++;
            std::uint32_t low = rank_[c];
            for (ConditionId d : frame.below) low = std::min(low, low_[d]);
            low_[c] = low;
            frames.pop_back();
        }
    }
}

bool Reachability::reaches(ConditionId from, ConditionId to) const {
    if (from == to) return true;
    // Conditions interned after the walk lie outside the rule base and reach nothing.
    if (from >= rank_.size() || to >= rank_.size() || !may_reach(from, to)) return false;
    const std::uint32_t generation = ++generation_;
    stack_.assign(1, from);
    seen_[from] = generation;
    while (!stack_.empty()) {
        const ConditionId c = stack_.back();
        stack_.pop_back();
        bool found = false;
        each_below(index_, c, [&](ConditionId d) {
            if (found || seen_[d] == generation) return;
            seen_[d] = generation;
            if (d == to) {
                found = true;
            } else if (may_reach(d, to)) {
                stack_.push_back(d);
            }
        });
        if (found) return true;
    }
    return false;
}

void each_bottom_up(const RuleIndex& index, const std::function<void(ConditionId)>& finish) {
    enum : char { kUnknown, kVisiting, kDone };
    std::vector<char> status(index.size(), kUnknown);
    std::vector<ConditionId> stack;
    for (ConditionId root = 0; root < index.size(); ++root) {
        stack.push_back(root);
        while (!stack.empty()) {
            const ConditionId c = stack.back();
            if (status[c] == kDone) {
                stack.pop_back();
            } else if (status[c] == kUnknown) {
                status[c] = kVisiting;
                each_below(index, c, [&](ConditionId d) {
                    if (status[d] == kUnknown) stack.push_back(d);
                });
            } else {
                status[c] = kDone;
                finish(c);
                stack.pop_back();
            }
        }
    }
}

std::vector<char> reaching_marked(const RuleIndex& index, std::vector<char> marked) {
    marked.resize(index.size(), 0);
    each_bottom_up(index, [&](ConditionId c) {
        each_below(index, c, [&](ConditionId d) { marked[c] = marked[c] || marked[d]; });
    });
    return marked;
}

}  // namespace xamo
