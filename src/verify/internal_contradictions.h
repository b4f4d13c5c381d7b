// Internal contradictions of the rule base: a rule whose flattening holds a condition together
// with its negation. A conclusion is reported only when no flattening of any rule concluding it
// is free of such a pair.
//
// search (wyznacz_sprzecznosc_1w) keeps every distinct flattening (a hashed duplicate test, field
// by field and in order), tests each new one for a pair and records a verdict per flattening;
// the decision per conclusion then keeps the contradictory verdicts only for conclusions without
// any consistent flattening. An interrupted search stores nothing.
#pragma once

#include "verify/rule_diagnosis.h"

namespace xamo::internal {

// The search and the decision per conclusion; false when interrupted.
bool wyznacz_sprzecznosc_1w(RuleDiagnosisContext& ctx);
// The pair test of one flattened list: some condition has its negation later in the list.
bool testuj_sprzecznosc(const StringList& conditions);

// The question asked while a rule base is loaded.
void testuj_sprzecznosc_1w(RuleDiagnosisContext& ctx);
// Searches (unless the base is externally contradictory) and reports the verdict.
void informuj_sprzecznosc_1w(RuleDiagnosisContext& ctx);
// The report of command 10068; it removes the indirect flattenings it shows.
void pisz_sprzecznosc_1w(RuleDiagnosisContext& ctx);

}  // namespace xamo::internal
