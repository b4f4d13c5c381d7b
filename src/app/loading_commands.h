// The menu commands that load, create and delete bases.
#pragma once

#include <string>

#include "loading/loading.h"

namespace xamo {

class Application;

void register_loading_commands(Application& app);

// Loads `path` as a base of `kind` through the same sequence and checks as its load command
// (which must be enabled), without the file dialog. False when the command is disabled.
bool load_base_file(Application& app, BaseKind kind, const std::string& path);

}  // namespace xamo
