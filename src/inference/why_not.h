// "Dlaczego nie?": why the last inference run did not establish a condition that a rule or a
// relational model concludes.
//
// Design notes
// - The explanation reads only what the run left behind and asks nothing: forward working memory
//   (`rbd`, or `final_rbd` after a normal end, which empties `rbd`), backward working memory
//   (`rbd_wstecz`, with the answers about application conditions kept in `rbd`), the negations
//   recorded from constraints and the menu, the fixed values, the applied and failed models, and
//   WhyNotMemory (the direction of the run, and which rule or model decided each condition of a
//   backward run).
// - For every rule and relational model concluding the condition (base order) it names the first
//   condition that does not hold and why: false (answer, declared fact, constraint, menu, or the
//   rule or model that concluded its negation), or never decided. An undecided condition that
//   cannot be asked is explained in turn by the rules and models concluding it, one level deeper;
//   an askable one was not asked because the run ended before it was needed.
// - The walk (WhyNot::explain) is a loop over an explicit stack, so a chain of any length costs
//   heap, not C++ stack. Each condition is expanded at most once per explanation: met again on
//   its own path it is a cycle, met elsewhere it refers to its explanation above, so the tree is
//   linear in the size of the base. Below kMaxLevels levels of rules the walk stops and says so,
//   which keeps the indentation readable.
// - The indexes (conclusions, numbers, declared facts, constraint members, the deciding rules)
//   are built once per command by the constructor; every test of the walk is a hash lookup.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "inference/backward.h"
#include "inference/context.h"
#include "inference/memory.h"
#include "kb/facts.h"

namespace xamo {

enum class RunDirection { Forward, Backward };

// What "Dlaczego nie?" needs of the last run besides InferenceMemory; cleared with the knowledge
// base.
struct WhyNotMemory : WorkingSection {
    std::optional<RunDirection> direction;  // of the last run that ended; none before any
    // Backward: the rule or model that established a condition (rbd_wstecz), by that condition.
    std::unordered_map<std::string, std::int32_t> decided_by;

    void clear() override { *this = WhyNotMemory{}; }
};

// The run that ended: forward, or backward with the numbers its engine recorded.
void record_forward_run(WhyNotMemory& record);
void record_backward_run(WhyNotMemory& record, const BackwardMemory& backward);

class WhyNot {
  public:
    // Levels of rules below the chosen condition that are explained.
    static constexpr std::size_t kMaxLevels = 50;

    // Indexes the bases and the state of the run; the context and the record outlive it.
    WhyNot(const InferenceContext& ctx, const WhyNotMemory& record);

    // The conclusions of the rules and relational models (base order, each once, without
    // "koniec") that the run did not establish.
    StringList candidates() const;
    // The explanation of one condition as indented lines (4 blanks per level).
    std::vector<std::string> explain(const std::string& condition) const;

  private:
    enum class Truth { True, False, Unknown };
    struct Step;
    using Stack = std::vector<Step>;
    struct Walk;

    Truth truth(const std::string& c) const;
    bool established(const std::string& c) const { return truth(c) == Truth::True; }
    const std::vector<const Fact*>& concluders(const std::string& c) const;
    std::optional<std::int32_t> deciding_number(const std::string& fact) const;

    void explain_item(const Fact& item, std::size_t depth, Walk& walk) const;
    void explain_rule(const Fact& rule, std::size_t depth, Walk& walk) const;
    void explain_model(const Fact& model, std::size_t depth, Walk& walk) const;
    // A condition that does not hold: false, or undecided (possibly expanded further).
    void explain_condition(const std::string& c, bool application, std::size_t depth,
                           Walk& walk) const;
    std::string why_false(const std::string& c, bool application) const;
    std::string who_concluded(std::int32_t number, const std::string& fact) const;
    bool askable(const std::string& c, bool application) const;
    // Why the run did not get as far as a condition, a rule or a model: "koniec", the end of
    // the forward run, or a hypothesis decided without it.
    enum class Subject { Condition, Rule, Model };
    const char* unreached(Subject subject) const;

    const InferenceContext& ctx_;
    const WhyNotMemory& record_;
    bool forward_;
    const WorkingMemory& rbd_;  // the forward working memory as the run ended
    // Rules, then basic and extended relational models, by the positive form of what they
    // conclude, in base order.
    std::unordered_map<std::string, std::vector<const Fact*>> concluders_;
    std::vector<const Fact*> items_;  // every rule and relational model, in that order
    std::unordered_map<std::int32_t, const Fact*> rules_by_number_;
    std::unordered_map<std::int32_t, const Fact*> models_by_number_;
    std::unordered_map<std::string, std::int32_t> derived_;  // forward: fact -> rule or model
    std::unordered_set<std::string> declared_;
    std::unordered_set<std::string> negated_by_choice_;  // constraints and the fact menu
    std::unordered_set<std::string> constraint_members_;
};

// The command: the list of conditions not established, then the explanation of the chosen one
// in the output stream and in the explanation dialog.
void dlaczego_nie(InferenceContext& ctx, const WhyNotMemory& record);

}  // namespace xamo
