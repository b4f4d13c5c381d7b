// Forward inference (command "Wnioskowanie rozwinięte dokładne w przód").
//
// A run goes through: preparation (run: detail level, labels, clearing, opening texts), fact
// declaration (wybierz_tryb, przygotowanie_listy_faktow), presentation and constraint check of the
// declared facts (wnioskowanie), seeding (seed) and the restart loop (wnioskowanie_cd), which ends
// with "koniec" (end_by_koniec) or when nothing more follows (end_normally).
//
// The loop fires one item per step and then starts the scan again from the top. The choice of
// that item is made in one place, next_firing(): rules in file order, then the basic, extended,
// linear and polynomial arithmetic models, then the basic and extended relational models. The
// scan visits only the items the agenda (agenda.h) holds eligible; the plain scan over every
// item (Scan::Restart) stays as the reference the agenda is tested against.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "inference/agenda.h"
#include "inference/context.h"
#include "inference/models.h"

namespace xamo {

// The texts in which the preparation of the forward and the backward command differ.
struct OpeningTexts {
    const char* title;        // the note's title and the start of its text
    const char* advice_line;  // the output line naming the advice base
    const char* sound_line;   // the output line naming the sound base
};
extern const OpeningTexts kForwardOpening;

class ForwardInference {
  public:
    // How the next item to fire is found: through the agenda, or by testing every item in base
    // order (the reference; same results, time quadratic in the size of the base).
    enum class Scan { Agenda, Restart };

    explicit ForwardInference(InferenceContext& ctx);

    const InferenceContext& context() const { return ctx_; }

    Scan scan = Scan::Agenda;

    // Faults found while the bases were loaded (numbering, contradictions) that keep inference
    // from starting; each was reported when it was found.
    std::function<bool()> base_faulty = [] { return false; };
    // The description of the base, shown before the run when it exists.
    std::function<void()> show_description;

    // The whole command.
    void run();
    // The preparation shared with backward inference: preconditions, description, detail level,
    // labels, clearing, the opening note and lines, rbd(0, "bez warunku"). False when the run
    // does not start.
    bool prepare(const OpeningTexts& texts);

    // Pieces of the run, usable on their own.
    void wybierz_tryb(int mode);
    bool przygotowanie_listy_faktow();
    bool wnioskowanie();
    void seed();
    void wnioskowanie_cd();
    // One step of the loop: fires the next item; false when nothing can fire.
    bool next_firing();
    // Marks of a rule's conditions ("t" per true condition, "n" for the first false one), or
    // nothing when a condition is unknown and cannot be asked. With `ids` (the conditions' ids
    // in the rule index, while the agenda runs) their state is read from the agenda's counts.
    std::optional<std::string> testuj_warunki(const NameList& conditions,
                                              const std::uint32_t* ids = nullptr);

    ModelEvaluator& models() { return models_; }

  private:
    bool fire_rule();
    bool fire_arithmetic(Kind kind, ForwardAgenda::Phase phase);
    bool fire_relation(Kind kind, ForwardAgenda::Phase phase);
    // One item as the scan tests it; true when it fired.
    // `position`: the rule's position in the rule index, when the agenda chose it.
    bool try_rule(const Fact& rule, std::optional<std::size_t> position = std::nullopt);
    // The number among working memory's names of the conclusion of the rule at `position`,
    // when `result` is that conclusion itself; WorkingMemory::kNoName otherwise.
    std::uint32_t conclusion_name(std::optional<std::size_t> position, const std::string& result);
    bool try_relation(const Fact& model);
    void ask_labels();
    std::optional<std::string> enter_label();
    void opening_texts(const OpeningTexts& texts);
    void end_by_koniec();
    void end_normally();
    void offer_media(std::int32_t number, const std::string& condition);
    std::uint64_t state_signature() const;
    // How many times something was taken out of the state state_signature() covers.
    std::uint64_t state_removals() const;

    InferenceContext& ctx_;
    ModelEvaluator models_;
    ForwardAgenda* agenda_ = nullptr;  // while the loop runs with Scan::Agenda
};

std::string generuj_wniosek(const std::string& marks, std::string_view conclusion);

}  // namespace xamo
