#include "verify/flattening.h"

#include <algorithm>
#include <unordered_set>

#include "askable/askable.h"
#include "kb/conditions.h"
#include "verify/progress.h"

namespace xamo {

// --- RuleIndex --------------------------------------------------------------------------------

RuleIndex::RuleIndex(const FactStore& store, const AskableMemory& askable)
    : askable_memory_(askable) {
    for (const Fact& fact : store.all(Kind::regula)) {
        const Rule rule(fact);
        IndexedRule indexed;
        indexed.number = rule.number();
        indexed.conclusion = intern(rule.conclusion());
        indexed.conditions.reserve(rule.conditions().size());
        for (const auto& c : rule.conditions()) indexed.conditions.push_back(intern(c));
        indexed.fact = &fact;
        concluding_[indexed.conclusion].push_back(static_cast<std::uint32_t>(rules_.size()));
        rules_.push_back(std::move(indexed));
    }
    complete_pending();
    find_cycles();
}

ConditionId RuleIndex::intern(std::string_view text) {
    if (const auto it = ids_.find(text); it != ids_.end()) return it->second;
    const auto id = static_cast<ConditionId>(texts_.size());
    const std::string& stored = storage_.emplace_back(text);
    ids_.emplace(stored, id);
    texts_.push_back(&stored);
    negation_.push_back(id);
    askable_.push_back(is_askable(askable_memory_, stored) ? 1 : 0);
    replacements_.emplace_back();
    concluding_.emplace_back();
    component_.push_back(id);
    cyclic_.push_back(0);
    marks_.push_back(0);
    pending_.push_back(id);
    return id;
}

void RuleIndex::complete_pending() {
    while (!pending_.empty()) {
        const ConditionId id = pending_.back();
        pending_.pop_back();
        compute_replacements(id);
        const ConditionId negated = intern(negacja(*texts_[id]));
        negation_[id] = negated;
    }
}

void RuleIndex::compute_replacements(ConditionId id) {
    std::vector<Replacement> out;
    const std::string text = *texts_[id];
    if (is_negated(text)) {
        if (const auto it = ids_.find(std::string_view(text).substr(1)); it != ids_.end()) {
            for (std::uint32_t position : concluding_[it->second]) {
                const IndexedRule& rule = rules_[position];
                for (auto c = rule.conditions.rbegin(); c != rule.conditions.rend(); ++c) {
                    out.push_back({rule.number, {intern(negacja(*texts_[*c]))}});
                }
            }
        }
    } else {
        for (std::uint32_t position : concluding_[id]) {
            out.push_back({rules_[position].number, rules_[position].conditions});
        }
    }
    if (askable_[id]) out.push_back({0, {id}});
    replacements_[id] = std::move(out);
}

// Tarjan's strongly connected components over the edges "condition -> a condition of one of its
// rule replacements", with an explicit stack.
void RuleIndex::find_cycles() {
    const std::size_t n = texts_.size();
    constexpr std::uint32_t kUnvisited = 0xffffffffu;
    std::vector<std::uint32_t> order(n, kUnvisited);
    std::vector<std::uint32_t> low(n, 0);
    std::vector<char> on_stack(n, 0);
    std::vector<ConditionId> stack;
    struct Frame {
        ConditionId vertex;
        std::size_t replacement;
        std::size_t condition;
    };
    std::vector<Frame> frames;
    std::vector<ConditionId> members;
    std::uint32_t counter = 0;
    for (ConditionId root = 0; root < n; ++root) {
        if (order[root] != kUnvisited) continue;
        frames.push_back({root, 0, 0});
        order[root] = low[root] = counter++;
        stack.push_back(root);
        on_stack[root] = 1;
        while (!frames.empty()) {
            Frame& frame = frames.back();
            const auto& reps = replacements_[frame.vertex];
            bool descended = false;
            while (frame.replacement < reps.size()) {
                const Replacement& rep = reps[frame.replacement];
                if (rep.number == 0 || frame.condition >= rep.conditions.size()) {
                    ++frame.replacement;
                    frame.condition = 0;
                    continue;
                }
                const ConditionId next = rep.conditions[frame.condition++];
                if (next == frame.vertex) cyclic_[next] = 1;
                if (order[next] == kUnvisited) {
                    order[next] = low[next] = counter++;
                    stack.push_back(next);
                    on_stack[next] = 1;
                    frames.push_back({next, 0, 0});
                    descended = true;
                    break;
                }
                if (on_stack[next]) low[frame.vertex] = std::min(low[frame.vertex], order[next]);
            }
            if (descended) continue;
            const ConditionId vertex = frame.vertex;
            frames.pop_back();
            if (!frames.empty()) {
                const ConditionId parent = frames.back().vertex;
                low[parent] = std::min(low[parent], low[vertex]);
            }
            if (low[vertex] != order[vertex]) continue;
            members.clear();
            ConditionId member;
            do {
                member = stack.back();
                stack.pop_back();
                on_stack[member] = 0;
                component_[member] = vertex;
                members.push_back(member);
            } while (member != vertex);
            if (members.size() > 1) {
                for (ConditionId m : members) cyclic_[m] = 1;
            }
        }
    }
}

ConditionId RuleIndex::id_of(std::string_view text) {
    const ConditionId id = intern(text);
    complete_pending();
    return id;
}

std::vector<ConditionId> RuleIndex::ids_of(const StringList& texts) {
    std::vector<ConditionId> out;
    out.reserve(texts.size());
    for (const auto& text : texts) out.push_back(id_of(text));
    return out;
}

StringList RuleIndex::texts(const std::vector<ConditionId>& ids) const {
    StringList out;
    out.reserve(ids.size());
    for (ConditionId id : ids) out.push_back(*texts_[id]);
    return out;
}

// --- Flattener --------------------------------------------------------------------------------

Flattener::Flattener(const RuleIndex& index, const std::vector<ConditionId>& conditions,
                     SearchProgress* progress)
    : index_(index), progress_(progress) {
    Pass first{{}, 0};
    first.items.reserve(conditions.size());
    for (ConditionId c : conditions) first.items.push_back({c, kNone});
    passes_.push_back(std::move(first));
}

const Flattening* Flattener::next() {
    if (done_) return nullptr;
    if (started_ && !advance()) {
        done_ = true;
        return nullptr;
    }
    started_ = true;
    while (true) {
        if (progress_ && !progress_->step()) {
            interrupted_ = true;
            done_ = true;
            return nullptr;
        }
        const Pass& pass = passes_.back();
        const std::size_t position = choices_.size() - pass.first_choice;
        if (position < pass.items.size()) {
            const Item item = pass.items[position];
            choices_.push_back(
                {&index_.replacements(item.condition), 0, item.condition, item.ancestry});
            if (!choose(choices_.back())) {
                choices_.pop_back();
                if (!advance()) {
                    done_ = true;
                    return nullptr;
                }
            }
            continue;
        }
        if (close_pass()) continue;
        deliver();
        return &result_;
    }
}

// Settles the choice on its current alternative or the next one that does not lead back into a
// condition being expanded; false when none is left.
bool Flattener::choose(Choice& choice) {
    const auto& alternatives = *choice.alternatives;
    while (choice.alternative < alternatives.size()) {
        if (!leads_back(choice, alternatives[choice.alternative])) return true;
        reached_cycle_ = true;
        ++choice.alternative;
    }
    return false;
}

bool Flattener::leads_back(const Choice& choice, const Replacement& replacement) const {
    if (replacement.number == 0) return false;
    for (ConditionId next : replacement.conditions) {
        if (!index_.same_cycle(choice.condition, next)) continue;
        if (next == choice.condition) return true;
        // The conditions of one cycle form an unbroken end of the chain: once an ancestor lies
        // outside the cycle, none above it lies inside.
        for (std::uint32_t k = choice.ancestry; k != kNone; k = choices_[k].ancestry) {
            const ConditionId ancestor = choices_[k].condition;
            if (!index_.same_cycle(ancestor, next)) break;
            if (ancestor == next) return true;
        }
    }
    return false;
}

bool Flattener::advance() {
    while (true) {
        while (passes_.size() > 1 && passes_.back().first_choice == choices_.size()) {
            passes_.pop_back();
        }
        if (choices_.empty()) return false;
        Choice& choice = choices_.back();
        ++choice.alternative;
        if (choose(choice)) return true;
        choices_.pop_back();
    }
}

// Joins the lists chosen in the current pass, from the last condition's to the first's, and
// reduces them keeping last occurrences. True when a new pass has begun; false when the list is
// askable throughout and is the flattened list.
bool Flattener::close_pass() {
    const std::size_t first = passes_.back().first_choice;
    scratch_.clear();
    for (std::size_t i = choices_.size(); i-- > first;) {
        const Choice& choice = choices_[i];
        const Replacement& replacement = (*choice.alternatives)[choice.alternative];
        const std::uint32_t ancestry =
            replacement.number == 0 ? choice.ancestry : static_cast<std::uint32_t>(i);
        for (ConditionId c : replacement.conditions) scratch_.push_back({c, ancestry});
    }
    const std::uint32_t generation = index_.bump();
    auto& marks = index_.marks();
    std::vector<Item> reduced;
    reduced.reserve(scratch_.size());
    bool askable = true;
    for (std::size_t i = scratch_.size(); i-- > 0;) {
        const Item& item = scratch_[i];
        if (marks[item.condition] == generation) continue;
        marks[item.condition] = generation;
        reduced.push_back(item);
        if (!index_.askable(item.condition)) askable = false;
    }
    std::reverse(reduced.begin(), reduced.end());
    if (askable) {
        result_.conditions.clear();
        for (const Item& item : reduced) result_.conditions.push_back(item.condition);
        return false;
    }
    passes_.push_back({std::move(reduced), choices_.size()});
    return true;
}

// The rules used on the current choice path, each once, in order of first use, without 0.
void Flattener::deliver() {
    result_.numbers.clear();
    std::unordered_set<std::int32_t> seen;
    for (const Choice& choice : choices_) {
        const std::int32_t number = (*choice.alternatives)[choice.alternative].number;
        if (number != 0 && seen.insert(number).second) result_.numbers.push_back(number);
    }
}

// --- operations -------------------------------------------------------------------------------

bool splaszcz(RuleIndex& index, const StringList& conditions,
              const std::function<bool(const StringList&, const IntegerList&)>& visit,
              bool* reached_cycle) {
    Flattener flattener(index, index.ids_of(conditions));
    bool completed = true;
    while (const Flattening* f = flattener.next()) {
        if (!visit(index.texts(f->conditions), f->numbers)) {
            completed = false;
            break;
        }
    }
    if (reached_cycle) *reached_cycle = flattener.reached_cycle();
    return completed;
}

std::vector<std::pair<std::int32_t, StringList>> szukaj_regule(RuleIndex& index,
                                                               const std::string& condition) {
    std::vector<std::pair<std::int32_t, StringList>> out;
    for (const Replacement& r : index.replacements(index.id_of(condition))) {
        out.emplace_back(r.number, index.texts(r.conditions));
    }
    return out;
}

bool sprawdz_niedopytywalnosc(const AskableMemory& askable, const StringList& conditions) {
    return has_non_askable(askable, conditions);
}

}  // namespace xamo
