// Exclusive-conclusion analysis: the user picks rules and asks whether their conclusions exclude
// one another (exactly one true, at most one true, or more than one may be true).
//
// Design notes.
// - Every chosen rule is taken in its first flattening only (a lazy Flattener stopped after one
//   result), so a rule with a huge number of flattenings costs no more than its first.
// - Assumption test (fired_counts): assuming the flattened conditions of one chosen rule A, a
//   chosen rule R fires when its flattened conditions are all among A's. The count per A is
//   found through an index from condition to the rules holding it, not by testing every pair of
//   lists condition by condition.
// - Structural tests: C, the flattened lists share a condition; D, they differ in length.
// - The verdict is the first row of a fixed table matching the mode and the three findings; in
//   one mode some combinations match no row and nothing is written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "kb/facts.h"
#include "verify/rule_diagnosis.h"

namespace xamo {

// opcja: 1 "do jednego" (10131), 2 "do żadnego" (10132), 3 non-exclusion (10133).
enum class ExclusionMode { ExactlyOne = 1, AtMostOne = 2, NotExclusive = 3 };

// regula_do_testowania: a chosen rule with its first flattening.
struct TestedRule {
    std::int32_t number = 0;
    std::string conclusion;
    StringList conditions;

    bool operator==(const TestedRule&) const = default;
};

// Working facts of the last analysis; the next analysis clears them first.
struct ExclusionMemory : WorkingSection {
    std::vector<TestedRule> regula_do_testowania;
    // The "NIE" flag of each mode.
    bool wykluczenie_do_jednego = false;
    bool wykluczenie_do_zadnego = false;
    bool wykluczenie = false;

    void clear() override { *this = ExclusionMemory{}; }
};

// For each list A, how many of the lists are contained in A as sets (A itself included): the
// rules that fire when A's conditions are assumed true. An empty A makes every rule fire.
std::vector<std::size_t> fired_counts(const std::vector<StringList>& lists);
// C: all lists have a condition in common.
bool common_conditions(const std::vector<StringList>& lists);
// D: the lists do not all have the same length.
bool different_lengths(const std::vector<StringList>& lists);

struct Verdict {
    const char* line;   // written to the message window
    const char* title;  // of the note shown for each chosen rule
};
// The first row of the verdict table that holds, or nothing.
std::optional<Verdict> verdict(ExclusionMode mode, bool nie, bool common, bool different);

// "Numer reguły:  " + number + "    Wniosek:  " + conclusion.
std::string tested_rule_line(const TestedRule& rule);

// Commands 10131, 10132 and 10133: the opening note, the choice of rules, their first
// flattenings, the tests and the verdict. Does nothing when no rule base is loaded.
void analiza_bazy_wiedzy(RuleDiagnosisContext& ctx, ExclusionMemory& memory, ExclusionMode mode);

}  // namespace xamo
