// List helpers of flattening and the rule-base diagnoses, named as the diagnoses name them.
// Reducing keeps, of equal elements, only the last occurrence, in the order of those last
// occurrences. All helpers are linear (hashing), none changes its arguments.
#pragma once

#include <vector>

#include "kb/facts.h"

namespace xamo {

StringList redukuj(const StringList& list);
IntegerList redukuj_i(const IntegerList& list);
// Joins a list of lists in order.
StringList usuniecie_list_wewnetrznych(const std::vector<StringList>& lists);
// Every occurrence of `value` removed (usun and usun_wszystkie are the same operation).
IntegerList usun(const IntegerList& list, std::int32_t value);
IntegerList usun_wszystkie(const IntegerList& list, std::int32_t value);
StringList odwracanie(const StringList& list);
IntegerList odwracanie(const IntegerList& list);
// Every element negated, the results in reverse order.
StringList neguj_liste(const StringList& list);
// The elements of `a`, in its order, that occur in `b`.
StringList iloczyn_zbiorow(const StringList& a, const StringList& b);
// `a` without every occurrence of each element of `b`.
StringList roznica_zbiorow(const StringList& a, const StringList& b);
// Every element of `a` occurs in `b`.
bool podzbior(const StringList& a, const StringList& b);
// `a` is contained in `b` or `b` in `a` (as sets: order and repetitions do not matter).
bool podzbior_ogolny(const StringList& a, const StringList& b);

}  // namespace xamo
