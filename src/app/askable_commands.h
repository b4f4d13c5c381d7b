// The menu commands that show the askable lists.
#pragma once

namespace xamo {

class Application;

void register_askable_commands(Application& app);

}  // namespace xamo
