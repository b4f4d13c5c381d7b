// Models that compute the same result must have application conditions that exclude each other;
// without a constraint base this is checked when an inference command starts.
#pragma once

#include "dialog/interaction.h"
#include "kb/facts.h"

namespace xamo {

// True when inference may start; otherwise the first offending result was reported in a note.
bool testuj_wyniki_wszystkich_modeli_bez_ograniczen(const FactStore& store, UserInteraction& ui);

// Two application conditions exclude each other: one negates the other, or a rule concluding
// one and a rule concluding the other contain a condition and its negation respectively.
bool conditions_exclude(const FactStore& store, const std::string& c1, const std::string& c2);

}  // namespace xamo
