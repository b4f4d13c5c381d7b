// Askable conditions and arguments: what the knowledge base uses but never concludes or
// computes, so that only the user can supply it.
//
// The load sequence calls, for a rule base: askable_conditions_of_rules (R) and remember_askable;
// for a model base, in this order: compute_model_lists (M1), askable_with_models (M2),
// askable_of_models (M3), write_display_lists (M4) and find_name_clash (C). Lists live in
// AskableMemory and stay until the next rule-base load clears them.
#pragma once

#include <optional>
#include <string>

#include "askable/askable_memory.h"
#include "kb/facts.h"

namespace xamo {

class UserInteraction;

// The askable conditions of a rule base, unsorted: their texts, and their numbers in the rules'
// numbering, which the set of askable conditions looks them up in.
struct RuleAskable {
    StringList texts;
    NumberedNames numbered;
};

// R: records lista_warunkow and lista_wnioskow_regul; returns the askable conditions of the rule
// base, unsorted.
RuleAskable askable_conditions_of_rules(const FactStore& store, AskableMemory& memory);
// Sorts the list, stores it as the askable conditions of the rule base and writes each member on
// a line of its own.
void remember_askable(AskableMemory& memory, UserInteraction& ui, RuleAskable askable);

// M1: argument names and results of arithmetic models, conclusions of relational models and the
// application conditions of all models.
void compute_model_lists(const FactStore& store, AskableMemory& memory);
// M2: the askable conditions of the rule base without those a relational model concludes.
void askable_with_models(AskableMemory& memory);
// M3: askable conditions and arguments of the model base.
void askable_of_models(const FactStore& store, AskableMemory& memory);
// M4: sorts the display lists, builds the list of the whole knowledge base and writes all three.
void write_display_lists(AskableMemory& memory, UserInteraction& ui, const std::string& rule_base,
                         const std::string& model_base);

// C: rule and model bases using one name in two roles. Reports the first kind of clash found and
// returns true; the caller then unloads both bases.
bool find_name_clash(AskableMemory& memory, UserInteraction& ui, const std::string& rule_base,
                     const std::string& model_base);

bool is_askable(const AskableMemory& memory, const std::string& condition);
bool has_non_askable(const AskableMemory& memory, const StringList& conditions);
// The list constraints are checked against: of both bases when a model base is loaded.
const StringList& askable_for_constraints(const FactStore& store, const AskableMemory& memory);
bool is_askable_for_constraints(const FactStore& store, const AskableMemory& memory,
                                const std::string& condition);

}  // namespace xamo
