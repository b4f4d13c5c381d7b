// Redundancy of the rule base: two different rules with the same conclusion of which one
// flattening of the first and one of the second have condition sets one containing the other.
//
// search (wyznacz_nadmiar) takes the pairs of rules with one conclusion in rule-base order and,
// for each, every pair of their flattenings, the first rule's outer. Flattenings are computed
// once per rule per command and compared as sorted sets of condition ids; a pair of rules already
// stored (either way round) is not examined again. A pair examined the other way round earlier
// could only have found the same (containment is symmetric), so only later rules are taken as
// the second. An interrupted search stores nothing.
#pragma once

#include "verify/rule_diagnosis.h"

namespace xamo::redundancy {

// The search; false when interrupted. Whether pairs were found is in the memory.
bool wyznacz_nadmiar(RuleDiagnosisContext& ctx);

// The question asked while a rule base is loaded.
void testuj_nadmiar_1(RuleDiagnosisContext& ctx);
// Searches and reports the verdict; false (without a message) on a base marked externally
// contradictory.
bool informuj_nadmiar(RuleDiagnosisContext& ctx);
// The report of command 10069; it consumes the stored pairs.
void pisz_nadmiar(RuleDiagnosisContext& ctx);

}  // namespace xamo::redundancy
