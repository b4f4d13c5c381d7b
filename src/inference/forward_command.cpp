#include "inference/forward_command.h"

#include "inference/forward.h"
#include "ui/application.h"

namespace xamo {

bool knowledge_base_flagged_faulty(Application& app) {
    // The flags of the load-time checks (duplicate numbers, contradictions of the rule and model
    // bases) join here when the loading subsystem records them.
    (void)app;
    return false;
}

void register_forward_commands(Application& app) {
    app.commands().set_handler(10148, [&app] {
        InferenceMemory& memory = app.inference();
        memory.jakiewnioskowanie = "W_PRZOD";
        app.ui().clear_messages();
        struct Reset {
            InferenceMemory& memory;
            ~Reset() { memory.jakiewnioskowanie.reset(); }
        } reset{memory};
        InferenceContext ctx(app.store(), memory, app.askable(), app.report(), app.ui());
        ForwardInference forward(ctx);
        forward.base_faulty = [&app] { return knowledge_base_flagged_faulty(app); };
        forward.run();
    });
}

}  // namespace xamo
