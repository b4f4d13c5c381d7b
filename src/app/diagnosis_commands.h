// The commands of flattening (10129, 10130) and of the rule-base diagnoses' reports (10067,
// 10068, 10069).
#pragma once

namespace xamo {

class Application;

void register_diagnosis_commands(Application& app);

}  // namespace xamo
