// Verdicts of the load-time diagnoses that other commands read: while one is set, the bases that
// depend on it cannot be loaded and inference does not start.
#pragma once

#include "kb/facts.h"

namespace xamo {

struct DiagnosisFlags : WorkingSection {
    bool sprzecznosc_1z = false;  // the rule base has external contradictions
    bool sprzecznosc_mr = false;  // the model and rule bases have joint contradictions

    void clear() override { *this = DiagnosisFlags{}; }
};

}  // namespace xamo
