// Recording conditions in forward working memory: declared and answered conditions, choices
// from a constraint, and conditions derived by rules and relational models (with revision).
#pragma once

#include <cstdint>
#include <string>

#include "inference/context.h"

namespace xamo {

// How zachowaj_wniosek treated a derived condition (the case of its table that applied).
struct Recorded {
    int case_number = 10;
    bool ok() const { return case_number != 2 && case_number != 3; }
};

// Records condition r derived by rule or model n, revising working memory. `name` is r's number
// among the rules' names when the caller knows it (WorkingMemory::intern).
Recorded zachowaj_wniosek(InferenceContext& ctx, std::int32_t n, const std::string& r,
                          std::uint32_t name = WorkingMemory::kNoName);

// Records a declared or answered condition; false when c is already known. When `seeding`,
// every constraint holding c (or else its negation) is handled, not only the first.
bool pamietaj(InferenceContext& ctx, const std::string& c, bool yes, bool seeding = false);

// Records the member chosen from a constraint; writes it; returns the mark for c ('t' or 'n').
char pamietaj_wybor(InferenceContext& ctx, const StringList& members, std::int32_t constraint,
                    const std::string& c, const std::string& chosen);
// The same for an application condition: nothing is written.
void pamietaj_wybor_warunku_stosowania(InferenceContext& ctx, const StringList& members,
                                       std::int32_t constraint, const std::string& chosen);
// Records the negation of every listed condition that is not yet established, for the reason
// given (by default: left unselected in the fact menu).
void pamietaj_warunki_nie_bedace_faktami(InferenceContext& ctx, const StringList& conditions,
                                         const Choice& why = {});

}  // namespace xamo
