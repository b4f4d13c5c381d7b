// The kind-specific checks of the load sequence. Each reports what it finds in the output stream
// and in a dialog; the load procedure decides what is unloaded afterwards.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "loading/loading.h"

namespace xamo {

// Rule base: the declared facts, negation stripped, that are not in `askable` (views of the
// store's facts, in base order). Reads the store only.
std::vector<std::string_view> declared_not_askable(const FactStore& store, const TextSet& askable);
// Rule base: every declared fact must be a condition of some rule. Given the facts that are no
// askable conditions, reports those that are no conditions either and removes every `fakt`;
// true when all were conditions. Runs after the askable conditions were remembered.
bool check_declared_facts(KnowledgeBase& kb, const std::vector<std::string_view>& not_askable);
// Rule base: the rules with a single condition, in base order.
std::vector<const Fact*> single_condition_rules(const FactStore& store);
// Rule base: reports the rules with a single condition, listing them on request.
void report_single_condition_rules(KnowledgeBase& kb, const std::string& name);

// Model base; each returns true when it found (and reported) a fault.
bool find_bad_operation(KnowledgeBase& kb);
bool find_unequal_lists(KnowledgeBase& kb);
bool find_bad_known_arguments(KnowledgeBase& kb, const std::string& name);
// Records the tautological models and reports them.
void report_tautological_models(KnowledgeBase& kb, const std::string& name);

// Constraint base; each returns true when it found (and reported) a fault.
bool find_short_constraint(KnowledgeBase& kb, const std::string& name);
bool find_non_askable_member(KnowledgeBase& kb, const std::string& name);

}  // namespace xamo
