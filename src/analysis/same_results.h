// Models that compute the same result must have application conditions that exclude each other;
// without a constraint base this is checked when an inference command starts, with one when the
// constraint base is loaded over a model base.
#pragma once

#include "dialog/interaction.h"
#include "kb/facts.h"
#include "verify/rule_diagnosis.h"

namespace xamo {

// True when inference may start; otherwise the first offending result was reported in a note.
bool testuj_wyniki_wszystkich_modeli_bez_ograniczen(const FactStore& store, UserInteraction& ui);

// Two application conditions exclude each other: one negates the other, or a rule concluding
// one and a rule concluding the other contain a condition and its negation respectively.
bool conditions_exclude(const FactStore& store, const std::string& c1, const std::string& c2);

// The check when a constraint base is loaded: does nothing (true) unless a model base is loaded.
// Each group of models of one result whose application conditions are not already known to
// exclude each other (a condition and its negation, members of one constraint or of one
// `modele_ekskluzywne` list) needs every condition concluded by a rule or a relational model, and
// no two of the concluding rules may fire under one assumption (the non-exclusion test of the
// exclusive-conclusion analysis, on the rules' first flattenings). False after the fault was
// reported; the caller then unloads the rule, model and constraint bases.
bool testuj_wyniki_wszystkich_modeli_z_og(RuleDiagnosisContext& ctx);

}  // namespace xamo
