// The agenda of forward inference: which rule or model the restart scan would fire next, kept up
// to date as working memory changes instead of found by scanning the whole base at every step.
//
// Design notes
// - The restart scan (ForwardInference with Scan::Restart, kept as the reference) tests items in
//   base order and fires the first that yields something. Most items it passes over are passed
//   over silently: a rule already applied, a rule whose first condition not yet true is unknown
//   and cannot be asked, a model whose application condition does not hold without a question,
//   a model applied already. The agenda holds, per phase of the scan, the set of items that are
//   NOT silently passed over (`eligible`); the scan visits only those, in base order, through
//   the same code as the reference. Visiting an item the reference would pass over silently is
//   harmless; leaving out one it would act on is a fault, so eligibility errs on the side of a
//   visit.
// - Eligibility of a rule depends on the state of its conditions and their negations in `rbd`
//   and on regula_zastosowana; of a model on its application condition (and its negation), on
//   model_stosowany and model_bledny, on the fixed value of its result (arithmetic) or the fact
//   rbd(number, result) (relational). InferenceMemory tells the agenda of each change
//   (MemoryObserver); the items depending on what changed are marked dirty and their
//   eligibility is computed again before the next choice (`settle`).
// - Conditions of rules are interned once per run (RuleConditionIndex): a rule holds the ids of
//   its conditions, an id the rules that mention it. The agenda counts, per id, the rbd facts of
//   the condition and of its negation, so testing a rule is integer work. A rule remembers how
//   many of its first conditions were true when it was last tested (`true_prefix_`) and goes on
//   from there, so a rule of k conditions that become true one by one costs O(k) in all; a
//   condition that stops being true sends the rules mentioning it back to their first one.
// - Within one pass of the scan the next item is the first eligible one after the item just
//   visited (`next_rule(from)`, `next_model(phase, from)`): a question answered while testing an
//   item may make an earlier item eligible, which the scan, like the reference, reaches only in
//   its next pass.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "inference/context.h"
#include "inference/memory.h"
#include "inference/rule_index.h"

namespace xamo {

// A set of the integers 0..size-1 with the smallest member from a given one found in a few word
// operations (a tree of 64-bit words, each bit above telling whether a word below is not empty).
class IndexSet {
  public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    explicit IndexSet(std::size_t size = 0);
    void insert(std::size_t i);
    void erase(std::size_t i);
    bool contains(std::size_t i) const;
    // The smallest member not below `from`, or npos.
    std::size_t first_from(std::size_t from) const;

  private:
    std::size_t size_;
    std::vector<std::vector<std::uint64_t>> levels_;  // levels_[0] holds the members
};

class ForwardAgenda : public MemoryObserver {
  public:
    // The phases of the scan after the rules, in its order.
    enum Phase : std::size_t {
        BasicArithmetic,
        ExtendedArithmetic,
        Linear,
        Polynomial,
        BasicRelation,
        ExtendedRelation,
        kPhases
    };

    // Builds the agenda over the current working memory and observes it until destroyed.
    explicit ForwardAgenda(InferenceContext& ctx);
    ~ForwardAgenda() override;
    ForwardAgenda(const ForwardAgenda&) = delete;
    ForwardAgenda& operator=(const ForwardAgenda&) = delete;

    // The first eligible rule at or after base position `from`, with its position; nullptr when
    // there is none.
    const Fact* next_rule(std::size_t& from);
    // The same for the models of one phase, positions counted within the phase.
    const Fact* next_model(Phase phase, std::size_t& from);

    // Whether condition `id` of the rule index holds in working memory, and whether its negation
    // does: the counts kept from every change, so a test needs no lookup by text.
    bool holds(std::uint32_t id) const { return count_[id] > 0; }
    bool refuted(std::uint32_t id) const { return negation_count_[id] > 0; }

    // Whether the rule at base position i is eligible now (for tests).
    bool rule_eligible(std::size_t i);

    void fact_changed(std::int32_t number, std::string_view condition, std::uint32_t name,
                      int delta) override;
    void rule_mark_changed(std::int32_t number) override;
    void model_mark_changed(std::int32_t number) override;
    void value_changed(const std::string& name) override;

  private:
    struct ModelRef {
        std::uint32_t phase;
        std::uint32_t index;
    };
    struct PhaseItems {
        std::vector<const Fact*> models;
        std::vector<std::uint8_t> dirty;
        IndexSet eligible;
    };

    // `name`: the condition's number among the rules' names, or WorkingMemory::kNoName.
    void count_fact(std::string_view condition, std::uint32_t name, int delta, bool mark);
    void add_to_count(std::uint32_t id, bool negation, int delta, bool mark);
    void mark_rule(std::uint32_t i);
    void mark_model(ModelRef ref);
    void mark_models(const std::unordered_map<std::string, std::vector<ModelRef>>& index,
                     std::string_view key);
    void settle();
    bool compute_rule(std::uint32_t i);
    // Whether condition `id` may be asked, looked up the first time a rule waits on it.
    bool askable(std::uint32_t id);
    bool compute_model(std::uint32_t phase, const Fact& model) const;

    InferenceContext& ctx_;
    const RuleConditionIndex& index_;
    // Whether working memory numbers conditions as the index does, telling the numbers.
    bool same_names_ = false;
    // Per condition id: rbd facts of the condition, of its negation; whether it may be asked.
    std::vector<std::int32_t> count_;
    std::vector<std::int32_t> negation_count_;
    static constexpr std::uint8_t kAskableUnknown = 2;
    std::vector<std::uint8_t> askable_;  // 0, 1, or kAskableUnknown
    std::vector<std::int32_t> rule_numbers_;
    std::vector<std::uint32_t> true_prefix_;  // per rule: its first conditions known true
    std::vector<std::pair<std::int32_t, std::uint32_t>> rules_by_number_;  // sorted
    std::vector<std::uint8_t> rule_dirty_;
    std::vector<std::uint32_t> dirty_rules_;
    IndexSet eligible_rules_;

    PhaseItems phases_[kPhases];
    std::vector<ModelRef> dirty_models_;
    // Models by application condition and its negation (and relational models by result), by
    // number, and arithmetic models by result.
    std::unordered_map<std::string, std::vector<ModelRef>> models_by_condition_;
    std::unordered_map<std::int32_t, std::vector<ModelRef>> models_by_number_;
    std::unordered_map<std::string, std::vector<ModelRef>> models_by_result_;
};

}  // namespace xamo
