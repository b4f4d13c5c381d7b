#include "app/diagnosis_commands.h"

#include "app/application.h"
#include "verify/external_contradictions.h"
#include "verify/flattening_commands.h"
#include "verify/internal_contradictions.h"
#include "verify/model_contradictions.h"
#include "verify/model_rule_contradictions.h"
#include "verify/redundancy.h"
#include "verify/rule_constraint_contradictions.h"
#include "verify/rule_constraint_redundancy.h"

namespace xamo {

void register_diagnosis_commands(Application& app) {
    const auto on = [&app](int id, void (*run)(RuleDiagnosisContext&)) {
        app.commands().set_handler(id, [&app, run] {
            RuleDiagnosisContext ctx = app.diagnosis_context();
            run(ctx);
        });
    };
    on(10067, external::pisz_sprzecznosc_1z);
    on(10068, internal::pisz_sprzecznosc_1w);
    // The report consumes the stored pairs; with none left the command does nothing.
    app.commands().set_handler(10069, [&app] {
        if (app.diagnoses().reguly_nadmiarowe_n1.empty()) return;
        RuleDiagnosisContext ctx = app.diagnosis_context();
        redundancy::pisz_nadmiar(ctx);
    });
    app.commands().set_handler(10084, [&app] {
        RuleDiagnosisContext ctx = app.diagnosis_context();
        models::pisz_sprzecznosc_mz(ctx, app.model_diagnoses());
    });
    app.commands().set_handler(10085, [&app] {
        RuleDiagnosisContext ctx = app.diagnosis_context();
        model_rule::pisz_sprzecznosc_mr(ctx, app.model_diagnoses());
    });
    app.commands().set_handler(10094, [&app] {
        RuleDiagnosisContext ctx = app.diagnosis_context();
        joint_contradictions::pisz_sprzecznosc_2(ctx, app.constraint_diagnoses());
    });
    app.commands().set_handler(10095, [&app] {
        RuleDiagnosisContext ctx = app.diagnosis_context();
        joint_redundancy::pisz_nadmiar_2(ctx, app.constraint_diagnoses());
    });
    on(10129, splaszczanie_wybranej_reguly);
    on(10130, tryb_splaszczenia);
}

}  // namespace xamo
