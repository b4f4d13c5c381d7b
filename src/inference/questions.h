// The conversation of an inference run: the detail level, the questions about askable
// conditions and application conditions, the presentation of working memory and of the declared
// facts, and the explanation of a fired rule.
#pragma once

#include <cstdint>
#include <string>

#include "inference/context.h"

namespace xamo {

// "Poziom szczegółowości": sets szczegolowosc.
void ask_detail_level(InferenceContext& ctx);
void opcja_z_menu_szczegolowosci(InferenceMemory& memory, int choice);

// Forward question about an askable rule condition; records the answer; returns 't' or 'n'.
char pytaj_o_warunek(InferenceContext& ctx, const std::string& c);
// Question about a model's application condition; true when it holds.
bool pytaj_o_warunek_stosowania(InferenceContext& ctx, const std::string& w);

// Shows working memory (only at the detail level "duża").
void przedstawienie_faktow(InferenceContext& ctx);

// The declared facts at the start of forward inference (`fakt`, or `m_fakt` for the model
// base), each checked against the constraints. False when two of them exclude each other.
bool przedstawienie_faktow_pierwotnych(InferenceContext& ctx);
bool przedstawienie_m_faktow_pierwotnych(InferenceContext& ctx);
// The constraint check of one declared fact; false (with the messages) on a conflict.
bool testuj_wykluczajace(InferenceContext& ctx, const std::string& c, Kind declared_kind);

// Explains a fired rule; false for the result "koniec" (the rest of the firing is skipped).
bool wyjasnienie_regula(InferenceContext& ctx, const Fact& rule, const std::string& result);

}  // namespace xamo
