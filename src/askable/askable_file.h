// The askable-condition file: everything the user may be asked, grouped so that conditions that
// exclude one another (members of one constraint) stand together on one line.
//
// zachowaj computes the groups from the loaded bases (askable_groups) and writes the file
// (zachowaj_1): a file dialog, the overwrite question ("&NIE" asks for another name), then the
// groups through the output stream redirected to the file. Reading and deleting the file are the
// two other commands of the menu.
#pragma once

#include <cstdint>
#include <set>

#include "askable/askable_memory.h"
#include "kb/facts.h"

namespace xamo {

class UserInteraction;

struct AskableGroups {
    StringList war_dopyt;             // askable conditions with the model base, in no constraint
    StringList war_dopyt_bez_modeli;  // the same without a model base
    StringList arg_dopyt;             // askable items of the model base, in no constraint
    // Constraints holding an askable condition of the rule base, of the model base.
    std::set<std::int32_t> numer_ograniczenia_dla_bazy_regul;
    std::set<std::int32_t> numer_ograniczenia_dla_bazy_modeli;
};

// The groups for the bases loaded now; empty without a rule base.
AskableGroups askable_groups(const FactStore& store, const AskableMemory& memory);
// Computes the groups and writes the file; false when cancelled or the file was not written.
bool zachowaj(FactStore& store, const AskableMemory& memory, UserInteraction& ui);
bool zachowaj_1(FactStore& store, AskableGroups groups, UserInteraction& ui);

// Shows a chosen askable-condition file.
void read_askable_file(UserInteraction& ui);
// Deletes a chosen askable-condition file after a question.
void delete_askable_file(UserInteraction& ui);

}  // namespace xamo
