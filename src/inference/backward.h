// Backward inference: verification of one hypothesis, goal first, in its own working memory
// `rbd_wstecz`.
//
// Design notes
// - Verification is depth-first and a knowledge base may hold very long chains of rules, so it is
//   not C++ recursion: `verify` runs a loop over an explicit stack of frames. A frame verifies one
//   condition (or one list of conditions, for the rules concluding "koniec") and moves through
//   the stages below; verifying a rule's condition pushes a child frame, whose result is handed
//   back to the parent when it is popped.
//     Start       - established or refuted already, cycle check, question (`start`);
//     Proving     - rules concluding c whose conditions all hold prove it;
//     Refuting    - else the first rule with a condition that does not hold refutes it;
//     NegRefuting - negated c: a rule for its positive form whose conditions hold refutes it;
//     NegProving  - else the first such rule with a condition that does not hold proves it;
//     Models      - arithmetic, basic relational and extended relational models, in that order.
// - A condition already under verification on the current path (compared by its positive form)
//   counts as not proved: a cycle of rules ends instead of looping.
// - Application conditions of models may be verified as hypotheses while a model is evaluated
//   (`sprawdz`); `verify`, the model steps and the evaluation of models are coroutines (task.h),
//   so such nesting, like a chain of models, takes heap and not C++ stack, to any depth.
// - `rbd_wstecz` (InferenceMemory) keeps the order of recording and an index, so that every test
//   of a condition is a hash lookup; the rules concluding a condition and the models computing a
//   result are found through indexes in base order (Search::Scan finds them by scanning the
//   bases, the reference the indexes are tested against).
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "inference/context.h"
#include "inference/task.h"
#include "kb/conditions.h"

namespace xamo {

class ModelEvaluator;

// The working facts of a backward run besides rbd_wstecz (which lives in InferenceMemory).
struct BackwardMemory {
    std::deque<std::int32_t> regula_stosowana;  // most recently considered first
    std::unordered_set<std::int32_t> regula_wykorzystana;
    std::deque<std::pair<std::int32_t, std::string>> numer_prawda;     // latest first
    std::deque<std::pair<std::int32_t, std::string>> numer_nieprawda;  // latest first
    std::string hypothesis;                // the main hypothesis of the run
    std::optional<std::int32_t> end_rule;  // the rule that concluded "koniec" before it
};

class BackwardEngine {
  public:
    enum class Search { Indexed, Scan };

    BackwardEngine(InferenceContext& ctx, ModelEvaluator& models, Search search = Search::Indexed);
    BackwardEngine(const BackwardEngine&) = delete;
    BackwardEngine& operator=(const BackwardEngine&) = delete;
    ~BackwardEngine();

    InferenceContext& context() { return ctx_; }
    ModelEvaluator& models() { return models_; }
    BackwardMemory& memory() { return memory_; }
    const BackwardMemory& memory() const { return memory_; }

    // weryfikowanie_hipotezy_cd: true when c is proved.
    bool weryfikowanie_hipotezy_cd(const std::string& c);
    // testuj_warunki_wstecz: every condition in order; false at the first not proved.
    bool testuj_warunki_wstecz(const NameList& conditions);
    // Seeds working memory and verifies the rules concluding "koniec" (`seed`, then
    // `verify_end_rules`).
    void seed();
    void verify_end_rules(const std::string& hypothesis);

    // pamietaj_wstecz: false when c is negated and its positive form is established.
    // `cause` says how c came to hold, for the members of its constraints it makes false.
    bool pamietaj_wstecz(const std::string& c, Choice::Cause cause = Choice::Cause::Concluded);
    void komunikat(const std::string& c);

    bool established(const std::string& c) const;
    bool refuted(const std::string& c) const { return established(negacja(c)); }
    bool end_established() const;
    // The user's answer about an application condition made c true (rbd(0, c)).
    bool answered(const std::string& c) const;

    // The rule numbered n (the first in store order), or nullptr.
    const Fact* rule(std::int32_t number) const;
    // The first numer_prawda / numer_nieprawda for c.
    std::optional<std::int32_t> proved_by(const std::string& c) const;
    std::optional<std::int32_t> refuted_by(const std::string& c) const;

  private:
    struct Frame;
    enum class Outcome { Proved, NotProved, Pending };

    Task<bool> verification(std::string c);
    Task<bool> verify(Frame root);
    Outcome advance(Frame& frame, std::optional<bool> child);
    Outcome start(Frame& frame);
    Outcome next_rule(Frame& frame, std::optional<bool> child);
    Outcome settle_rule(Frame& frame, const Fact& rule, bool all_proved);
    void enter_stage_after_rules(Frame& frame);
    Task<Outcome> models_decide(std::string c);
    Task<bool> arithmetic_models(std::string c);
    Task<Outcome> relational_models(std::string c, bool extended);

    void add_wstecz(const std::string& c);
    void remove_wstecz(const std::string& c);
    void record_false(const std::string& member, const Choice& why);
    void uzupelnij_ograniczenia(const std::string& c, Choice::Cause cause);
    const std::vector<const Fact*>& constraints_with(const std::string& member) const;
    const std::vector<const Fact*>& rules_concluding(const std::string& c) const;
    const std::vector<const Fact*>& models_with_result(const std::string& result) const;
    bool conclude_by_rule(const std::string& c, const Fact& rule, const std::string& result,
                          bool proves);

    InferenceContext& ctx_;
    ModelEvaluator& models_;
    Search search_;
    BackwardMemory memory_;
    // Search::Scan: what the last scan for a condition found (frames keep pointers to these).
    mutable std::unordered_map<std::string, std::vector<const Fact*>> scanned_rules_;
    mutable std::unordered_map<std::string, std::vector<const Fact*>> scanned_models_;
    std::unordered_map<std::string, std::vector<const Fact*>> rules_by_conclusion_;
    std::unordered_map<std::int32_t, const Fact*> rules_by_number_;
    std::unordered_map<std::string, std::vector<const Fact*>> constraints_by_member_;
    std::unordered_map<std::string, std::vector<const Fact*>> models_by_result_;  // in kind order
    std::unordered_set<std::string> on_path_;
};

}  // namespace xamo
