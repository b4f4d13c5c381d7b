// Every menu command and submenu of the main window, in menu order.
#pragma once

#include <vector>

#include "app/commands.h"

namespace xamo {

const std::vector<CommandInfo>& command_catalog();

// Enabled when the introduction window is closed.
const std::vector<int>& startup_commands();

// Enabled after a successful load by the given load command; empty for other ids.
const std::vector<int>& commands_enabled_after_load(int load_command);

// Enabled once an inference run has ended.
const std::vector<int>& commands_enabled_after_run();

// Browse commands, disabled when an edit window closes: a base that may have changed must be
// loaded again before it is browsed.
const std::vector<int>& browse_commands();

}  // namespace xamo
