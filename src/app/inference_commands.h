// Registers the inference commands (10148 forward, 10149 backward) with the application.
#pragma once

#include <functional>

#include "app/application.h"
#include "app/why_not_command.h"
#include "media/description.h"

namespace xamo {

class InferenceContext;

void register_inference_commands(Application& app);
// Faults found when the bases were loaded that keep inference from starting.
bool knowledge_base_flagged_faulty(Application& app);
// Runs an inference command: jakiewnioskowanie ("W_PRZOD" or "WSTECZ") while it runs, the
// message window cleared, one context for the run with the media offers attached.
void run_inference_command(Application& app, const char* which,
                           const std::function<void(InferenceContext&)>& run);

// Registers command `id` to run one inference engine (ForwardInference or BackwardInference),
// refused silently on a faulty knowledge base; a run that ends enables "Dlaczego nie?".
template <typename Engine>
void register_inference_command(Application& app, int id, const char* which) {
    app.commands().set_handler(id, [&app, which] {
        run_inference_command(app, which, [&app](InferenceContext& ctx) {
            Engine engine(ctx);
            engine.base_faulty = [&app] { return knowledge_base_flagged_faulty(app); };
            engine.show_description = [&app] { xamo::show_description(app.media(), app.ui()); };
            WhyNotRun run(app);
            engine.run();
            run.ended(engine);
        });
    });
}

}  // namespace xamo
