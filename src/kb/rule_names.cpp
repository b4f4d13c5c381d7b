#include "kb/rule_names.h"

#include "kb/conditions.h"

namespace xamo {

RuleNames::RuleNames(std::shared_ptr<const FactStore::Facts> rules) : rules_(std::move(rules)) {
    std::size_t listed = 0;
    for (const Fact& rule : *rules_) listed += Rule(rule).conditions().size();
    // Room for a distinct conclusion per rule and as many distinct conditions: conditions repeat
    // in large bases, and the table grows in the rare base where they do not.
    names_ = ViewTable(2 * rules_->size());
    offsets_.reserve(rules_->size() + 1);
    offsets_.push_back(0);
    conditions_.resize(listed);
    positive_.resize(listed);
    conclusions_.resize(rules_->size());
    // Each number is written where its tag points.
    const auto write_number = [](std::uint32_t number, bool, std::uint32_t* to) { *to = number; };
    PipelinedInserts<std::uint32_t*, decltype(write_number)> numbering(names_, write_number);
    std::size_t at = 0;
    std::size_t r = 0;
    for (const Fact& rule : *rules_) {
        for (const std::string_view c : Rule(rule).conditions()) {
            numbering.insert(c, &conditions_[at]);
            positive_[at] = npos;  // the condition's own number, once it is known
            if (is_negated(c)) {
                any_negated_ = true;
                numbering.insert(c.substr(1), &positive_[at]);
            }
            ++at;
        }
        offsets_.push_back(static_cast<std::uint32_t>(at));
        numbering.insert(Rule(rule).conclusion(), &conclusions_[r++]);
    }
    numbering.finish();
    for (std::size_t i = 0; i < listed; ++i) {
        if (positive_[i] == npos) positive_[i] = conditions_[i];
    }
}

std::shared_ptr<const RuleNames> FactStore::rule_names() const {
    const auto& rules = facts_[index(Kind::regula)];
    if (!rule_names_) rule_names_ = std::make_shared<const RuleNames>(rules);
    return rule_names_;
}

}  // namespace xamo
