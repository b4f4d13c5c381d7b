// The description of a knowledge base: "..\OPISY\" + distinguisher + ".OPI" beside the base
// directory, shown in the dialog "Czytanie opisu" when the rule base is loaded and at the start of
// both inferences. A knowledge base without a description shows nothing.
#pragma once

#include <string>

#include "kb/facts.h"
#include "media/media_memory.h"

namespace xamo {

class UserInteraction;

// The description file named after the distinguisher, relative to the current directory.
std::string description_name(const std::string& distinguisher);

// Records the description file of the knowledge base just loaded (`opis`) from the current
// directory and the recorded distinguisher.
void remember_description(const FactStore& store, MediaMemory& memory);

// Shows the recorded description in "Czytanie opisu" when its file exists; nothing otherwise.
void show_description(MediaMemory& memory, UserInteraction& ui);

}  // namespace xamo
