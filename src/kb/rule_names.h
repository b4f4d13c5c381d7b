// The names of a rule base numbered once, shared by the steps that work on them: the askable
// computation of a load, the rule index of inference and working memory. Every condition as
// written, the positive form of every negated one and every conclusion gets a number, so that
// the later steps test, count and index numbers instead of hashing the same texts again.
//
// The numbering views the texts of a snapshot of the rules it keeps (FactStore::share), so it
// stays valid whatever the store does; FactStore::rule_names() makes it on first use and again
// only after the rules changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "kb/facts.h"
#include "kb/view_table.h"

namespace xamo {

class RuleNames {
  public:
    static constexpr std::uint32_t npos = ViewTable::npos;
    using Range = std::pair<const std::uint32_t*, const std::uint32_t*>;

    explicit RuleNames(std::shared_ptr<const FactStore::Facts> rules);

    // The rules numbered, in base order.
    const FactStore::Facts& rules() const { return *rules_; }
    // How many distinct names there are; numbers run from 0 to size() - 1.
    std::size_t size() const { return names_.size(); }
    std::uint32_t find(std::string_view text) const { return names_.find(text); }
    // Asks the processor for the place where find(text) will look first.
    void prefetch(std::string_view text) const { names_.prefetch(ViewTable::hash_of(text)); }
    std::string_view text(std::uint32_t number) const { return names_.text(number); }
    // Whether some condition begins with the negation prefix.
    bool any_negated() const { return any_negated_; }

    std::uint32_t conclusion(std::size_t rule) const { return conclusions_[rule]; }
    // The numbers of rule `rule`'s conditions as written, in its order.
    Range conditions(std::size_t rule) const { return range(conditions_, rule); }
    // The number of a condition's positive form (its own for a condition not negated).
    std::uint32_t positive(std::uint32_t condition) const { return positive_[condition]; }
    // Every condition of every rule in base order, and every conclusion.
    const std::vector<std::uint32_t>& all_conditions() const { return conditions_; }
    const std::vector<std::uint32_t>& all_conclusions() const { return conclusions_; }

  private:
    Range range(const std::vector<std::uint32_t>& numbers, std::size_t rule) const {
        return {numbers.data() + offsets_[rule], numbers.data() + offsets_[rule + 1]};
    }

    std::shared_ptr<const FactStore::Facts> rules_;
    ViewTable names_;
    bool any_negated_ = false;
    std::vector<std::uint32_t> offsets_;
    std::vector<std::uint32_t> conditions_;
    std::vector<std::uint32_t> conclusions_;
    std::vector<std::uint32_t> positive_;  // by number
};

}  // namespace xamo
