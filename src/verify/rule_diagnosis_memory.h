// Working facts of flattening and of the rule-base diagnoses (external and internal
// contradictions, redundancy). Cleared with the knowledge base when a rule base is loaded; the
// verdict that other commands read (external contradictions) is in DiagnosisFlags.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "kb/facts.h"

namespace xamo {

// reguly_sprzeczne(Nr, NrOstatni, Lancuch): the chain of rules newest first, ending with `rule`.
struct ExternalFinding {
    std::int32_t rule = 0;
    std::int32_t last = 0;
    IntegerList chain;

    bool operator==(const ExternalFinding&) const = default;
};

// A flattened rule: the rule's number and conclusion, the flattened conditions and the cleaned
// numbers of the flattening rules.
struct FlattenedRule {
    std::int32_t number = 0;
    std::string conclusion;
    StringList conditions;
    IntegerList numbers;

    bool operator==(const FlattenedRule&) const = default;
};

// sprzecznosc_1w(Nr, Wniosek, Tak/Nie).
struct InternalVerdict {
    std::int32_t number = 0;
    std::string conclusion;
    bool contradictory = false;
};

// para_splaszczona_n1: the two flattenings that showed a redundant pair.
struct RedundantFlattenings {
    std::int32_t first = 0;
    std::string conclusion;
    StringList first_conditions;
    IntegerList first_numbers;
    std::int32_t second = 0;
    StringList second_conditions;
    IntegerList second_numbers;
    bool operator==(const RedundantFlattenings&) const = default;
};

struct RuleDiagnosisMemory : WorkingSection {
    // External contradictions.
    std::vector<ExternalFinding> reguly_sprzeczne;
    IntegerList reguly_sprzeczne_dla_analizy;  // one entry per finding, repeats kept
    std::unordered_set<std::int32_t> marked;   // the same numbers, for lookups

    // Internal contradictions.
    std::vector<FlattenedRule> regula_splaszczona_1w;  // distinct flattenings, in order produced
    std::vector<InternalVerdict> sprzecznosc_1w;
    bool sprzecznosc_1_w = false;

    // Redundancy.
    bool jest_nadmiar = false;
    std::vector<std::pair<std::int32_t, std::int32_t>> reguly_nadmiarowe_n1;
    std::vector<RedundantFlattenings> para_splaszczona_n1;

    // Flattening of a chosen rule: every selection entry offered so far, each once.
    StringList nr_wniosek;

    bool marked_for_analysis(std::int32_t rule) const { return marked.contains(rule); }
    void clear() override { *this = RuleDiagnosisMemory{}; }
};

}  // namespace xamo
