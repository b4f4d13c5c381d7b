// Numbering checks: rules, models (all four kinds together), constraints and advice must each
// have distinct numbers. A base with a duplicate stays loaded, but inference refuses to start
// while rozne_numery() holds.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "kb/facts.h"

namespace xamo {

class UserInteraction;

enum class NumberedBase { Rules, Models, Constraints, Advice };

struct NumberingMemory : WorkingSection {
    // Kept per base, so that reloading one base does not forget the duplicates of another.
    std::array<bool, 4> duplicates{};

    bool rozne_numery() const {
        return duplicates[0] || duplicates[1] || duplicates[2] || duplicates[3];
    }
    void forget(NumberedBase base) { duplicates[static_cast<std::size_t>(base)] = false; }
    void clear() override { duplicates = {}; }
};

// The numbers of a base in base order (models: basic, extended, linear, polynomial).
IntegerList base_numbers(const FactStore& store, NumberedBase base);
// The first number that occurs again later in the list.
std::optional<std::int32_t> first_repeated(const IntegerList& numbers);

// Succeeds when all numbers differ; otherwise reports the first repeated number, records it in
// `memory` and fails.
bool testuj_numery(const FactStore& store, UserInteraction& ui, NumberingMemory& memory,
                   NumberedBase base, const std::string& base_name);

}  // namespace xamo
