// The conditions of the rules of a base indexed once per inference run: forward inference
// re-enables the rules that mention a condition and keeps its agenda through this index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "kb/conditions.h"
#include "kb/facts.h"
#include "kb/rule_names.h"

namespace xamo {

// The conditions of the rules of a base, numbered as the store numbers the rules' names
// (RuleNames): per rule the numbers of its conditions, per number the rules (indexes in base
// order) that mention it. Only the lists of rules per number are made here.
class RuleConditionIndex {
  public:
    static constexpr std::uint32_t kNone = RuleNames::npos;

    explicit RuleConditionIndex(const FactStore& store);

    std::size_t rules() const { return names_->rules().size(); }
    // Numbers run below this (conclusions and positive forms are numbered too).
    std::size_t conditions() const { return names_->size(); }
    const Fact& rule(std::size_t i) const { return names_->rules()[i]; }
    // A negated text (beginning with "n") is not looked up when no condition is negated.
    std::uint32_t id(std::string_view condition) const {
        if (!names_->any_negated() && is_negated(condition)) return kNone;
        return names_->find(condition);
    }
    std::string_view text(std::uint32_t id) const { return names_->text(id); }
    const RuleNames& names() const { return *names_; }
    bool any_negated() const { return names_->any_negated(); }
    // The ids of rule i's conditions, in its order.
    std::pair<const std::uint32_t*, const std::uint32_t*> conditions_of(std::size_t i) const {
        return names_->conditions(i);
    }
    // The rules mentioning condition `id`, ascending, each once.
    std::pair<const std::uint32_t*, const std::uint32_t*> rules_with(std::uint32_t id) const {
        return {watchers_.data() + watch_offsets_[id], watchers_.data() + watch_offsets_[id + 1]};
    }

  private:
    std::shared_ptr<const RuleNames> names_;
    std::vector<std::uint32_t> watch_offsets_;
    std::vector<std::uint32_t> watchers_;
};

}  // namespace xamo
