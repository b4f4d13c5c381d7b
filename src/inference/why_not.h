// "Dlaczego nie?": why the last inference run did not establish a condition that a rule or a
// relational model concludes.
//
// Design notes
// - The explanation describes the run as it ended: record_forward_run and record_backward_run
//   copy into WhyNotMemory everything it reads (the rules and relational models, the declared
//   facts, the askable lists, working memory, the fixed values, the applied and failed models,
//   the answers and the choices with their constraints), so a base loaded afterwards changes
//   nothing. It asks nothing.
// - When "koniec" ended the run, an undecided condition says so first, naming the rule.
// - For every rule and relational model concluding the condition (base order) it names the
//   conditions that do not hold and why: false (the answer with its question, a declared fact, the
//   constraint and its member, the fact menu, or the rule or model that concluded its negation),
//   or never decided. A rule concluding the chosen condition lists all of them and marks the first,
//   where the run stopped the rule; deeper rules name that one only. An undecided condition that
//   cannot be asked is explained in turn by the rules and models concluding it, one level deeper;
//   an askable one was not asked because the run ended before it was needed.
// - The walk (WhyNot::explain) is a loop over an explicit stack, so a chain of any length costs
//   heap, not C++ stack. Each condition is expanded at most once per explanation: met again on
//   its own path it is a cycle, met elsewhere it refers to its explanation above, so the tree is
//   linear in the size of the base. Below kMaxLevels levels of rules the walk stops and says so,
//   which keeps the indentation readable.
// - The indexes (conclusions, numbers, declared facts, askable lists, the deciding rules) are
//   built once per command by the constructor; every test of the walk is a hash lookup.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "askable/askable_memory.h"
#include "dialog/interaction.h"
#include "inference/backward.h"
#include "inference/context.h"
#include "inference/memory.h"
#include "kb/facts.h"

namespace xamo {

enum class RunDirection { Forward, Backward };

// The last run as it ended, for "Dlaczego nie?"; cleared with the knowledge base.
struct WhyNotMemory : WorkingSection {
    std::optional<RunDirection> direction;  // of the last run that ended; none before any
    // The rule base and the declared facts (fakt, m_fakt) as the store held them: shared with
    // the store until it changes them.
    std::shared_ptr<const FactStore::Facts> rules = std::make_shared<const FactStore::Facts>();
    std::vector<std::shared_ptr<const FactStore::Facts>> declared;
    std::vector<Fact> relational_models;  // basic, then extended, in base order
    // Forward working memory (in a backward run: the answers about application conditions).
    std::shared_ptr<const WorkingMemory> rbd = std::make_shared<const WorkingMemory>();
    BackwardWorkingMemory rbd_wstecz;
    std::unordered_map<std::string, double> values;  // the first value fixed for each argument
    std::unordered_set<std::int32_t> applied_models;
    std::unordered_set<std::int32_t> failed_models;
    std::unordered_map<std::string, Choice> choices;
    std::unordered_map<std::string, Answer> answers;
    SharedTexts askable;        // the askable list of the run (rule questions)
    SharedTexts askable_joint;  // askable conditions and arguments (application conditions)
    SharedTexts askable_arguments;
    // Backward: the rule or model that established a condition (rbd_wstecz), by that condition.
    std::unordered_map<std::string, std::int32_t> decided_by;
    std::string hypothesis;                // backward: the main hypothesis
    std::optional<std::int32_t> end_rule;  // backward: the rule that concluded "koniec" first

    void clear() override { *this = WhyNotMemory{}; }
};

// Takes the run that ended: forward, or backward with the numbers its engine recorded.
void record_forward_run(WhyNotMemory& record, const InferenceContext& ctx);
void record_backward_run(WhyNotMemory& record, const InferenceContext& ctx,
                         const BackwardMemory& backward);

class WhyNot {
  public:
    // Levels of rules below the chosen condition that are explained.
    static constexpr std::size_t kMaxLevels = 50;

    // Indexes the run as recorded; the record outlives it.
    explicit WhyNot(const WhyNotMemory& record);

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
    // The rule that concluded "koniec" and so ended the run, if one did.
    std::optional<std::int32_t> end_rule() const;

    void explain_step(const Step& step, Walk& walk) const;
    void explain_rule(const Fact& rule, std::size_t depth, Walk& walk) const;
    void explain_model(const Fact& model, std::size_t depth, Walk& walk) const;
    // A condition that does not hold at `place` (its depth, and whether the run stopped its rule
    // there or before): false, or undecided (possibly expanded further).
    void explain_condition(const std::string& c, bool application, const Step& place,
                           Walk& walk) const;
    std::string why_false(const std::string& c, bool application) const;
    std::optional<std::string> answer_given(const std::string& c) const;
    std::optional<std::string> choice_made(const std::string& fact) const;
    std::string who_concluded(std::int32_t number, const std::string& fact) const;
    bool askable(const std::string& c, bool application) const;
    // Why the run did not get as far as a condition, a rule or a model: "koniec", the end of
    // the forward run, or a hypothesis decided without it.
    enum class Subject { Condition, Rule, Model };
    const char* unreached(Subject subject) const;

    const WhyNotMemory& record_;
    bool forward_;
    // Rules, then basic and extended relational models, by the positive form of what they
    // conclude, in base order.
    std::unordered_map<std::string, std::vector<const Fact*>> concluders_;
    std::vector<const Fact*> items_;  // every rule and relational model, in that order
    std::unordered_map<std::int32_t, const Fact*> rules_by_number_;
    std::unordered_map<std::int32_t, const Fact*> models_by_number_;
    std::unordered_map<std::string, std::int32_t> derived_;  // forward: fact -> rule or model
    std::unordered_set<std::string> declared_;
    std::unordered_set<std::string> askable_;  // positive forms
    std::unordered_set<std::string> askable_joint_;
    std::unordered_set<std::string> askable_arguments_;
};

// The command: the list of conditions not established (with "Anuluj"), then the explanation of
// the chosen one in the output stream and in the explanation dialog.
void dlaczego_nie(UserInteraction& ui, const WhyNotMemory& record);

}  // namespace xamo
