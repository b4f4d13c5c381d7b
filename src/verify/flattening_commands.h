// The two commands that show flattenings to the user: all rules in turn (10130) and one chosen
// rule (10129). Rules marked by the external-contradiction diagnosis are left out. Each
// flattening is produced only when the previous one has been shown, so answering "Nie" costs
// nothing more.
#pragma once

#include "verify/rule_diagnosis.h"

namespace xamo {

// Command 10130.
void tryb_splaszczenia(RuleDiagnosisContext& ctx);
// The items of the rule-selection dialog: "number  conclusion", each once, in byte order.
StringList tryb_splaszczenia_1(RuleDiagnosisContext& ctx);
// Command 10129: the selection dialog, then the flattenings of the chosen rule (dalej).
void splaszczanie_wybranej_reguly(RuleDiagnosisContext& ctx);

}  // namespace xamo
