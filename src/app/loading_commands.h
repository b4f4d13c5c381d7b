// The menu commands that load, create and delete bases.
#pragma once

namespace xamo {

class Application;

void register_loading_commands(Application& app);

}  // namespace xamo
