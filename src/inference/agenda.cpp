#include "inference/agenda.h"

#include <algorithm>
#include <bit>

#include "inference/models.h"
#include "kb/conditions.h"
#include "kb/model_symbols.h"

namespace xamo {

// --- IndexSet ------------------------------------------------------------------------------------

IndexSet::IndexSet(std::size_t size) : size_(size) {
    std::size_t bits = size;
    do {
        const std::size_t words = (bits + 63) / 64;
        levels_.emplace_back(std::max<std::size_t>(words, 1), 0);
        bits = words;
    } while (bits > 1);
}

void IndexSet::insert(std::size_t i) {
    for (auto& level : levels_) {
        std::uint64_t& word = level[i >> 6];
        const bool was_empty = word == 0;
        word |= std::uint64_t{1} << (i & 63);
        if (!was_empty) return;
        i >>= 6;
    }
}

void IndexSet::erase(std::size_t i) {
    for (auto& level : levels_) {
        std::uint64_t& word = level[i >> 6];
        word &= ~(std::uint64_t{1} << (i & 63));
        if (word != 0) return;
        i >>= 6;
    }
}

bool IndexSet::contains(std::size_t i) const {
    return i < size_ && (levels_[0][i >> 6] >> (i & 63) & 1) != 0;
}

std::size_t IndexSet::first_from(std::size_t from) const {
    if (from >= size_) return npos;
    // Up: the first level with a set bit at or after the position in its word.
    std::size_t level = 0;
    std::size_t i = from;
    while (true) {
        const auto& words = levels_[level];
        const std::size_t w = i >> 6;
        if (w < words.size()) {
            const std::uint64_t bits = words[w] & (~std::uint64_t{0} << (i & 63));
            if (bits != 0) {
                i = (w << 6) + static_cast<std::size_t>(std::countr_zero(bits));
                break;
            }
        }
        if (++level == levels_.size()) return npos;
        i = w + 1;
    }
    // Down: the lowest set bit of each word below.
    while (level > 0) {
        --level;
        i = (i << 6) + static_cast<std::size_t>(std::countr_zero(levels_[level][i]));
    }
    return i;
}

// --- ForwardAgenda -------------------------------------------------------------------------------

namespace {

// The phase of the scan a model belongs to, or kPhases for a model the scan always passes over
// silently (a rule-condition count, an extended relation without three members).
std::size_t phase_of(const Fact& model) {
    using Phase = ForwardAgenda::Phase;
    const bool relational = is_relational(model);
    switch (model.kind) {
        case Kind::model:
            if (relational) return Phase::BasicRelation;
            if (Model(model).symbol() == kRuleConditionCount) return Phase::kPhases;
            return Phase::BasicArithmetic;
        case Kind::model_r:
            if (!relational) return Phase::ExtendedArithmetic;
            if (ModelR(model).variables().size() != 3) return Phase::kPhases;
            return Phase::ExtendedRelation;
        case Kind::model_liniowy:
            return Phase::Linear;
        case Kind::model_wielomianowy:
            return Phase::Polynomial;
        default:
            return Phase::kPhases;
    }
}

bool relational_phase(std::size_t phase) {
    return phase == ForwardAgenda::BasicRelation || phase == ForwardAgenda::ExtendedRelation;
}

}  // namespace

ForwardAgenda::ForwardAgenda(InferenceContext& ctx) : ctx_(ctx), index_(ctx.rule_index()) {
    const std::size_t ids = index_.conditions();
    count_.assign(ids, 0);
    negation_count_.assign(ids, 0);
    askable_.assign(ids, kAskableUnknown);

    const std::size_t rules = index_.rules();
    rule_numbers_.resize(rules);
    true_prefix_.assign(rules, 0);
    rules_by_number_.reserve(rules);
    for (std::uint32_t i = 0; i < rules; ++i) {
        rule_numbers_[i] = Rule(index_.rule(i)).number();
        rules_by_number_.emplace_back(rule_numbers_[i], i);
    }
    std::sort(rules_by_number_.begin(), rules_by_number_.end());

    for (Kind kind : {Kind::model, Kind::model_r, Kind::model_liniowy, Kind::model_wielomianowy}) {
        for (const Fact& model : ctx_.store.all(kind)) {
            const std::size_t phase = phase_of(model);
            if (phase == kPhases) continue;
            PhaseItems& items = phases_[phase];
            const ModelRef ref{static_cast<std::uint32_t>(phase),
                               static_cast<std::uint32_t>(items.models.size())};
            items.models.push_back(&model);
            const Name& w = AnyModel(model).condition();
            models_by_condition_[w.str()].push_back(ref);
            const std::string negation = negacja(w);
            if (negation != w) models_by_condition_[negation].push_back(ref);
            if (relational_phase(phase)) {
                if (AnyModel(model).result() != w && AnyModel(model).result() != negation)
                    models_by_condition_[AnyModel(model).result().str()].push_back(ref);
            } else {
                models_by_result_[AnyModel(model).result().str()].push_back(ref);
            }
            models_by_number_[AnyModel(model).number()].push_back(ref);
        }
    }

    same_names_ = ctx_.memory.rbd.names() == &index_.names();
    ctx_.memory.rbd.for_each_named(
        [this](std::int32_t, std::string_view condition, std::uint32_t name) {
            count_fact(condition, name, 1, false);
        });
    eligible_rules_ = IndexSet(rules);
    rule_dirty_.assign(rules, 0);
    for (std::uint32_t i = 0; i < rules; ++i) {
        if (compute_rule(i)) eligible_rules_.insert(i);
    }
    for (std::size_t phase = 0; phase < kPhases; ++phase) {
        PhaseItems& items = phases_[phase];
        items.eligible = IndexSet(items.models.size());
        items.dirty.assign(items.models.size(), 0);
        for (std::size_t i = 0; i < items.models.size(); ++i) {
            if (compute_model(static_cast<std::uint32_t>(phase), *items.models[i]))
                items.eligible.insert(i);
        }
    }
    ctx_.memory.observe(this);
}

ForwardAgenda::~ForwardAgenda() { ctx_.memory.observe(nullptr); }

const Fact* ForwardAgenda::next_rule(std::size_t& from) {
    settle();
    const std::size_t i = eligible_rules_.first_from(from);
    if (i == IndexSet::npos) return nullptr;
    from = i;
    return &index_.rule(i);
}

const Fact* ForwardAgenda::next_model(Phase phase, std::size_t& from) {
    settle();
    const std::size_t i = phases_[phase].eligible.first_from(from);
    if (i == IndexSet::npos) return nullptr;
    from = i;
    return phases_[phase].models[i];
}

bool ForwardAgenda::rule_eligible(std::size_t i) {
    settle();
    return eligible_rules_.contains(i);
}

// A rule is passed over silently when it is applied or numbered 0, or when the first of its
// conditions that is not true is unknown and cannot be asked. Otherwise the scan tests it: a
// false condition gives the negated conclusion, an askable one a question.
bool ForwardAgenda::compute_rule(std::uint32_t i) {
    const std::int32_t number = rule_numbers_[i];
    if (number == 0 || ctx_.memory.regula_zastosowana.count(number) > 0) return false;
    const auto [first, last] = index_.conditions_of(i);
    auto id = first + true_prefix_[i];
    while (id != last && count_[*id] > 0) ++id;
    true_prefix_[i] = static_cast<std::uint32_t>(id - first);
    if (id == last || negation_count_[*id] > 0) return true;
    return askable(*id);
}

bool ForwardAgenda::askable(std::uint32_t id) {
    auto& known = askable_[id];
    if (known == kAskableUnknown) known = ctx_.is_askable(index_.text(id)) ? 1 : 0;
    return known != 0;
}

// How the application-condition test (sprawdz) of forward inference would answer, and a model
// passed over silently: a condition that holds without a question for a model applied, failed or
// already giving its result, or a condition that does not hold without a question.
bool ForwardAgenda::compute_model(std::uint32_t phase, const Fact& model) const {
    const InferenceMemory& memory = ctx_.memory;
    // Backward mode verifies application conditions as hypotheses: never passed over here.
    if (memory.backward_mode()) return true;
    const Name& w = AnyModel(model).condition();
    const bool holds =
        w == kNoCondition || memory.rbd.established(w) || memory.in_rbd_wstecz(w.str());
    if (!holds) {
        const std::string negation = negacja(w);
        if (memory.rbd.established(negation)) return false;
        return ctx_.in_askable_conditions_and_arguments(w.str()) ||
               ctx_.in_askable_conditions_and_arguments(negation);
    }
    const std::int32_t n = AnyModel(model).number();
    const bool done = memory.model_stosowany.count(n) > 0 || memory.model_bledny.count(n) > 0;
    if (done) return false;
    if (relational_phase(phase)) return !memory.rbd.has(n, AnyModel(model).result());
    return !memory.zmienna_ustalona.has(AnyModel(model).result().str());
}

void ForwardAgenda::add_to_count(std::uint32_t id, bool negation, int delta, bool mark) {
    auto& count = negation ? negation_count_[id] : count_[id];
    const bool before = count > 0;
    count += delta;
    if (!mark || before == (count > 0)) return;
    // A condition no longer true may stand anywhere in the true prefix of a rule.
    const bool untrue = !negation && before;
    for (auto r = index_.rules_with(id).first; r != index_.rules_with(id).second; ++r) {
        if (untrue) true_prefix_[*r] = 0;
        mark_rule(*r);
    }
}

// Counts an rbd fact for its condition and for the conditions whose negation it is: "n" + x
// always, and x without its "n" when that does not begin with "n" itself.
void ForwardAgenda::count_fact(std::string_view condition, std::uint32_t name, int delta,
                               bool mark) {
    const std::uint32_t id =
        same_names_ && name != WorkingMemory::kNoName ? name : index_.id(condition);
    if (id != RuleConditionIndex::kNone) add_to_count(id, false, delta, mark);
    // "n" + x is a condition only where some condition is negated.
    if (index_.any_negated()) {
        std::string negated = "n";
        negated += condition;
        if (const std::uint32_t n = index_.id(negated); n != RuleConditionIndex::kNone)
            add_to_count(n, true, delta, mark);
    }
    if (is_negated(condition)) {
        const std::string_view rest = condition.substr(1);
        if (!is_negated(rest)) {
            if (const std::uint32_t r = index_.id(rest); r != RuleConditionIndex::kNone)
                add_to_count(r, true, delta, mark);
        }
    }
}

void ForwardAgenda::mark_rule(std::uint32_t i) {
    if (rule_dirty_[i] != 0) return;
    rule_dirty_[i] = 1;
    dirty_rules_.push_back(i);
}

void ForwardAgenda::mark_model(ModelRef ref) {
    auto& dirty = phases_[ref.phase].dirty[ref.index];
    if (dirty != 0) return;
    dirty = 1;
    dirty_models_.push_back(ref);
}

void ForwardAgenda::mark_models(const std::unordered_map<std::string, std::vector<ModelRef>>& index,
                                std::string_view key) {
    if (index.empty()) return;  // a base without models makes no text here
    const auto it = index.find(std::string(key));
    if (it == index.end()) return;
    for (const ModelRef ref : it->second) mark_model(ref);
}

void ForwardAgenda::fact_changed(std::int32_t, std::string_view condition, std::uint32_t name,
                                 int delta) {
    count_fact(condition, name, delta, true);
    mark_models(models_by_condition_, condition);
}

void ForwardAgenda::rule_mark_changed(std::int32_t number) {
    const auto range = std::equal_range(
        rules_by_number_.begin(), rules_by_number_.end(), std::make_pair(number, std::uint32_t{0}),
        [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto it = range.first; it != range.second; ++it) mark_rule(it->second);
}

void ForwardAgenda::model_mark_changed(std::int32_t number) {
    const auto it = models_by_number_.find(number);
    if (it == models_by_number_.end()) return;
    for (const ModelRef ref : it->second) mark_model(ref);
}

void ForwardAgenda::value_changed(const std::string& name) { mark_models(models_by_result_, name); }

void ForwardAgenda::settle() {
    for (const std::uint32_t i : dirty_rules_) {
        rule_dirty_[i] = 0;
        if (compute_rule(i)) {
            eligible_rules_.insert(i);
        } else {
            eligible_rules_.erase(i);
        }
    }
    dirty_rules_.clear();
    for (const ModelRef ref : dirty_models_) {
        PhaseItems& items = phases_[ref.phase];
        items.dirty[ref.index] = 0;
        if (compute_model(ref.phase, *items.models[ref.index])) {
            items.eligible.insert(ref.index);
        } else {
            items.eligible.erase(ref.index);
        }
    }
    dirty_models_.clear();
}

}  // namespace xamo
