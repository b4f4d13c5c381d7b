#include "verify/flattening.h"

#include <algorithm>
#include <unordered_set>

#include "askable/askable.h"
#include "kb/conditions.h"
#include "verify/progress.h"

namespace xamo {

// --- RuleIndex --------------------------------------------------------------------------------

RuleIndex::RuleIndex(const FactStore& store, const AskableMemory& askable, SearchProgress* progress)
    : askable_memory_(askable), building_(progress) {
    // Every condition and its negation are interned: reserving for both spares the rehashes.
    std::size_t conditions = 0;
    for (const Fact& fact : store.all(Kind::regula))
        conditions += Rule(fact).conditions().size() + 1;
    ids_ = ViewTable(2 * conditions);
    rules_.reserve(store.all(Kind::regula).size());
    for (const Fact& fact : store.all(Kind::regula)) {
        if (stopped()) return;
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
    if (!interrupted_) find_cycles();
    building_ = nullptr;
    has_cycles_ = std::find(cyclic_.begin(), cyclic_.end(), 1) != cyclic_.end();
}

bool RuleIndex::stopped() {
    if (building_ && !building_->step()) interrupted_ = true;
    return interrupted_;
}

ConditionId RuleIndex::intern(std::string_view text) {
    // The table numbers texts in order of insertion, as the ids are; a new one is pointed at
    // its stored copy.
    const auto [id, inserted] = ids_.insert(text);
    if (!inserted) return id;
    const std::string& stored = storage_.emplace_back(text);
    ids_.retarget(id, stored);
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
        if (stopped()) return;
        const ConditionId id = pending_.back();
        pending_.pop_back();
        compute_replacements(id);
        const ConditionId negated = intern(negacja(*texts_[id]));
        negation_[id] = negated;
    }
}

void RuleIndex::compute_replacements(ConditionId id) {
    std::vector<Replacement> out;
    const std::string& text = *texts_[id];  // stored in a deque: stays where it is
    if (is_negated(text)) {
        if (const auto positive = ids_.find(std::string_view(text).substr(1));
            positive != ViewTable::npos) {
            for (std::uint32_t position : concluding_[positive]) {
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
    if (askable_[id]) out.push_back({0, {id}, true});
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
        if (stopped()) return;
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
                if (rep.own || frame.condition >= rep.conditions.size()) {
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
    Pass first{{}, 0, {}, 0};
    for (ConditionId c : conditions) {
        list_.append({c, kNone, !index_.askable(c)});
        const auto node = static_cast<std::uint32_t>(first_nodes_.size());
        first_nodes_.push_back(node);
        if (!index_.stands_for_itself(c)) first.open.push_back(node);
    }
    first.before = list_.mark();
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
        if (position < pass.open.size()) {
            const PassList::Entry item = list_.entry(pass.open[position]);
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
    if (replacement.own) return false;
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
            undo(passes_.back());
            passes_.pop_back();
        }
        if (choices_.empty()) return false;
        Choice& choice = choices_.back();
        ++choice.alternative;
        if (choose(choice)) return true;
        choices_.pop_back();
    }
}

// Reverses the list and puts each chosen list in place of its condition, which is the chosen
// lists joined from the last condition's to the first's, then reduces keeping last occurrences.
// True when a new pass has begun; false when the list is askable throughout and is the flattened
// list (the list is then taken back to this pass, ready for the next choice).
bool Flattener::close_pass() {
    const Pass& pass = passes_.back();
    const PassList::Mark before = list_.mark();
    const std::size_t held_before = held_log_.size();
    list_.reverse();
    made_.clear();
    // The rule's own list may repeat a condition: every condition is put again so that
    // reducing sees each occurrence. Later lists hold each condition once, and one that stands
    // for itself stays where it is.
    const bool first = passes_.size() == 1;
    std::size_t choice = pass.first_choice + pass.open.size();
    const auto& nodes = first ? first_nodes_ : pass.open;
    for (std::size_t i = nodes.size(); i-- > 0;) {
        const PassList::Entry item = list_.entry(nodes[i]);
        if (first && index_.stands_for_itself(item.condition)) {
            replace(nodes[i], index_.replacements(item.condition)[0], item.ancestry);
            continue;
        }
        const Choice& chosen = choices_[--choice];
        const Replacement& replacement = (*chosen.alternatives)[chosen.alternative];
        replace(nodes[i], replacement,
                replacement.own ? chosen.ancestry : static_cast<std::uint32_t>(choice));
    }
    reduce();
    if (list_.flagged() == 0) {
        result_.conditions.clear();
        result_.conditions.reserve(list_.size());
        list_.for_each(
            [this](const PassList::Entry& e) { result_.conditions.push_back(e.condition); });
        undo({{}, 0, before, held_before});
        return false;
    }
    Pass next{{}, choices_.size(), before, held_before};
    for (std::uint32_t node : made_) {
        if (list_.linked(node) && !index_.stands_for_itself(list_.entry(node).condition))
            next.open.push_back(node);
    }
    passes_.push_back(std::move(next));
    return true;
}

void Flattener::replace(std::uint32_t node, const Replacement& replacement,
                        std::uint32_t ancestry) {
    const ConditionId condition = list_.entry(node).condition;
    if (const auto it = holder_.find(condition); it != holder_.end() && it->second == node)
        hold(condition, kNone);
    entries_.clear();
    for (ConditionId c : replacement.conditions)
        entries_.push_back({c, ancestry, !index_.askable(c)});
    list_.replace(node, entries_, made_);
}

void Flattener::hold(ConditionId condition, std::uint32_t node) {
    auto& holder = holder_.try_emplace(condition, kNone).first->second;
    held_log_.push_back({condition, holder});
    holder = node;
}

// Of a condition put more than once, or put again where it already stands, only the last
// occurrence stays. `made_` is in list order.
void Flattener::reduce() {
    for (std::uint32_t node : made_) {
        const ConditionId condition = list_.entry(node).condition;
        const auto it = holder_.find(condition);
        const std::uint32_t other = it == holder_.end() ? kNone : it->second;
        if (other == kNone) {
            hold(condition, node);
        } else if (list_.before(other, node)) {
            list_.remove(other);
            hold(condition, node);
        } else {
            list_.remove(node);
        }
    }
}

void Flattener::undo(const Pass& pass) {
    list_.undo_to(pass.before);
    while (held_log_.size() > pass.held_before) {
        holder_[held_log_.back().condition] = held_log_.back().node;
        held_log_.pop_back();
    }
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
