// Registers the forward inference command (10148) with the application.
#pragma once

namespace xamo {

class Application;

void register_forward_commands(Application& app);
// Faults found when the bases were loaded that keep inference from starting.
bool knowledge_base_flagged_faulty(Application& app);

}  // namespace xamo
