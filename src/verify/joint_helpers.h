// What the joint diagnoses of rules and constraints share: the constraints indexed by the
// conditions of the rule index, and the small writers of their reports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kb/facts.h"
#include "verify/flattening.h"
#include "verify/rule_diagnosis_memory.h"

namespace xamo {

class UserInteraction;

// The constraints of the store in base order, with the constraints holding each condition.
class ConstraintMembership {
  public:
    ConstraintMembership(const FactStore& store, RuleIndex& index);

    std::size_t size() const { return numbers_.size(); }
    std::int32_t number(std::size_t k) const { return numbers_[k]; }
    const StringList& members(std::size_t k) const { return members_[k]; }
    const std::vector<ConditionId>& member_ids(std::size_t k) const { return member_ids_[k]; }
    // The constraints holding the condition, in base order, each once.
    const std::vector<std::size_t>& of(ConditionId id) const {
        return id < of_.size() ? of_[id] : none_;
    }

  private:
    std::vector<std::int32_t> numbers_;
    std::vector<StringList> members_;
    std::vector<std::vector<ConditionId>> member_ids_;
    std::vector<std::vector<std::size_t>> of_;
    std::vector<std::size_t> none_;
};

// The loaded constraint base's file name ("" when none).
std::string constraint_base_name(const FactStore& store);
// A flattened rule as one text, for duplicate tests.
std::string flattened_key(const FlattenedRule& rule);
// Conditions separated by "," and closed by "]", written to the output stream only.
void write_items(UserInteraction& ui, const StringList& items);
// Every number followed by ", ".
std::string numbers_text(const IntegerList& numbers);

}  // namespace xamo
