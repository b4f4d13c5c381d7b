#include "app/analysis_commands.h"

#include "analysis/exclusive_conclusions.h"
#include "app/application.h"

namespace xamo {

void register_analysis_commands(Application& app) {
    const auto on = [&app](int id, ExclusionMode mode) {
        app.commands().set_handler(id, [&app, mode] {
            RuleDiagnosisContext ctx = app.diagnosis_context();
            analiza_bazy_wiedzy(ctx, app.exclusion(), mode);
        });
    };
    on(10131, ExclusionMode::ExactlyOne);
    on(10132, ExclusionMode::AtMostOne);
    on(10133, ExclusionMode::NotExclusive);
}

}  // namespace xamo
