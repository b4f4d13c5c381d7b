#include "inference/context.h"

#include <algorithm>
#include <functional>

#include "kb/codec.h"
#include "kb/conditions.h"

namespace xamo {

InferenceContext::InferenceContext(FactStore& store_, InferenceMemory& memory_,
                                   const AskableMemory& askable_memory, Report& report_,
                                   UserInteraction& ui_)
    : store(store_), memory(memory_), askable(askable_memory), report(report_), ui(ui_) {
    index_askable();
}

Task<bool> not_verified(std::string) { co_return false; }

void MediaOffers::offer(std::int32_t number, const std::string& condition) const {
    if (udziel_rady) udziel_rady(number, condition);
    if (wyswietl_grafike) wyswietl_grafike(number, condition);
    if (przesluchaj_melodie) przesluchaj_melodie(number, condition);
}

void InferenceContext::begin_progress(const std::string& title) {
    progress_ = std::make_unique<RunProgress>(ui, title, "Trwa wnioskowanie...", progress_delay);
}

void InferenceContext::clear_dialog() {
    title.clear();
    // The room goes too: the dialog of 300,000 declared facts is not kept through the run.
    std::vector<std::string>().swap(lines);
}

void InferenceContext::show_dialog() {
    ui.explain(title, lines);
    clear_dialog();
}

void InferenceContext::line(const std::string& text) { report.line(text); }

void InferenceContext::line_and_dialog(std::string text) {
    line(text);
    lines.push_back(std::move(text));
}

namespace {

// `list` is a reference to a list or a SharedTexts, which keeps its list while the lookup lives.
template <typename Kept>
LazyViewSet lookup_of(Kept list) {
    return LazyViewSet([list](ViewTable& table) {
        const StringList& members = list;
        table = ViewTable(members.size());
        for (const auto& member : members) table.insert(member);
    });
}

}  // namespace

void InferenceContext::index_askable() {
    askable_ = lookup_of(model_base_loaded() ? askable.lista_warunkow_i_argumentow_dopytywalnych
                                             : askable.lista_warunkow_dopytywalnych);
    askable_conditions_and_arguments_ =
        lookup_of(askable.lista_warunkow_i_argumentow_dopytywalnych);
    askable_arguments_ = lookup_of(askable.lista_argumentow_dopytywalnych);
    model_conclusions_ = lookup_of(std::cref(askable.lista_wnioskow_modeli));
    rule_index_.reset();
    constraints_indexed_ = false;
}

bool InferenceContext::is_askable(std::string_view condition) const {
    return askable_.contains(is_negated(condition) ? condition.substr(1) : condition);
}

bool InferenceContext::in_askable_conditions_and_arguments(const std::string& name) const {
    return askable_conditions_and_arguments_.contains(name);
}

bool InferenceContext::is_askable_argument(const std::string& name) const {
    return askable_arguments_.contains(name);
}

bool InferenceContext::is_model_conclusion(const std::string& name) const {
    return model_conclusions_.contains(name);
}

const Fact* InferenceContext::constraint_with(const std::string& condition) {
    const auto& holding = constraints_holding(condition);
    return holding.empty() ? nullptr : &store.all(Kind::ograniczenie)[holding.front()];
}

const std::vector<std::size_t>& InferenceContext::constraints_holding(const std::string& member) {
    if (!constraints_indexed_) {
        constraints_by_member_.clear();
        const auto& constraints = store.all(Kind::ograniczenie);
        for (std::size_t i = 0; i < constraints.size(); ++i) {
            for (const auto& m : Constraint(constraints[i]).members()) {
                auto& holding = constraints_by_member_[m.str()];
                if (holding.empty() || holding.back() != i) holding.push_back(i);
            }
        }
        constraints_indexed_ = true;
    }
    static const std::vector<std::size_t> none;
    // Without constraints (most bases) a declared fact costs no lookup.
    if (constraints_by_member_.empty()) return none;
    const auto it = constraints_by_member_.find(member);
    return it == constraints_by_member_.end() ? none : it->second;
}

void InferenceContext::constraint_member_removed(const std::string& member,
                                                 const std::vector<std::size_t>& positions) {
    if (!constraints_indexed_) return;
    const auto it = constraints_by_member_.find(member);
    if (it == constraints_by_member_.end()) return;
    std::erase_if(it->second, [&positions](std::size_t i) {
        return std::binary_search(positions.begin(), positions.end(), i);
    });
    if (it->second.empty()) constraints_by_member_.erase(it);
}

const RuleConditionIndex& InferenceContext::rule_index() {
    if (!rule_index_) rule_index_ = std::make_unique<RuleConditionIndex>(store);
    return *rule_index_;
}

void InferenceContext::skasuj_zastosowane_reguly(const std::string& x, std::uint32_t name) {
    if (memory.regula_zastosowana.empty()) return;
    const RuleConditionIndex& index = rule_index();
    const auto re_enable = [this, &index](std::uint32_t id) {
        if (id == RuleConditionIndex::kNone) return;
        for (auto r = index.rules_with(id).first; r != index.rules_with(id).second; ++r)
            memory.regula_zastosowana.erase(Rule(index.rule(*r)).number());
    };
    const bool named = name != WorkingMemory::kNoName && memory.rbd.names() == &index.names();
    re_enable(named ? name : index.id(x));
    // "n" + x is a condition only where some condition is negated.
    if (is_negated(x) || index.any_negated()) re_enable(index.id(negacja(x)));
}

std::string positive_form(std::string_view condition) {
    return is_negated(condition) ? negacja(condition) : std::string(condition);
}

std::string padded_question(const std::string& question) {
    const std::size_t length = utf8_length(question);
    return length >= 55 ? question : question + std::string(55 - length, ' ');
}

}  // namespace xamo
