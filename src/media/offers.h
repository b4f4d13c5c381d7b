// The advice, picture and sound offered after inference derives a condition with a rule or a
// relational model (udziel_rady, wyswietl_grafike, przesluchaj_melodie).
//
// An offer is made only when the deriving item explains itself (display semaphore 1) and its
// number has an entry of the right polarity: `rada` for a positive condition, `nrada` for a
// negated one (and likewise for pictures and sounds). The cases are tried in order: a rule
// concluding the condition (or, for a negated one, its positive form), then a relational model
// whose result it is. The user confirms; a missing or unreadable file is answered "    NIE" (a
// sound or picture that exists but cannot be played or drawn is reported once), and inference
// goes on in every case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "kb/facts.h"

namespace xamo {

class UserInteraction;

void udziel_rady(FactStore& store, UserInteraction& ui, std::int32_t number,
                 const std::string& conclusion);
void wyswietl_grafike(FactStore& store, UserInteraction& ui, std::int32_t number,
                      const std::string& conclusion);
void przesluchaj_melodie(FactStore& store, UserInteraction& ui, std::int32_t number,
                         const std::string& conclusion);

// The text of an advice file, read from Windows-1250; nothing when it cannot be read.
std::optional<std::string> read_advice(const std::string& path);
// "Nie można odtworzyć pliku dźwiękowego PATH." and, when the front end knows it, why.
std::string sound_failure(const UserInteraction& ui, const std::string& path);

}  // namespace xamo
