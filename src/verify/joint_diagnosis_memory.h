// Working facts of the model-base diagnosis, of the joint diagnosis of models and rules, and of
// the joint diagnoses of rules and constraints. The model part is cleared when a model base or a
// rule base is loaded, the constraint part when a constraint base or a rule base is loaded; the
// verdicts that other commands read are in DiagnosisFlags.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "kb/facts.h"
#include "verify/rule_diagnosis_memory.h"

namespace xamo {

// lista_argumentow_modelu_arytmetycznego(Nr, Wynik, Argumenty).
struct ArithmeticModelArguments {
    std::int32_t number = 0;
    std::string result;
    StringList arguments;

    bool operator==(const ArithmeticModelArguments&) const = default;
};

// model_arytmetyczny_sprzeczny(Nr, Wynik) and model_relacyjny_sprzeczny(Nr, Wynik).
struct ModelFinding {
    std::int32_t number = 0;
    std::string result;

    bool operator==(const ModelFinding&) const = default;
};

// model_arytmetyczny_sprzeczny_gleboko(Nr, Lancuch, Wynik). The chain is not kept: a ring of n
// models would keep n chains of n numbers. It is walked again from the table entry `entry` when
// it is shown (deep_chain), which gives the same chain, since the search is deterministic.
struct DeepModelFinding {
    std::int32_t number = 0;
    std::string result;
    std::size_t entry = 0;

    bool operator==(const DeepModelFinding&) const = default;
};

// modele_i_reguly_sprzeczne(NrModelu, NrReguly, NumeryRegul, NumeryModeli). The rule numbers are
// those of the flattening, cleaned (in order of first use, no 0); the model numbers are those
// passed through, the latest first.
struct ModelRuleFinding {
    std::int32_t model = 0;
    std::int32_t rule = 0;
    IntegerList rule_numbers;
    IntegerList model_numbers;

    bool operator==(const ModelRuleFinding&) const = default;
};

struct ModelDiagnosisMemory : WorkingSection {
    std::vector<ArithmeticModelArguments> lista_argumentow_modelu_arytmetycznego;
    std::vector<ModelFinding> model_arytmetyczny_sprzeczny;
    std::vector<DeepModelFinding> model_arytmetyczny_sprzeczny_gleboko;
    std::vector<ModelFinding> model_relacyjny_sprzeczny;
    std::optional<std::string> duplikat_nazwy_mo;
    std::vector<ModelRuleFinding> modele_i_reguly_sprzeczne;

    void clear() override { *this = ModelDiagnosisMemory{}; }
};

// sprzecznosc_2_wszystko(Nr, NrOgr, Wniosek, Warunki, WarunkiOgr, Numery).
struct JointContradiction {
    std::int32_t rule = 0;
    std::int32_t constraint = 0;
    std::string conclusion;
    StringList conditions;
    StringList constraint_conditions;
    IntegerList numbers;

    bool operator==(const JointContradiction&) const = default;
};

// reguly_nadmiarowe_n2(Numery, NrOgr, ListyWarunkow) with the flattened rules of the group
// (regula_splaszczona_n2), member by member.
struct RedundantGroup {
    IntegerList rules;
    std::int32_t constraint = 0;
    StringList constraint_conditions;  // as they stood when the group was found
    std::vector<StringList> conditions;
    std::vector<FlattenedRule> flattenings;

    bool operator==(const RedundantGroup&) const = default;
};

struct ConstraintDiagnosisMemory : WorkingSection {
    // Joint contradictions.
    std::vector<JointContradiction> sprzecznosc_2_wszystko;
    std::vector<FlattenedRule> regula_splaszczona_s2;
    // Joint redundancy.
    std::vector<RedundantGroup> reguly_nadmiarowe_n2;
    StringList zbadany_wniosek;

    void clear_redundancy() {
        reguly_nadmiarowe_n2.clear();
        zbadany_wniosek.clear();
    }
    void clear() override { *this = ConstraintDiagnosisMemory{}; }
};

}  // namespace xamo
