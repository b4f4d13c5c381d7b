// The question of backward inference about an askable condition, with the answer "&Dlaczego?"
// that explains why the condition is needed before the question is asked again.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

#include "inference/context.h"

namespace xamo {

class BackwardEngine;

// pytaj: asks about c as written, explains on "&Dlaczego?" and records the answer through
// pamietaj_wstecz. True when c is proved (answered Yes).
bool pytaj(BackwardEngine& engine, const std::string& c);

// The parts of the explanation, usable on their own.
void przedstawienie_faktow_dla_wyjasnienia(InferenceContext& ctx);
void przebieg_wnioskowania_reguly(BackwardEngine& engine, const std::deque<std::int32_t>& numbers);
void przebieg_wnioskowania_modele(InferenceContext& ctx);

}  // namespace xamo
