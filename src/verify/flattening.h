// Rule flattening: a rule's conditions replaced, pass after pass, by the conditions of the rules
// that conclude them, until only askable conditions are left. One rule has one flattening for
// each way of choosing the replacing rules.
//
// Design notes.
// - RuleIndex is built once per command from the rule base and the askable conditions. Every
//   condition met while flattening is interned as a dense id; its replacements (szukaj_regule)
//   are computed once, in their order: for "n"+w, each rule concluding w in rule-base order and
//   each of its conditions from the last to the first, negated; for any other c, each rule
//   concluding c with its conditions; then (0, [c]) when c is askable.
// - Flattener enumerates one rule's flattenings lazily on an explicit stack. The current pass's
//   list is one PassList changed in place by each pass and restored from its log on the way
//   back. `choices_` holds one entry per condition that has a choice to make (the replacement
//   chosen and the item's ancestry); an askable condition no rule concludes stands for itself,
//   so it makes no choice and a pass leaves it where it is. next() moves forward, choosing the
//   first alternative of each condition (choose), closes a pass (close_pass: the chosen lists put
//   in place of their conditions in the reversed list, i.e. joined from the last condition to the
//   first, and reduced keeping last occurrences; a new pass while something is not askable), and
//   on a dead end or after a result advances the latest choice that still has an alternative
//   (advance), undoing the passes after it. This is the depth-first order over the choices, pass
//   1 condition 1 first. A chain of n rules costs n passes of constant size, not n lists of up
//   to n conditions.
// - Cycles: a condition reached again inside its own expansion would be expanded forever. Each
//   item remembers the chain of conditions whose expansion produced it; an alternative that would
//   bring back a condition of that chain is dropped and reached_cycle() turns true. Only
//   conditions of one strongly connected component of the replacement graph can repeat, so the
//   chain is walked only there, and a base without cycles never pays for the check.
// - Numbers are delivered cleaned: every rule used, each once, in order of first use, never 0.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "askable/askable_memory.h"
#include "kb/facts.h"
#include "kb/view_table.h"
#include "verify/pass_list.h"

namespace xamo {

class SearchProgress;

using ConditionId = std::uint32_t;

struct Replacement {
    std::int32_t number = 0;  // the replacing rule (0 for an askable condition standing for itself)
    std::vector<ConditionId> conditions;
    // An askable condition standing for itself, not a rule: a rule may be numbered 0 too, and
    // its replacement must still be followed when cycles are sought.
    bool own = false;
};

class RuleIndex {
  public:
    struct IndexedRule {
        std::int32_t number = 0;
        ConditionId conclusion = 0;
        std::vector<ConditionId> conditions;
        const Fact* fact = nullptr;
    };

    // `progress`, when given, is stepped as the index is built so that a large base keeps the
    // window painted; an interruption leaves the index unfinished (interrupted()).
    RuleIndex(const FactStore& store, const AskableMemory& askable,
              SearchProgress* progress = nullptr);
    RuleIndex(const RuleIndex&) = delete;
    RuleIndex& operator=(const RuleIndex&) = delete;

    // Rules in rule-base order.
    const std::vector<IndexedRule>& rules() const { return rules_; }
    const std::string& text(ConditionId id) const { return *texts_[id]; }
    std::size_t size() const { return texts_.size(); }
    ConditionId negation(ConditionId id) const { return negation_[id]; }
    bool askable(ConditionId id) const { return askable_[id] != 0; }
    const std::vector<Replacement>& replacements(ConditionId id) const { return replacements_[id]; }
    // An askable condition no rule concludes: it makes no choice and stays in every flattening.
    bool stands_for_itself(ConditionId id) const {
        const auto& alternatives = replacements_[id];
        return alternatives.size() == 1 && alternatives[0].own;
    }
    // Both conditions lie on one cycle of replacements.
    bool same_cycle(ConditionId a, ConditionId b) const {
        return cyclic_[a] != 0 && component_[a] == component_[b];
    }
    // Some conditions lie on a cycle of replacements.
    bool has_cycles() const { return has_cycles_; }
    // Rule positions concluding the condition, in rule-base order.
    const std::vector<std::uint32_t>& concluding(ConditionId id) const { return concluding_[id]; }
    // The id of a condition, interned on demand (a condition outside the rule base has at most
    // itself as replacement and lies on no cycle).
    ConditionId id_of(std::string_view text);
    // Of a list of texts or of names.
    template <typename List>
    std::vector<ConditionId> ids_of(const List& texts) {
        std::vector<ConditionId> out;
        out.reserve(texts.size());
        for (const auto& text : texts) out.push_back(id_of(text));
        return out;
    }

    StringList texts(const std::vector<ConditionId>& ids) const;
    bool interrupted() const { return interrupted_; }

    // Scratch marks for one self-contained step (reducing a list, testing pairs): bump() starts
    // a fresh generation, so no clearing is needed between steps.
    std::uint32_t bump() const { return ++generation_; }
    std::vector<std::uint32_t>& marks() const { return marks_; }

  private:
    ConditionId intern(std::string_view text);
    // Replacements and negation of every condition interned but not yet completed.
    void complete_pending();
    void compute_replacements(ConditionId id);
    void find_cycles();

    const AskableMemory& askable_memory_;
    SearchProgress* building_ = nullptr;  // while the constructor runs
    bool interrupted_ = false;
    bool stopped();
    std::vector<ConditionId> pending_;

    std::deque<std::string> storage_;
    ViewTable ids_;  // over the stored texts; a text's number is its id
    std::vector<const std::string*> texts_;
    std::vector<ConditionId> negation_;
    std::vector<char> askable_;
    std::deque<std::vector<Replacement>> replacements_;  // a deque: references stay valid
    std::vector<std::vector<std::uint32_t>> concluding_;
    std::vector<std::uint32_t> component_;
    std::vector<char> cyclic_;
    bool has_cycles_ = false;
    std::vector<IndexedRule> rules_;
    mutable std::vector<std::uint32_t> marks_;
    mutable std::uint32_t generation_ = 0;
};

struct Flattening {
    std::vector<ConditionId> conditions;  // askable only, no repetitions
    IntegerList numbers;                  // cleaned: in order of first use, no 0
};

class Flattener {
  public:
    // Flattens the conditions of one rule; `progress`, when given, is stepped as the search goes
    // and stops it when the user interrupts.
    Flattener(const RuleIndex& index, const std::vector<ConditionId>& conditions,
              SearchProgress* progress = nullptr);

    // The next flattening, or nullptr when there is no other (or the search was interrupted).
    // The result stays valid until the next call.
    const Flattening* next();
    // A choice sequence was dropped because it led back to a condition being expanded.
    bool reached_cycle() const { return reached_cycle_; }
    bool interrupted() const { return interrupted_; }

  private:
    struct Pass {
        std::vector<std::uint32_t> open;  // nodes of the list that make a choice, in order
        std::size_t first_choice;
        PassList::Mark before;  // the list as it was before this pass was made
        std::size_t held_before;
    };
    struct Choice {
        const std::vector<Replacement>* alternatives;
        std::uint32_t alternative;
        ConditionId condition;
        std::uint32_t ancestry;
    };
    static constexpr std::uint32_t kNone = PassList::kNone;

    bool choose(Choice& choice);
    bool leads_back(const Choice& choice, const Replacement& replacement) const;
    bool advance();
    bool close_pass();
    void replace(std::uint32_t node, const Replacement& replacement, std::uint32_t ancestry);
    void hold(ConditionId condition, std::uint32_t node);
    void reduce();
    void undo(const Pass& pass);
    void deliver();

    const RuleIndex& index_;
    SearchProgress* progress_;
    PassList list_;
    std::vector<std::uint32_t> first_nodes_;                 // the rule's own conditions, in order
    std::unordered_map<ConditionId, std::uint32_t> holder_;  // the node of each condition
    std::vector<Pass> passes_;
    std::vector<Choice> choices_;
    std::vector<PassList::Entry> entries_;
    std::vector<std::uint32_t> made_;
    struct Held {
        ConditionId condition;
        std::uint32_t node;
    };
    std::vector<Held> held_log_;  // previous holders, to undo
    Flattening result_;
    bool started_ = false;
    bool done_ = false;
    bool reached_cycle_ = false;
    bool interrupted_ = false;
};

// --- the operations as the other diagnoses call them ------------------------------------------

// The flattenings of a rule with the given conditions, in order, until `visit` returns false.
// Returns false when the visitor stopped early. `reached_cycle`, when given, is set when a choice
// sequence was dropped at a cycle.
bool splaszcz(RuleIndex& index, const StringList& conditions,
              const std::function<bool(const StringList&, const IntegerList&)>& visit,
              bool* reached_cycle = nullptr);
// The replacements of one condition, in order.
std::vector<std::pair<std::int32_t, StringList>> szukaj_regule(RuleIndex& index,
                                                               const std::string& condition);
// True when some condition of the list is not askable for flattening.
bool sprawdz_niedopytywalnosc(const AskableMemory& askable, const StringList& conditions);

}  // namespace xamo
