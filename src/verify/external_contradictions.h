// External contradictions of the rule base: a rule whose conclusion, followed back through the
// rules that conclude its conditions, depends on itself or on its own negation.
//
// search (badaj_sprzecznosc_1z) explores, from every rule, every path of rules through the rules
// that conclude its conditions, on an explicit stack; a conclusion already on the path is not
// entered again, and each negated condition passed through flips the target. Every condition
// equal to the target or to its negation is a finding. Below a conclusion from which no cycle can
// be reached the path cannot matter, so a rule explored towards a target without a finding is not
// explored again: a layered base costs each rule a few visits, not one per path. A search is not
// begun below a conclusion that reaches no rule holding a condition of the target's name (the
// components of conclusions ordered once): a chain costs each rule one visit, not one per rule
// above it. The findings,
// the marks of their starting rules and the verdict are stored only when the search ran to its
// end.
#pragma once

#include "verify/rule_diagnosis.h"

namespace xamo::external {

enum class FindingKind { Self, Direct, Indirect };

// The search; false when the user interrupted it (nothing is stored then).
bool badaj_sprzecznosc_1z(RuleDiagnosisContext& ctx);
FindingKind classify(const ExternalFinding& finding);

// The question asked while a rule base is loaded. False when a contradiction was reported and
// the load must stop there.
bool testuj_sprzecznosc_1z(RuleDiagnosisContext& ctx);
// Searches unless a contradiction is already known and reports the verdict; false after
// reporting a contradiction. An interrupted search counts as declined (true, nothing stored).
bool informuj_sprzecznosc_1z(RuleDiagnosisContext& ctx);
// The report of the stored findings (command 10067).
void pisz_sprzecznosc_1z(RuleDiagnosisContext& ctx);

}  // namespace xamo::external
