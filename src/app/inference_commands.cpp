#include "app/inference_commands.h"

#include "app/application.h"
#include "app/command_catalog.h"
#include "inference/backward_command.h"
#include "inference/forward.h"
#include "media/offers.h"

namespace xamo {

bool knowledge_base_flagged_faulty(Application& app) {
    // Duplicate numbers and the contradictions found by the load-time diagnoses (of the rule base,
    // of the model base, of models and rules together).
    return app.numbering().rozne_numery() || app.flags().contradiction_found();
}

void run_inference_command(Application& app, const char* which,
                           const std::function<void(InferenceContext&)>& run) {
    InferenceMemory& memory = app.inference();
    memory.jakiewnioskowanie = which;
    app.ui().clear_messages();
    struct Reset {
        InferenceMemory& memory;
        ~Reset() { memory.jakiewnioskowanie.reset(); }
    } reset{memory};
    InferenceContext ctx(app.store(), memory, app.askable(), app.report(), app.ui());
    ctx.media.udziel_rady = [&app](std::int32_t number, const std::string& condition) {
        udziel_rady(app.store(), app.ui(), number, condition);
    };
    ctx.media.wyswietl_grafike = [&app](std::int32_t number, const std::string& condition) {
        wyswietl_grafike(app.store(), app.ui(), number, condition);
    };
    ctx.media.przesluchaj_melodie = [&app](std::int32_t number, const std::string& condition) {
        przesluchaj_melodie(app.store(), app.ui(), number, condition);
    };
    run(ctx);
    app.commands().set_enabled(commands_enabled_after_run(), true);
}

void register_inference_commands(Application& app) {
    register_inference_command<ForwardInference>(app, 10148, "W_PRZOD");
    register_inference_command<BackwardInference>(app, 10149, "WSTECZ");
}

}  // namespace xamo
