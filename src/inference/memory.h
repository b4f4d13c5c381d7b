// Working facts of an inference run. The summary and the report read them after the run.
//
// Working memory `rbd` keeps its facts in the order they were added (for presentation) and an
// index by condition (ViewTable), so that the state of a condition is a hash lookup, not a scan.
//
// The forward agenda keeps the items that may fire up to date from the changes of these facts:
// every container tells its observer (MemoryObserver, set by InferenceMemory::observe) of each
// change as it happens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "kb/facts.h"
#include "kb/rule_names.h"
#include "kb/view_table.h"

namespace xamo {

// Told of every change of the working facts that decide which rule or model can fire next.
class MemoryObserver {
  public:
    virtual ~MemoryObserver() = default;
    // rbd(number, condition) was added (delta 1) or removed (delta -1); `name` is the
    // condition's number among the rules' names the memory was given (RuleNames), or
    // WorkingMemory::kNoName.
    virtual void fact_changed(std::int32_t number, std::string_view condition, std::uint32_t name,
                              int delta) = 0;
    // regula_zastosowana(number) was added or removed.
    virtual void rule_mark_changed(std::int32_t number) = 0;
    // model_stosowany(number) or model_bledny(number) was added.
    virtual void model_mark_changed(std::int32_t number) = 0;
    // zmienna_ustalona(name, _) was added or removed.
    virtual void value_changed(const std::string& name) = 0;
};

// rbd(number, condition): the condition is established by the rule or model `number` (0 for the
// user, a declared fact and "bez warunku"). A condition may be supported by several facts.
//
// Facts are kept in the order they were added, each as its number and the index of its
// condition; a removed fact stays as a gap until the memory is cleared, so positions never move.
// Each condition is stored once; its facts are linked from the first to the last added through
// their positions, so that a fact costs no allocation of its own. A memory given the rules'
// names (reserve) finds the conditions that are among them through that numbering, tells its
// observer their numbers, and indexes only the other texts itself.
class WorkingMemory {
  public:
    static constexpr std::uint32_t kNoName = static_cast<std::uint32_t>(-1);
    using Entry = std::pair<std::int32_t, std::string>;
    // One fact as iteration yields it.
    using Fact = std::pair<std::int32_t, std::string_view>;

    class const_iterator {
      public:
        using value_type = Fact;
        using difference_type = std::ptrdiff_t;
        using iterator_category = std::forward_iterator_tag;

        Fact operator*() const;
        const_iterator& operator++();
        bool operator==(const const_iterator& other) const { return at_ == other.at_; }
        bool operator!=(const const_iterator& other) const { return at_ != other.at_; }

      private:
        friend class WorkingMemory;
        const_iterator(const WorkingMemory* memory, std::size_t at);
        const WorkingMemory* memory_;
        std::size_t at_;
    };

    WorkingMemory() = default;
    WorkingMemory(std::initializer_list<Entry> entries) {
        for (const auto& [number, condition] : entries) add(number, condition);
    }
    WorkingMemory(const WorkingMemory& other) : WorkingMemory() { *this = other; }
    WorkingMemory& operator=(const WorkingMemory& other);
    WorkingMemory(WorkingMemory&&) = default;
    WorkingMemory& operator=(WorkingMemory&&) = default;

    void observe(MemoryObserver* observer) { observer_ = observer; }
    // Room for `count` facts of as many conditions, and the rules' names to find conditions
    // through; only an empty memory takes them.
    void reserve(std::size_t count, std::shared_ptr<const RuleNames> names = nullptr);
    const RuleNames* names() const { return names_.get(); }

    // Returns how many facts now support the condition.
    std::size_t add(std::int32_t number, const std::string& condition) {
        return add_at(number, intern(condition));
    }
    bool established(std::string_view condition) const { return count(condition) > 0; }
    // established(negacja(condition)), without making the negation while no negated
    // condition was recorded.
    bool negation_established(std::string_view condition) const;
    bool has(std::int32_t number, std::string_view condition) const;
    // The place of a condition's record, made (without facts) when there is none: a caller that
    // tests a condition and then adds it looks its text up once. `name`, when given, is the
    // condition's number among the memory's names (of a rule the caller holds): the text is then
    // not looked up at all.
    std::uint32_t intern(std::string_view condition, std::uint32_t name = kNoName);
    // Asks the processor for what intern(condition) will read first: a caller going through
    // many conditions calls it some conditions ahead.
    void prefetch(std::string_view condition) const {
        if (names_ != nullptr) names_->prefetch(condition);
    }
    std::size_t count_at(std::uint32_t place) const { return conditions_[place].count; }
    // The number among the rules' names of the condition at `place`, or kNoName.
    std::uint32_t name_at(std::uint32_t place) const { return conditions_[place].name; }
    bool has_at(std::int32_t number, std::uint32_t place) const;
    std::size_t add_at(std::int32_t number, std::uint32_t place);
    std::size_t count(std::string_view condition) const;
    // Removes the first rbd(number, condition); false when there is none.
    bool remove(std::int32_t number, const std::string& condition);
    // Removes every rbd(_, condition).
    void remove_all(const std::string& condition);
    void clear();
    // Moves every fact into `target` (emptied first) and leaves this memory empty, telling both
    // observers as a copy followed by clear() would, without copying anything.
    void hand_over(WorkingMemory& target);

    // Calls f(number, condition, name) for every fact in order (name as name_at gives it).
    template <typename F>
    void for_each_named(F&& f) const {
        for (const Stored& fact : facts_) {
            if (fact.condition == kGap) continue;
            const Condition& record = conditions_[fact.condition];
            f(fact.number, text_of(record), record.name);
        }
    }

    const_iterator begin() const { return {this, skip_gaps(0)}; }
    const_iterator end() const { return {this, facts_.size()}; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Equal for equal multisets of facts (whatever their order); kept up to date as facts change.
    std::uint64_t signature() const { return signature_; }
    // How many times facts were taken out (by removal, clearing or replacement), ever.
    std::uint64_t removals() const { return removals_; }

  private:
    static constexpr std::uint32_t kGap = static_cast<std::uint32_t>(-1);

    static constexpr std::uint32_t kNone = static_cast<std::uint32_t>(-1);

    struct Stored {
        std::int32_t number;
        std::uint32_t condition;  // index in conditions_, or kGap for a removed fact
        std::uint32_t next;       // the next fact of the condition, or kNone
    };
    // A condition keeps its record (without facts) when its facts go, until the memory is
    // cleared.
    // Its text is the name's among names_, or else its own (in own_texts_).
    struct Condition {
        std::uint32_t name = kNoName;
        std::uint32_t own = kNone;    // index in own_texts_ (and number in index_)
        std::uint32_t first = kNone;  // positions in facts_
        std::uint32_t last = kNone;
        std::uint32_t count = 0;
    };
    std::string_view text_of(const Condition& record) const {
        return record.name != kNoName ? names_->text(record.name) : own_texts_[record.own].view();
    }

    void tell(std::int32_t number, const Condition& record, int delta) {
        if (observer_ != nullptr)
            observer_->fact_changed(number, text_of(record), record.name, delta);
    }
    // Every fact of `memory`, told to `observer` as added (1) or removed (-1).
    static void tell_each(MemoryObserver* observer, const WorkingMemory& memory, int delta);
    std::uint32_t new_record(std::string_view condition, std::uint32_t name);
    std::uint32_t place_of(std::string_view condition) const;
    const Condition* find(std::string_view condition) const;
    std::size_t skip_gaps(std::size_t at) const {
        while (at < facts_.size() && facts_[at].condition == kGap) ++at;
        return at;
    }

    std::vector<Stored> facts_;
    std::deque<Condition> conditions_;  // a deque: records stay put while observers are told
    // The texts of the conditions not among names_, indexed by index_ (which views them: copies
    // of the memory share the texts, so their views stay valid).
    std::vector<Name> own_texts_;
    ViewTable index_;
    std::vector<std::uint32_t> place_of_indexed_;  // by the index's number
    std::shared_ptr<const RuleNames> names_;
    std::vector<std::uint32_t> record_of_name_;  // by number among names_, or kNone
    std::size_t negated_records_ = 0;            // records of conditions beginning with "n"
    std::size_t size_ = 0;
    std::uint64_t signature_ = 0;
    std::uint64_t removals_ = 0;          // not copied: counts what happened to this object
    MemoryObserver* observer_ = nullptr;  // not copied
};

// regula_zastosowana(number): the rules tried to completion, with a signature like WorkingMemory's.
class AppliedRules {
  public:
    void observe(MemoryObserver* observer) { observer_ = observer; }
    void insert(std::int32_t number);
    void erase(std::int32_t number);
    std::size_t count(std::int32_t number) const { return numbers_.count(number); }
    bool empty() const { return numbers_.empty(); }
    std::size_t size() const { return numbers_.size(); }
    void clear();
    std::uint64_t signature() const { return signature_; }
    // How many numbers were ever taken out.
    std::uint64_t removals() const { return removals_; }

  private:
    std::unordered_set<std::int32_t> numbers_;
    std::uint64_t signature_ = 0;
    std::uint64_t removals_ = 0;
    MemoryObserver* observer_ = nullptr;
};

// model_stosowany(number): the models applied in a run, in the order they were applied (the
// explanation lists them so), with a hash lookup. Also the models that failed (model_bledny).
class AppliedModels {
  public:
    void observe(MemoryObserver* observer) { observer_ = observer; }
    // False when the model was already applied.
    bool insert(std::int32_t number);
    std::size_t count(std::int32_t number) const { return index_.count(number); }
    std::size_t size() const { return order_.size(); }
    bool empty() const { return order_.empty(); }
    void clear();
    std::vector<std::int32_t>::const_iterator begin() const { return order_.begin(); }
    std::vector<std::int32_t>::const_iterator end() const { return order_.end(); }

  private:
    std::vector<std::int32_t> order_;
    std::unordered_set<std::int32_t> index_;
    MemoryObserver* observer_ = nullptr;
};

// zmienna_ustalona(name, value): the fixed values of a run, in the order they were fixed.
class FixedValues {
  public:
    using Entry = std::pair<std::string, double>;

    FixedValues() = default;
    FixedValues(std::initializer_list<Entry> entries) {
        for (const auto& [name, value] : entries) set(name, value);
    }

    void observe(MemoryObserver* observer) { observer_ = observer; }
    void set(const std::string& name, double value);
    std::optional<double> get(const std::string& name) const;
    bool has(const std::string& name) const { return index_.count(name) > 0; }
    void remove(const std::string& name);
    void clear();

    std::vector<Entry>::const_iterator begin() const { return entries_.begin(); }
    std::vector<Entry>::const_iterator end() const { return entries_.end(); }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    // Numeric literals are fixed under their own text while models are evaluated; they are not
    // arguments and are never listed as argument values.
    static bool is_literal(const std::string& name);
    // How many times values were ever taken out.
    std::uint64_t removals() const { return removals_; }

  private:
    std::uint64_t removals_ = 0;
    std::vector<Entry> entries_;
    std::unordered_map<std::string, double> index_;  // the first value fixed for a name
    MemoryObserver* observer_ = nullptr;
};

// rbd_wstecz(condition): the conditions established by backward inference, in the order they were
// recorded, with a count per condition so that a test is a hash lookup.
class BackwardWorkingMemory {
  public:
    BackwardWorkingMemory() = default;
    BackwardWorkingMemory(std::initializer_list<std::string> conditions);

    void add(const std::string& condition);
    bool established(const std::string& condition) const { return count_.count(condition) > 0; }
    // Removes every rbd_wstecz(condition).
    void remove_all(const std::string& condition);
    void clear();

    const std::vector<std::string>& conditions() const { return entries_; }
    std::vector<std::string>::const_iterator begin() const { return entries_.begin(); }
    std::vector<std::string>::const_iterator end() const { return entries_.end(); }
    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }

  private:
    std::vector<std::string> entries_;
    std::unordered_map<std::string, std::size_t> count_;
};

// Why a condition holds that the user chose or a constraint made so, kept by the condition
// recorded ("Dlaczego nie?" names the constraint and its member).
struct Choice {
    // How `member` came to hold.
    enum class Cause { Declared, Chosen, Answered, Concluded };
    std::int32_t constraint = 0;  // 0: the fact menu
    std::string member;           // empty for a condition left unselected in the fact menu
    Cause cause = Cause::Chosen;
};

// The user's answer to a yes/no question: the condition as it was asked, and the answer.
struct Answer {
    std::string asked;
    bool yes = false;
};

struct InferenceMemory : WorkingSection {
    std::vector<std::string> etykieta;             // labels typed at the start of a run
    std::optional<std::string> szczegolowosc;      // "mała" or "duża"
    std::optional<std::string> jakiewnioskowanie;  // "W_PRZOD" while forward inference runs
    std::optional<std::string> hipoteza;           // present while a hypothesis is verified
    WorkingMemory rbd;                             // forward working memory
    BackwardWorkingMemory rbd_wstecz;              // backward working memory
    FixedValues zmienna_ustalona;                  // fixed argument values
    AppliedRules regula_zastosowana;
    AppliedModels model_stosowany;
    // Models whose evaluation met an arithmetic error in this run: reported once, never applied.
    AppliedModels model_bledny;
    std::vector<std::string> zanegowany_warunek_z_bazy_ograniczen;
    std::unordered_map<std::string, Choice> choices;  // by the condition recorded, first cause
    std::unordered_map<std::string, Answer> answers;  // by the positive form asked about
    std::vector<StringList> lista_warunkow_ograniczenia_z_warunkami_faktami;
    StringList lista_warunkow_uwzglednionych_ograniczen;
    bool blad_wykluczajacych = false;  // two declared facts of one constraint; until a reload
    // Working memory as the normal end of a forward run left it: that end empties rbd before the
    // report is offered, and "Dlaczego nie?" explains the run afterwards (sharing it, not a copy).
    std::shared_ptr<const WorkingMemory> final_rbd = std::make_shared<const WorkingMemory>();
    // Runs started since the knowledge base was cleared (counted by clear_run).
    std::uint64_t runs_started = 0;

    void clear() override { *this = InferenceMemory{}; }
    // Removes the working facts of an earlier run (the start of an inference command).
    void clear_run();
    bool backward_mode() const { return hipoteza.has_value(); }
    // Tells `observer` (or nobody, for nullptr) of every change of rbd, regula_zastosowana,
    // model_stosowany, model_bledny and zmienna_ustalona.
    void observe(MemoryObserver* observer);
    bool in_rbd_wstecz(const std::string& condition) const;
};

}  // namespace xamo
