// Every menu command and submenu of the main window, in menu order.
#pragma once

#include <vector>

#include "ui/commands.h"

namespace xamo {

const std::vector<CommandInfo>& command_catalog();

// Enabled when the introduction window is closed.
const std::vector<int>& startup_commands();

}  // namespace xamo
