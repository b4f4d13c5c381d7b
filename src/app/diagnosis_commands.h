// The commands of flattening (10129, 10130) and the reports of the diagnoses: of the rule base
// (10067, 10068, 10069), of the model base and of models with rules (10084, 10085), of rules with
// constraints (10094, 10095).
#pragma once

namespace xamo {

class Application;

void register_diagnosis_commands(Application& app);

}  // namespace xamo
