// Contradictions of the model base: an arithmetic model whose result is one of its own arguments
// (directly) or an argument of a chain of arithmetic models feeding it (indirectly), and a
// relational model that concludes its own application condition.
//
// Design notes.
// - The arithmetic table (arithmetic_table) lists each arithmetic model with its arguments:
//   basic models, extended, linear, polynomial, each kind in base order.
// - The direct test looks for the result among the model's own arguments.
// - The indirect search is a single descent (descend): from the model's arguments it takes the
//   first argument, not a constant and not yet visited, that another model computes, and moves to
//   that model's arguments for good; a model on the way that takes the starting result as an
//   argument closes the chain (it is preferred when one argument is computed by several models).
//   A descent can close only inside the strongly connected part of the argument graph that holds
//   the starting result, so it starts only there and stops on leaving it (the result is the
//   same): a long chain of models without a cycle costs each model one step. Arguments are dense
//   ids and the visited set is a generation mark, so a ring of n models costs n descents of n
//   steps, with no recursion.
// - The relational search compares each relational model's condition with its result.
// An interrupted search stores nothing.
#pragma once

#include <optional>

#include "verify/joint_diagnosis_memory.h"
#include "verify/rule_diagnosis.h"

namespace xamo::models {

// How a load-time diagnosis ended.
enum class Outcome { Clean, Found, Interrupted };

// The table of arithmetic models with their arguments, in search order.
std::vector<ArithmeticModelArguments> arithmetic_table(const FactStore& store);

// The three searches; false when interrupted (nothing stored then). The findings and the flags
// of an earlier search are replaced.
bool badaj_sprzecznosc_modeli(RuleDiagnosisContext& ctx, ModelDiagnosisMemory& memory);
// The chain of an indirect finding, newest first, its last element the finding's model.
IntegerList deep_chain(const ModelDiagnosisMemory& memory, const DeepModelFinding& finding);

// The load step: searches and, on a finding, tells the user, enables the report command and
// withdraws the model base's name (its models stay for the report).
Outcome informuj_sprzecznosc_mz(RuleDiagnosisContext& ctx, ModelDiagnosisMemory& memory);
// The report of command 10084; it removes the faulty model base from memory.
void pisz_sprzecznosc_mz(RuleDiagnosisContext& ctx, ModelDiagnosisMemory& memory);

}  // namespace xamo::models
