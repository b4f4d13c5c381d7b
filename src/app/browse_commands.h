// The browse and edit commands of the menu: choosing a base file for the edit window, showing a
// whole loaded base file, and the structured browse windows of rules, constraints and models.
// Toolkit-free: the windows themselves are opened through UserInteraction.
#pragma once

#include <optional>

#include "dialog/browse_view.h"
#include "kb/facts.h"

namespace xamo {

class Application;

enum class BrowseKind {
    Rules,
    Constraints,
    LinearModels,
    BasicModels,
    ExtendedModels,
    PolynomialModels
};

// The view of every item of one kind, or nothing when the loaded base holds none.
std::optional<BrowseView> browse_view(const FactStore& store, BrowseKind kind);

// Opens the structured window for `kind`, or shows the empty-base note instead.
void open_browse(Application& app, BrowseKind kind);

// Registers 10061, 10062, 10064, 10074-10078, 10081, 10089-10091, 10099, 10110 and 10120.
void register_browse_commands(Application& app);

}  // namespace xamo
