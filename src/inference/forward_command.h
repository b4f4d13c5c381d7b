// Registers the forward inference command (10148) with the application.
#pragma once

#include <functional>

namespace xamo {

class Application;
class InferenceContext;

void register_forward_commands(Application& app);
// Faults found when the bases were loaded that keep inference from starting.
bool knowledge_base_flagged_faulty(Application& app);
// Runs an inference command: jakiewnioskowanie ("W_PRZOD" or "WSTECZ") while it runs, the
// message window cleared, one context for the run.
void run_inference_command(Application& app, const char* which,
                           const std::function<void(InferenceContext&)>& run);

}  // namespace xamo
