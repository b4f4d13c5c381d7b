#include "inference/rule_index.h"

#include <deque>

namespace xamo {

namespace {

std::size_t conditions_listed(const std::deque<Fact>& rules) {
    std::size_t count = 0;
    for (const Fact& rule : rules) count += Rule(rule).conditions().size();
    return count;
}

}  // namespace

RuleConditionIndex::RuleConditionIndex(const FactStore& store) {
    const auto& all = store.all(Kind::regula);
    // Sized once for every condition listed, so that the table never grows.
    const std::size_t listed = conditions_listed(all);
    ids_ = ViewTable(listed);
    rule_conditions_.reserve(listed);
    rules_.reserve(all.size());
    rule_offsets_.reserve(all.size() + 1);
    rule_offsets_.push_back(0);
    // Rules per condition, counting a rule that lists a condition twice once.
    std::vector<std::uint32_t> counts;
    std::vector<std::uint32_t> last_rule;
    for (const Fact& rule : all) {
        const auto r = static_cast<std::uint32_t>(rules_.size());
        rules_.push_back(&rule);
        for (const auto& c : Rule(rule).conditions()) {
            const std::uint32_t id = ids_.insert(c).first;
            if (is_negated(c)) any_negated_ = true;
            if (id == counts.size()) {
                counts.push_back(0);
                last_rule.push_back(kNone);
            }
            rule_conditions_.push_back(id);
            if (last_rule[id] != r) {
                last_rule[id] = r;
                ++counts[id];
            }
        }
        rule_offsets_.push_back(static_cast<std::uint32_t>(rule_conditions_.size()));
    }
    watch_offsets_.assign(ids_.size() + 1, 0);
    for (std::size_t id = 0; id < ids_.size(); ++id)
        watch_offsets_[id + 1] = watch_offsets_[id] + counts[id];
    watchers_.resize(watch_offsets_.back());
    std::vector<std::uint32_t> next(watch_offsets_.begin(), watch_offsets_.end() - 1);
    std::fill(last_rule.begin(), last_rule.end(), kNone);
    for (std::uint32_t r = 0; r < rules_.size(); ++r) {
        for (auto id = conditions_of(r).first; id != conditions_of(r).second; ++id) {
            if (last_rule[*id] == r) continue;
            last_rule[*id] = r;
            watchers_[next[*id]++] = r;
        }
    }
}

}  // namespace xamo
