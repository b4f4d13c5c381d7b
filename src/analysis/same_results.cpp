#include "analysis/same_results.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "kb/conditions.h"
#include "kb/operations.h"

namespace xamo {
namespace {

enum ModelKind { Basic, Extended, Linear, Polynomial };

// Arithmetic models of one kind, as (result, application condition) in base order.
struct ResultModel {
    std::string result;
    std::string condition;
};

std::vector<ResultModel> arithmetic_models(const FactStore& store, ModelKind kind) {
    std::vector<ResultModel> out;
    const auto add = [&out](const Fact& model) {
        out.push_back({AnyModel(model).result(), AnyModel(model).condition()});
    };
    switch (kind) {
        case Basic:
            for (const Fact& m : store.all(Kind::model)) {
                if (is_two_argument_operation(Model(m).symbol())) add(m);
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
            by_conclusion_[Rule(rule).conclusion()].push_back(&rule);
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
                    if (negations.count(c) > 0) return true;
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

}  // namespace xamo
