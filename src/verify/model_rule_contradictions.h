// Joint contradictions of the model base and the rule base: a relational model whose application
// condition W is concluded by a rule with a flattening that, followed further through the
// relational models (and the basic arithmetic models feeding their arguments), leads back to W.
//
// search (badaj_sprzecznosc_mr): for each relational model (basic ones first), each rule
// concluding its condition and each flattening of that rule, the conditions of the flattening
// that some model computes are followed through the models (ModelChains): from a condition, each
// relational model concluding it leads to its application condition, and each basic arithmetic
// model computing an argument of such a basic relational model leads to its own application
// condition. The first path that reaches W makes a finding of that flattening. The paths are
// searched depth first on an explicit stack with every condition entered once, and the answer for
// a condition and a target is kept (by condition ids), so a cycle of models ends and a condition
// met again costs a lookup. Flattenings come from the command's context (computed once per rule).
// An interrupted search stores nothing.
#pragma once

#include "verify/joint_diagnosis_memory.h"
#include "verify/model_contradictions.h"
#include "verify/rule_diagnosis.h"

namespace xamo::model_rule {

// The search; false when interrupted. Replaces the findings and the verdict of an earlier one.
bool badaj_sprzecznosc_mr(RuleDiagnosisContext& ctx, ModelDiagnosisMemory& memory);

// The load step: searches and, on a finding, sets the verdict, tells the user and enables the
// report command.
models::Outcome informuj_sprzecznosc_mr(RuleDiagnosisContext& ctx, ModelDiagnosisMemory& memory);
// The report of command 10085.
void pisz_sprzecznosc_mr(RuleDiagnosisContext& ctx, const ModelDiagnosisMemory& memory);

}  // namespace xamo::model_rule
