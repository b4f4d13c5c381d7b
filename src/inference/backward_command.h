// Backward inference (command "Wnioskowanie rozwinięte dokładne wstecz", 10149).
//
// A run goes through: preparation (shared with forward inference), the hypothesis kind and the
// choice of the hypothesis (opcja_z_menu_testowania), presentation and seeding
// (weryfikowanie_hipotezy), verification (BackwardEngine), and the success report or the
// refutation report, each ending with the summary and the report file.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "inference/backward.h"
#include "inference/context.h"
#include "inference/models.h"

namespace xamo {

enum class HypothesisKind { Narrow = 1, Broad = 2 };

// The hypotheses offered: the conclusions of the rules (and of the relational models when a
// model base is loaded), without "koniec", each once, sorted by byte order; the narrow kind
// leaves out every conclusion that is also a condition of a rule.
StringList hypothesis_candidates(const FactStore& store, HypothesisKind kind);

class BackwardInference {
  public:
    explicit BackwardInference(InferenceContext& ctx);

    std::function<bool()> base_faulty = [] { return false; };
    std::function<void()> show_description;
    // How the engine finds rules and models (the scan is the reference of the tests).
    BackwardEngine::Search search = BackwardEngine::Search::Indexed;

    // The whole command.
    void run();

    // Chooses and verifies the hypothesis; false when it is not proved.
    bool opcja_z_menu_testowania(HypothesisKind kind);
    // Presents the declared facts and, when they pass the constraint check, seeds working memory
    // and verifies h.
    bool weryfikowanie_hipotezy(const std::string& h);

    BackwardEngine& engine() { return *engine_; }

  private:
    void report_success(HypothesisKind kind, const std::string& h);
    void report_refutation();
    void closing(const std::string& h, bool proved);
    std::string distinguisher_upper() const;

    InferenceContext& ctx_;
    ModelEvaluator models_;
    std::optional<BackwardEngine> engine_;
};

}  // namespace xamo
