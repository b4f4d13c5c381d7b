#include "inference/rule_index.h"

namespace xamo {

RuleConditionIndex::RuleConditionIndex(const FactStore& store) : names_(store.rule_names()) {
    const std::size_t rules = names_->rules().size();
    // Rules per condition, counting a rule that lists a condition twice once.
    std::vector<std::uint32_t> counts(names_->size(), 0);
    std::vector<std::uint32_t> last_rule(names_->size(), kNone);
    for (std::uint32_t r = 0; r < rules; ++r) {
        for (auto id = conditions_of(r).first; id != conditions_of(r).second; ++id) {
            if (last_rule[*id] == r) continue;
            last_rule[*id] = r;
            ++counts[*id];
        }
    }
    watch_offsets_.assign(names_->size() + 1, 0);
    for (std::size_t id = 0; id < names_->size(); ++id)
        watch_offsets_[id + 1] = watch_offsets_[id] + counts[id];
    watchers_.resize(watch_offsets_.back());
    std::vector<std::uint32_t> next(watch_offsets_.begin(), watch_offsets_.end() - 1);
    std::fill(last_rule.begin(), last_rule.end(), kNone);
    for (std::uint32_t r = 0; r < rules; ++r) {
        for (auto id = conditions_of(r).first; id != conditions_of(r).second; ++id) {
            if (last_rule[*id] == r) continue;
            last_rule[*id] = r;
            watchers_[next[*id]++] = r;
        }
    }
}

}  // namespace xamo
