#include "app/why_not_command.h"

#include "app/application.h"
#include "inference/backward_command.h"
#include "inference/context.h"
#include "inference/forward.h"
#include "inference/why_not.h"

namespace xamo {

void register_why_not_command(Application& app) {
    app.commands().set_handler(kWhyNotCommand, [&app] { dlaczego_nie(app.ui(), app.why_not()); });
}

WhyNotRun::WhyNotRun(Application& app) : app_(app), runs_before_(app.inference().runs_started) {}

WhyNotRun::~WhyNotRun() {
    if (ended_ || !started()) return;
    app_.why_not().clear();
    app_.commands().disable({kWhyNotCommand});
}

bool WhyNotRun::started() const { return app_.inference().runs_started != runs_before_; }

void WhyNotRun::enable() {
    ended_ = true;
    app_.commands().enable({kWhyNotCommand});
}

void WhyNotRun::ended(ForwardInference& engine) {
    if (!started()) return;
    record_forward_run(app_.why_not(), engine.context());
    enable();
}

void WhyNotRun::ended(BackwardInference& engine) {
    if (!started()) return;
    // The backward engine exists from the moment the run started.
    record_backward_run(app_.why_not(), engine.engine().context(), engine.engine().memory());
    enable();
}

}  // namespace xamo
