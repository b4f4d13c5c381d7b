// Verdicts of the load-time diagnoses that other commands read: while one is set, the bases that
// depend on it cannot be loaded and inference does not start.
#pragma once

#include "kb/facts.h"

namespace xamo {

struct DiagnosisFlags : WorkingSection {
    bool sprzecznosc_1z = false;           // the rule base has external contradictions
    bool sprzecznosc_mr = false;           // the model and rule bases have joint contradictions
    bool model_aryt_sprzeczny = false;     // an arithmetic model computes its result from itself
    bool model_sprzeczny_gleboko = false;  // ... through a chain of arithmetic models
    bool model_rela_sprzeczny = false;     // a relational model concludes its own condition

    bool model_base_contradictory() const {
        return model_aryt_sprzeczny || model_sprzeczny_gleboko || model_rela_sprzeczny;
    }
    // The verdicts that keep inference from starting.
    bool contradiction_found() const {
        return sprzecznosc_1z || sprzecznosc_mr || model_base_contradictory();
    }
    // Forgets the verdicts of the model base (it is loaded again or removed).
    void clear_model_verdicts() {
        sprzecznosc_mr = false;
        model_aryt_sprzeczny = false;
        model_sprzeczny_gleboko = false;
        model_rela_sprzeczny = false;
    }
    void clear() override { *this = DiagnosisFlags{}; }
};

}  // namespace xamo
