// Joint contradictions of the rule base and the constraint base: a flattened rule holding two
// conditions of one constraint can never fire.
//
// search (wyznacz_sprzecznosc_2): each rule's flattenings in order; for each, the first condition
// (in the flattening's order) that belongs to a constraint which also holds a later condition of
// the flattening, with the first such constraint in base order, makes a finding, unless the same
// flattened rule is already recorded. The flattening is walked once from its end, counting for
// each constraint the members met so far, so the test is linear in the flattening. Flattenings
// come from the command's context (computed once per rule). An interrupted search stores nothing.
#pragma once

#include "verify/joint_diagnosis_memory.h"
#include "verify/rule_diagnosis.h"

namespace xamo::joint_contradictions {

inline constexpr const char* kTag = "SRD2";

// The search; false when interrupted. Findings are added to those stored.
bool wyznacz_sprzecznosc_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory);

// The question asked while a constraint base is loaded.
void testuj_sprzecznosc_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory);
// Searches (unless the rule base is externally contradictory) and tells the verdict.
void informuj_sprzecznosc_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory);
// The report of command 10094; it removes the findings and the indirect flattenings it shows.
void pisz_sprzecznosc_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory);

}  // namespace xamo::joint_contradictions
