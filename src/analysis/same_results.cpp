#include "analysis/same_results.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "analysis/exclusive_conclusions.h"
#include "dialog/write_lines.h"
#include "kb/conditions.h"
#include "kb/operations.h"
#include "verify/flattening.h"

namespace xamo {
namespace {

enum ModelKind { Basic, Extended, Linear, Polynomial };

// Arithmetic models of one kind, as (result, application condition) in base order.
struct ResultModel {
    std::string result;
    std::string condition;
};

// A basic model counts with a two-argument symbol; with `functions` also with a one-argument
// function (the rule-condition count never).
std::vector<ResultModel> arithmetic_models(const FactStore& store, ModelKind kind,
                                           bool functions = false) {
    std::vector<ResultModel> out;
    const auto add = [&out](const Fact& model) {
        out.push_back({AnyModel(model).result().str(), AnyModel(model).condition().str()});
    };
    switch (kind) {
        case Basic:
            for (const Fact& m : store.all(Kind::model)) {
                const auto role = basic_symbol_role(Model(m).symbol());
                if (role == SymbolRole::TwoArgument || (functions && role == SymbolRole::Function))
                    add(m);
            }
            break;
        case Extended:
            for (const Fact& m : store.all(Kind::model_r)) {
                if (is_extended_arithmetic(ModelR(m).symbol())) add(m);
            }
            break;
        case Linear:
            for (const Fact& m : store.all(Kind::model_liniowy)) add(m);
            break;
        case Polynomial:
            for (const Fact& m : store.all(Kind::model_wielomianowy)) add(m);
            break;
    }
    return out;
}

struct Check {
    ModelKind first;
    ModelKind second;
    const char* phrase;
};

// Pairs of kinds first, then each kind alone (first == second).
constexpr std::array<Check, 10> kChecks{{
    {Basic, Extended, "Baza modeli zawiera modele elementarne i rozwinięte"},
    {Basic, Linear, "Baza modeli zawiera modele elementarne i liniowe"},
    {Basic, Polynomial, "Baza modeli zawiera modele elementarne i wielomianowe"},
    {Extended, Linear, "Baza modeli zawiera modele rozwinięte i liniowe"},
    {Extended, Polynomial, "Baza modeli zawiera modele rozwinięte i wielomianowe"},
    {Linear, Polynomial, "Baza modeli zawiera modele liniowe i wielomianowe"},
    {Basic, Basic, "Baza modeli zawiera modele elementarne "},
    {Extended, Extended, "Baza modeli zawiera modele rozwinięte "},
    {Linear, Linear, "Baza modeli zawiera modele liniowe "},
    {Polynomial, Polynomial, "Baza modeli zawiera modele wielomianowe "},
}};

class ExclusionTest {
  public:
    explicit ExclusionTest(const FactStore& store) {
        for (const Fact& rule : store.all(Kind::regula))
            by_conclusion_[Rule(rule).conclusion().str()].push_back(&rule);
    }

    bool exclude(const std::string& c1, const std::string& c2) const {
        if (c1 == negacja(c2)) return true;
        const auto r1 = by_conclusion_.find(c1);
        const auto r2 = by_conclusion_.find(c2);
        if (r1 == by_conclusion_.end() || r2 == by_conclusion_.end()) return false;
        for (const Fact* a : r1->second) {
            std::unordered_set<std::string> negations;
            for (const auto& c : Rule(*a).conditions()) negations.insert(negacja(c));
            for (const Fact* b : r2->second) {
                for (const auto& c : Rule(*b).conditions()) {
                    if (negations.count(c.str()) > 0) return true;
                }
            }
        }
        return false;
    }

  private:
    std::map<std::string, std::vector<const Fact*>> by_conclusion_;
};

// The first result computed by a model of `first` and a model of `second` (two distinct models
// for one kind) whose application conditions differ and do not exclude each other.
std::optional<std::string> offending_result(const std::vector<ResultModel>& a,
                                            const std::vector<ResultModel>& b, bool same_kind,
                                            const ExclusionTest& test) {
    std::map<std::string, std::vector<const ResultModel*>> second_by_result;
    for (const auto& m : b) second_by_result[m.result].push_back(&m);
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto found = second_by_result.find(a[i].result);
        if (found == second_by_result.end()) continue;
        for (const ResultModel* other : found->second) {
            if (same_kind && other <= &a[i]) continue;
            if (a[i].condition == other->condition) continue;
            if (!test.exclude(a[i].condition, other->condition)) return a[i].result;
        }
    }
    return std::nullopt;
}

std::string same_result_note(const std::string& phrase, const std::string& result) {
    return phrase + std::string("\no tych samych wynikach/wnioskach:") + "\n               " +
           result + "\nWarunki stosowania tych modeli nie wykluczają się, " +
           "\nponieważ brak odpowiedniej bazy ograniczeń " +
           "\nlub odpowiednich modeli relacyjnych." +
           "\nZaładowaną bazę modeli możesz tylko edytować, " +
           "\nlecz nie możesz korzystać z niej dla wnioskowania." +
           "\nPrzejdź do opcji 'Baza ograniczeń/Tworzenie bazy ograniczeń'" +
           "\ni utwórz odpowiednią bazę ograniczeń lub przejdź do opcji " +
           "\n'''Baza modeli/Edycja bazy modeli'" + "\ni popraw bazę modeli. ";
}

// --- the check with a constraint base ----------------------------------------------------------

// Application conditions known to exclude each other without looking at the rules.
class KnownExclusions {
  public:
    explicit KnownExclusions(const FactStore& store) {
        for (const Fact& c : store.all(Kind::ograniczenie)) add(Constraint(c).members());
        for (const Fact& l : store.all(Kind::modele_ekskluzywne)) add(ListFact(l).items());
    }

    // A condition and its negation, or all members of one constraint or exclusive list.
    bool exclude(const StringList& conditions) const {
        if (conditions.size() == 2 && conditions[0] == negacja(conditions[1])) return true;
        const auto holding = sets_with_.find(conditions.front());
        if (holding == sets_with_.end()) return false;
        return std::any_of(holding->second.begin(), holding->second.end(), [&](std::size_t s) {
            return std::all_of(conditions.begin(), conditions.end(),
                               [&](const std::string& c) { return sets_[s].contains(c); });
        });
    }

  private:
    void add(const NameList& members) {
        const std::size_t id = sets_.size();
        auto& set = sets_.emplace_back();
        for (const Name& member : members) set.emplace(member.view());
        for (const auto& member : set) sets_with_[member].push_back(id);
    }

    std::vector<std::unordered_set<std::string>> sets_;
    std::unordered_map<std::string, std::vector<std::size_t>> sets_with_;
};

// The distinct application conditions of every result computed by the models, in the order the
// results first appear. A result whose models share one condition is left out, as in the check
// without constraints.
std::vector<StringList> same_result_groups(const std::vector<ResultModel>& models) {
    std::unordered_map<std::string, std::size_t> group_of;
    std::unordered_set<std::string> seen;  // result + '\0' + condition
    std::vector<StringList> groups;
    for (const auto& m : models) {
        const auto [at, fresh] = group_of.try_emplace(m.result, groups.size());
        if (fresh) groups.emplace_back();
        if (seen.insert(m.result + '\0' + m.condition).second)
            groups[at->second].push_back(m.condition);
    }
    std::erase_if(groups, [](const StringList& group) { return group.size() < 2; });
    return groups;
}

std::string positive(const std::string& condition) {
    return is_negated(condition) ? condition.substr(1) : condition;
}

// What concludes the application conditions: rules, taken in their first flattening, and
// relational models.
class ConcludingRules {
  public:
    explicit ConcludingRules(RuleDiagnosisContext& ctx) : ctx_(ctx), index_(ctx.index()) {
        for (const Fact& m : ctx.store.all(Kind::model)) {
            if (is_basic_relation(Model(m).symbol())) relational_.insert(Model(m).result().str());
        }
        for (const Fact& m : ctx.store.all(Kind::model_r)) {
            if (is_extended_relation(ModelR(m).symbol()))
                relational_.insert(ModelR(m).result().str());
        }
    }

    // Reports the conditions of the groups that nothing concludes; false when there are some.
    bool all_concluded(const std::vector<StringList>& groups) {
        StringList missing;
        std::unordered_set<std::string> seen;
        for (const auto& group : groups) {
            for (const auto& c : group) {
                if (seen.insert(c).second && !concluded(c)) missing.push_back(c);
            }
        }
        if (missing.empty()) return true;
        UserInteraction& ui = ctx_.ui;
        const std::string list = list_text(missing);
        write_lines(ui, {"Brak reguł dla następujących warunków startowych modeli ",
                         "o tym samym wyniku:", list,
                         "Załadowanych baz nie można stosować dla wnioskowania!",
                         "Przejdź do opcji edycji baz i wprowadź niezbędne poprawki."});
        ui.note("Uwaga!",
                "Brak reguł dla następujących warunków startowych modeli o tym samym wyniku:\n" +
                    list + "\nZaładowanych baz nie można stosować dla wnioskowania!" +
                    "\nPrzejdź do opcji edycji baz i wprowadź niezbędne poprawki.");
        return false;
    }

    // The non-exclusion test over the rules concluding the group's conditions: false, after the
    // report, when under the assumption of one rule's conditions another rule fires too.
    bool exclusive(const StringList& group) {
        std::vector<const TestedRule*> tested;
        std::unordered_set<std::uint32_t> seen;
        for (const auto& c : group) {
            for (std::uint32_t position : index_.concluding(index_.id_of(positive(c)))) {
                if (!seen.insert(position).second) continue;
                // A rule without a flattening can never be assumed to fire.
                if (const TestedRule* rule = flattened(position)) tested.push_back(rule);
            }
        }
        std::vector<StringList> lists;
        lists.reserve(tested.size());
        for (const TestedRule* rule : tested) lists.push_back(rule->conditions);
        const auto counts = fired_counts(lists);
        if (std::none_of(counts.begin(), counts.end(), [](std::size_t n) { return n > 1; }))
            return true;
        ctx_.tell_cycles();
        report(tested);
        return false;
    }

  private:
    bool concluded(const std::string& c) {
        const std::string p = positive(c);
        return !index_.concluding(index_.id_of(p)).empty() || relational_.contains(c) ||
               relational_.contains(p);
    }

    const TestedRule* flattened(std::uint32_t position) {
        const auto known = flattened_.find(position);
        if (known != flattened_.end()) return known->second ? &*known->second : nullptr;
        const auto& rule = index_.rules()[position];
        Flattener flattener(index_, rule.conditions);
        const Flattening* first = flattener.next();
        if (flattener.reached_cycle()) ctx_.reached_cycle(rule.number);
        auto& slot = flattened_[position];
        if (first)
            slot = TestedRule{rule.number, index_.text(rule.conclusion),
                              index_.texts(first->conditions)};
        return slot ? &*slot : nullptr;
    }

    void report(const std::vector<const TestedRule*>& tested) {
        UserInteraction& ui = ctx_.ui;
        ui.write(
            "\nWnioski następujących reguł, bedące warunkami startowymi modeli o tych samych "
            "wynikach,  nie wykluczają się wzajemnie: ");
        ui.new_line();
        ui.new_line();
        for (const TestedRule* rule : tested) {
            const std::string line = tested_rule_line(*rule);
            ui.write(line);
            ui.new_line();
            ui.note("Wnioski następujących reguł nie wykluczają się wzajemnie:", line);
        }
        const std::string refusal =
            "Załadowane bazy reguł, modeli i ograniczeń nie możesz stosować dla wnioskowania.";
        const std::string advice = "Przejdź do opcji edycji baz i popraw jedną lub wszystkie.";
        ui.write("\n" + refusal);
        ui.new_line();
        ui.write(advice);
        ui.new_line();
        ui.note("Attention!", refusal + "\n" + advice);
    }

    RuleDiagnosisContext& ctx_;
    RuleIndex& index_;
    std::unordered_set<std::string> relational_;
    std::unordered_map<std::uint32_t, std::optional<TestedRule>> flattened_;
};

}  // namespace

bool conditions_exclude(const FactStore& store, const std::string& c1, const std::string& c2) {
    return ExclusionTest(store).exclude(c1, c2);
}

bool testuj_wyniki_wszystkich_modeli_bez_ograniczen(const FactStore& store, UserInteraction& ui) {
    if (!store.any(Kind::nazwa_mo) || store.any(Kind::nazwa_og)) return true;
    // A declared list of exclusive models lets every kind pass.
    if (store.any(Kind::modele_ekskluzywne)) return true;
    const ExclusionTest test(store);
    std::array<std::vector<ResultModel>, 4> models;
    for (ModelKind kind : {Basic, Extended, Linear, Polynomial})
        models[kind] = arithmetic_models(store, kind);
    for (const Check& check : kChecks) {
        const bool same = check.first == check.second;
        const auto result = offending_result(models[check.first], models[check.second], same, test);
        if (!result) continue;
        ui.note("Uwaga!", same_result_note(check.phrase, *result));
        return false;
    }
    return true;
}

bool testuj_wyniki_wszystkich_modeli_z_og(RuleDiagnosisContext& ctx) {
    const FactStore& store = ctx.store;
    if (!store.any(Kind::nazwa_mo)) return true;
    std::array<std::vector<ResultModel>, 4> models;
    for (ModelKind kind : {Basic, Extended, Linear, Polynomial})
        models[kind] = arithmetic_models(store, kind, true);
    const KnownExclusions known(store);
    ConcludingRules rules(ctx);
    // nie_testowac: a kind whose groups a pair of kinds has already tested (a pair takes the
    // groups of both kinds together, so the single kinds would only repeat them).
    std::array<bool, 4> nie_testowac{};
    for (const Check& check : kChecks) {
        const bool same = check.first == check.second;
        if (same && nie_testowac[check.first]) continue;
        std::vector<ResultModel> joined = models[check.first];
        if (!same)
            joined.insert(joined.end(), models[check.second].begin(), models[check.second].end());
        auto groups = same_result_groups(joined);
        std::erase_if(groups, [&known](const StringList& group) { return known.exclude(group); });
        if (groups.empty()) continue;
        nie_testowac[check.first] = nie_testowac[check.second] = true;
        if (!rules.all_concluded(groups)) return false;
        for (const auto& group : groups) {
            if (!rules.exclusive(group)) return false;
        }
    }
    ctx.tell_cycles();
    return true;
}

}  // namespace xamo
