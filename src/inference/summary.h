// The summary of an inference run: labels, facts and argument values, stored in a text file.
#pragma once

#include "inference/memory.h"
#include "kb/facts.h"

namespace xamo {

class UserInteraction;

// Offers to store a summary of the run; false when it was not stored.
bool podsumowanie(const FactStore& store, UserInteraction& ui, const InferenceMemory& memory);

}  // namespace xamo
