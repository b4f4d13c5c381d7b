// Joint redundancy of the rule base and the constraint base: rules with one conclusion whose
// flattenings differ only in one condition each, those conditions being exactly the members of
// one constraint. Together they say no more than one rule without that condition.
//
// search (wyznacz_nadmiar_2): for each constraint in base order and each conclusion with an
// admissible flattening for it (the conclusion has at least two rules, has not been found
// redundant already, and the flattening holds a member of the constraint), in the order such
// flattenings are produced: the admissible flattenings of the conclusion are collected, their
// common conditions removed (usun_wspolne_2), lists with the same elements as a later one dropped
// (redukuj_lista), and the group is redundant when what is left are one-element lists naming each
// member of the constraint once (porownaj_listy_2). A redundant conclusion goes to
// zbadany_wniosek and is not examined again, for later constraints nor by a later search.
// Flattenings come from the command's context, computed once per rule; the conclusions to examine
// for each constraint are found in one pass over them. An interrupted search stores nothing.
#pragma once

#include <vector>

#include "verify/joint_diagnosis_memory.h"
#include "verify/rule_diagnosis.h"

namespace xamo::joint_redundancy {

inline constexpr const char* kTag = "NRD2";

// The list operations of the search.
// Every list without the conditions that all the lists hold.
std::vector<StringList> usun_wspolne_2(const std::vector<StringList>& lists);
// The lists without every list whose elements (as a set) are those of a later list.
std::vector<StringList> redukuj_lista(const std::vector<StringList>& lists);
// One-element lists only, their elements together exactly the members of the constraint.
bool porownaj_listy_2(const std::vector<StringList>& lists, const StringList& constraint);

// The search; false when interrupted. Findings are added to those stored.
bool wyznacz_nadmiar_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory);

// The question asked while a constraint base is loaded (it forgets the earlier findings first).
void testuj_nadmiar_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory);
// Searches (unless the rule base is externally contradictory) and tells the verdict.
void informuj_nadmiar_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory);
// The report of command 10095; it removes the findings it shows.
void pisz_nadmiar_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory);

}  // namespace xamo::joint_redundancy
