#include "verify/joint_helpers.h"

#include <algorithm>

#include "dialog/interaction.h"

namespace xamo {

ConstraintMembership::ConstraintMembership(const FactStore& store, RuleIndex& index) {
    for (const Fact& f : store.all(Kind::ograniczenie)) {
        const Constraint c(f);
        numbers_.push_back(c.number());
        members_.push_back(c.members().texts());
        member_ids_.push_back(index.ids_of(c.members()));
    }
    of_.resize(index.size());
    for (std::size_t k = 0; k < member_ids_.size(); ++k) {
        for (ConditionId id : member_ids_[k]) {
            auto& holding = of_[id];
            // A member listed twice in one constraint counts once.
            if (holding.empty() || holding.back() != k) holding.push_back(k);
        }
    }
}

std::string constraint_base_name(const FactStore& store) {
    return store.text(Kind::nazwa_og).value_or("");
}

std::string flattened_key(const FlattenedRule& rule) {
    std::string key = std::to_string(rule.number);
    key += '\x01';
    key += rule.conclusion;
    for (const auto& c : rule.conditions) {
        key += '\x01';
        key += c;
    }
    key += '\x02';
    for (std::int32_t n : rule.numbers) key += std::to_string(n) + ',';
    return key;
}

void write_items(UserInteraction& ui, const StringList& items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        ui.write(items[i]);
        ui.write(i + 1 < items.size() ? "," : "]");
    }
    // An empty list still closes its bracket.
    if (items.empty()) ui.write("]");
}

std::string numbers_text(const IntegerList& numbers) {
    std::string out;
    for (std::int32_t n : numbers) out += std::to_string(n) + ", ";
    return out;
}

}  // namespace xamo
