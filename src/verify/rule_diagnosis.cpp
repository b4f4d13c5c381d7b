#include "verify/rule_diagnosis.h"

#include <algorithm>

#include "dialog/interaction.h"

namespace xamo {

RuleDiagnosisContext::RuleDiagnosisContext(FactStore& store_, UserInteraction& ui_,
                                           const AskableMemory& askable_, DiagnosisFlags& flags_,
                                           RuleDiagnosisMemory& memory_, CommandSwitch set_enabled)
    : store(store_),
      ui(ui_),
      askable(askable_),
      flags(flags_),
      memory(memory_),
      set_enabled_(std::move(set_enabled)) {}

RuleDiagnosisContext::~RuleDiagnosisContext() = default;

void RuleDiagnosisContext::set_enabled(const std::vector<int>& ids, bool enabled) const {
    if (set_enabled_) set_enabled_(ids, enabled);
}

std::string RuleDiagnosisContext::base_name() const {
    return store.text(Kind::nazwa_re).value_or("");
}

bool RuleDiagnosisContext::build_index(SearchProgress& progress) {
    if (index_) return true;
    index_ = std::make_unique<RuleIndex>(store, askable, &progress);
    if (index_->interrupted()) {
        index_.reset();
        return false;
    }
    flattenings_.assign(index_->rules().size(), std::nullopt);
    return true;
}

RuleIndex& RuleDiagnosisContext::index() {
    if (!index_) {
        index_ = std::make_unique<RuleIndex>(store, askable);
        flattenings_.assign(index_->rules().size(), std::nullopt);
    }
    return *index_;
}

const std::vector<Flattening>* RuleDiagnosisContext::flattenings(std::size_t position,
                                                                 SearchProgress* progress) {
    RuleIndex& rules = index();
    auto& cached = flattenings_[position];
    if (cached) return &*cached;
    std::vector<Flattening> all;
    Flattener flattener(rules, rules.rules()[position].conditions, progress);
    while (const Flattening* f = flattener.next()) all.push_back(*f);
    if (flattener.interrupted()) return nullptr;
    if (flattener.reached_cycle()) reached_cycle(rules.rules()[position].number);
    cached = std::move(all);
    return &*cached;
}

bool RuleDiagnosisContext::each_flattening(std::size_t position, SearchProgress* progress,
                                           const std::function<bool(const Flattening&)>& visit,
                                           bool keep_shared) {
    RuleIndex& rules = index();
    const auto& rule = rules.rules()[position];
    if (flattenings_[position] || (keep_shared && rules.concluding(rule.conclusion).size() > 1)) {
        const auto* all = flattenings(position, progress);
        if (!all) return false;
        for (const Flattening& f : *all) {
            if (!visit(f)) return false;
        }
        return true;
    }
    Flattener flattener(rules, rule.conditions, progress);
    while (const Flattening* f = flattener.next()) {
        if (!visit(*f)) return false;
    }
    if (flattener.interrupted()) return false;
    if (flattener.reached_cycle()) reached_cycle(rule.number);
    return true;
}

void RuleDiagnosisContext::reached_cycle(std::int32_t rule) {
    if (std::find(cycle_rules_.begin(), cycle_rules_.end(), rule) == cycle_rules_.end())
        cycle_rules_.push_back(rule);
}

void RuleDiagnosisContext::tell_cycles() {
    if (told_ == cycle_rules_.size()) return;
    tell_incomplete_flattening(
        ui,
        IntegerList(cycle_rules_.begin() + static_cast<std::ptrdiff_t>(told_), cycle_rules_.end()));
    told_ = cycle_rules_.size();
}

std::string not_fully_checked(const std::string& kind, const std::string& name,
                              const std::string& other_kind, const std::string& other_name) {
    if (other_kind.empty()) return "Baza " + kind + " " + name + " nie została w pełni sprawdzona.";
    return "Baza " + kind + " " + name + " i baza " + other_kind + " " + other_name +
           " nie zostały w pełni sprawdzone.";
}

void tell_incomplete_flattening(UserInteraction& ui, const IntegerList& rules) {
    if (rules.empty()) return;
    std::string numbers;
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (i) numbers += ", ";
        numbers += std::to_string(rules[i]);
    }
    const bool one = rules.size() == 1;
    ui.note("Uwaga!", std::string(one ? "Reguły " : "Reguł ") + numbers +
                          " nie można spłaszczyć całkowicie,\ngdyż " +
                          (one ? "prowadzi ona" : "prowadzą one") +
                          " do cyklu reguł (warunku zależnego od samego siebie).\n" +
                          "Spłaszczenia przechodzące przez ten cykl zostały pominięte.\n" +
                          "Cykl wskaże diagnostyka sprzeczności zewnętrznych bazy reguł.");
}

}  // namespace xamo
