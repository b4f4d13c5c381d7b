// The names of a rule base numbered once, shared by the steps that work on them: the askable
// computation of a load, the rule index of inference and working memory. Every condition as
// written, the positive form of every negated one and every conclusion gets a number, so that
// the later steps test, count and index numbers instead of hashing the same texts again.
//
// The numbering views the texts of a snapshot of the rules it keeps (FactStore::share), so it
// stays valid whatever the store does; FactStore::rule_names() makes it on first use and again
// only after the rules changed.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
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

// A list of names of one numbering, four bytes a member: the lists a load keeps of a rule base's
// conditions and conclusions hold numbers, not copies of texts the rules hold already.
class NumberedNames {
  public:
    class const_iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;

        const_iterator() = default;
        const_iterator(const NumberedNames* list, std::size_t at) : list_(list), at_(at) {}
        std::string_view operator*() const { return (*list_)[at_]; }
        const_iterator& operator++() {
            ++at_;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return at_ == other.at_; }

      private:
        const NumberedNames* list_ = nullptr;
        std::size_t at_ = 0;
    };

    NumberedNames() = default;
    NumberedNames(std::shared_ptr<const RuleNames> names, std::vector<std::uint32_t> numbers)
        : names_(std::move(names)), numbers_(std::move(numbers)) {}

    std::size_t size() const { return numbers_.size(); }
    bool empty() const { return numbers_.empty(); }
    std::string_view operator[](std::size_t i) const { return names_->text(numbers_[i]); }
    // The numbering the members' numbers belong to (none for an empty list made by default).
    const std::shared_ptr<const RuleNames>& numbering() const { return names_; }
    const std::vector<std::uint32_t>& numbers() const { return numbers_; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    friend bool operator==(const NumberedNames& a, const StringList& b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    }

  private:
    std::shared_ptr<const RuleNames> names_;
    std::vector<std::uint32_t> numbers_;
};

}  // namespace xamo
