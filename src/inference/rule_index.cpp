#include "inference/rule_index.h"

#include <functional>

namespace xamo {

RuleConditionIndex::RuleConditionIndex(const FactStore& store) {
    const auto& all = store.all(Kind::regula);
    rules_.reserve(all.size());
    rule_offsets_.reserve(all.size() + 1);
    rule_offsets_.push_back(0);
    std::size_t slots = 16;
    while (slots < 2 * all.size()) slots *= 2;
    slots_.assign(slots, 0);
    // Rules per condition, counting a rule that lists a condition twice once.
    std::vector<std::uint32_t> counts;
    std::vector<std::uint32_t> last_rule;
    for (const Fact& rule : all) {
        const auto r = static_cast<std::uint32_t>(rules_.size());
        rules_.push_back(&rule);
        for (const auto& c : Rule(rule).conditions()) {
            const std::uint32_t id = intern(c);
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
    watch_offsets_.assign(texts_.size() + 1, 0);
    for (std::size_t id = 0; id < texts_.size(); ++id)
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

namespace {

std::uint64_t hash_of(std::string_view text) { return std::hash<std::string_view>{}(text); }

std::uint64_t slot_of(std::uint64_t hash, std::uint32_t id) {
    return (hash & 0xffffffff00000000ULL) | (std::uint64_t{id} + 1);
}

}  // namespace

std::uint32_t RuleConditionIndex::id(std::string_view condition) const {
    const std::uint64_t hash = hash_of(condition);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const std::uint64_t slot = slots_[i];
        if (slot == 0) return kNone;
        if ((slot ^ hash) >> 32 != 0) continue;
        const auto id = static_cast<std::uint32_t>(slot) - 1;
        if (texts_[id] == condition) return id;
    }
}

std::uint32_t RuleConditionIndex::intern(std::string_view condition) {
    const std::uint64_t hash = hash_of(condition);
    const std::size_t mask = slots_.size() - 1;
    std::size_t i = hash & mask;
    for (;; i = (i + 1) & mask) {
        const std::uint64_t slot = slots_[i];
        if (slot == 0) break;
        if ((slot ^ hash) >> 32 != 0) continue;
        const auto id = static_cast<std::uint32_t>(slot) - 1;
        if (texts_[id] == condition) return id;
    }
    const auto id = static_cast<std::uint32_t>(texts_.size());
    texts_.push_back(condition);
    slots_[i] = slot_of(hash, id);
    if (2 * texts_.size() > slots_.size()) grow();
    return id;
}

void RuleConditionIndex::grow() {
    slots_.assign(2 * slots_.size(), 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::uint32_t id = 0; id < texts_.size(); ++id) {
        const std::uint64_t hash = hash_of(texts_[id]);
        std::size_t i = hash & mask;
        while (slots_[i] != 0) i = (i + 1) & mask;
        slots_[i] = slot_of(hash, id);
    }
}

}  // namespace xamo
