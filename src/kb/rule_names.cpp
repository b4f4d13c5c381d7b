#include "kb/rule_names.h"

#include "kb/conditions.h"

namespace xamo {

namespace {

// Each rule's fields, list and names are allocations of their own: asking for them some rules
// ahead overlaps the cache misses of reading a large base.
void prefetch_rule(const FactStore::Facts& rules, std::size_t at) {
    constexpr std::size_t kFieldsAhead = 8;
    constexpr std::size_t kNamesAhead = 4;
    if (at + kFieldsAhead < rules.size())
        __builtin_prefetch(rules[at + kFieldsAhead].fields.data());
    if (at + kNamesAhead < rules.size()) {
        const Rule ahead(rules[at + kNamesAhead]);
        ahead.conclusion().prefetch();
        for (const Name& c : ahead.conditions()) c.prefetch();
    }
}

}  // namespace

RuleNames::RuleNames(std::shared_ptr<const FactStore::Facts> rules) : rules_(std::move(rules)) {
    std::size_t listed = 0;
    for (const Fact& rule : *rules_) listed += Rule(rule).conditions().size();
    // Room for a distinct conclusion per rule and as many distinct conditions: conditions repeat
    // in large bases, and the table grows in the rare base where they do not.
    names_ = ViewTable(2 * rules_->size());
    offsets_.reserve(rules_->size() + 1);
    offsets_.push_back(0);
    conditions_.resize(listed);
    conclusions_.resize(rules_->size());
    // A number is written where its tag points; a tag without a place is the positive form of
    // the condition listed at its position, numbered by then (texts settle in order).
    using Tag = std::pair<std::uint32_t*, std::uint32_t>;
    const auto settled = [this](std::uint32_t number, bool, Tag tag) {
        if (tag.first != nullptr) {
            *tag.first = number;
            return;
        }
        const std::uint32_t negated = conditions_[tag.second];
        if (negated >= positive_.size()) positive_.resize(names_.size(), npos);
        positive_[negated] = number;
    };
    PipelinedInserts<Tag, decltype(settled)> numbering(names_, settled);
    std::size_t at = 0;
    std::size_t r = 0;
    for (const Fact& rule : *rules_) {
        prefetch_rule(*rules_, r);
        for (const std::string_view c : Rule(rule).conditions()) {
            numbering.insert(c, {&conditions_[at], 0});
            if (is_negated(c)) {
                any_negated_ = true;
                numbering.insert(c.substr(1), {nullptr, static_cast<std::uint32_t>(at)});
            }
            ++at;
        }
        offsets_.push_back(static_cast<std::uint32_t>(at));
        numbering.insert(Rule(rule).conclusion(), {&conclusions_[r++], 0});
    }
    numbering.finish();
    positive_.resize(names_.size(), npos);
    for (std::uint32_t name = 0; name < positive_.size(); ++name) {
        if (positive_[name] == npos) positive_[name] = name;
    }
    names_.shrink_to_fit();
}

std::shared_ptr<const RuleNames> FactStore::rule_names() const {
    const auto& rules = facts_[index(Kind::regula)];
    if (!rule_names_) rule_names_ = std::make_shared<const RuleNames>(rules);
    return rule_names_;
}

}  // namespace xamo
