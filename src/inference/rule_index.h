// The conditions of the rules of a base, interned once per inference run: forward inference
// re-enables the rules that mention a condition and keeps its agenda through this index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "kb/conditions.h"
#include "kb/facts.h"
#include "kb/view_table.h"

namespace xamo {

// The conditions of the rules of a base interned: ids for the exact texts, per rule the ids of its
// conditions, per id the rules (indexes in base order) that mention it. The texts are views into
// the rules of the store, which do not change during a run.
class RuleConditionIndex {
  public:
    static constexpr std::uint32_t kNone = ViewTable::npos;

    explicit RuleConditionIndex(const FactStore& store);

    std::size_t rules() const { return rules_.size(); }
    std::size_t conditions() const { return ids_.size(); }
    const Fact& rule(std::size_t i) const { return *rules_[i]; }
    // A negated text (beginning with "n") is not looked up when no condition is negated.
    std::uint32_t id(std::string_view condition) const {
        if (!any_negated_ && is_negated(condition)) return kNone;
        return ids_.find(condition);
    }
    std::string_view text(std::uint32_t id) const { return ids_.text(id); }
    // The ids of rule i's conditions, in its order.
    std::pair<const std::uint32_t*, const std::uint32_t*> conditions_of(std::size_t i) const {
        return {rule_conditions_.data() + rule_offsets_[i],
                rule_conditions_.data() + rule_offsets_[i + 1]};
    }
    // The rules mentioning condition `id`, ascending, each once.
    std::pair<const std::uint32_t*, const std::uint32_t*> rules_with(std::uint32_t id) const {
        return {watchers_.data() + watch_offsets_[id], watchers_.data() + watch_offsets_[id + 1]};
    }

  private:
    std::vector<const Fact*> rules_;
    ViewTable ids_;
    bool any_negated_ = false;
    std::vector<std::uint32_t> rule_offsets_;
    std::vector<std::uint32_t> rule_conditions_;
    std::vector<std::uint32_t> watch_offsets_;
    std::vector<std::uint32_t> watchers_;
};

}  // namespace xamo
