#include "inference/memory.h"

#include <algorithm>
#include <cassert>
#include <functional>

#include "kb/conditions.h"
#include "kb/numbers.h"

namespace xamo {
namespace {

std::uint64_t mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

std::uint64_t fact_hash(std::int32_t number, std::string_view condition) {
    return mix(ViewTable::hash_of(condition) ^ mix(static_cast<std::uint32_t>(number)));
}

}  // namespace

WorkingMemory::const_iterator::const_iterator(const WorkingMemory* memory, std::size_t at)
    : memory_(memory), at_(at) {}

WorkingMemory::Fact WorkingMemory::const_iterator::operator*() const {
    const Stored& fact = memory_->facts_[at_];
    return {fact.number, memory_->text_of(memory_->conditions_[fact.condition])};
}

WorkingMemory::const_iterator& WorkingMemory::const_iterator::operator++() {
    at_ = memory_->skip_gaps(at_ + 1);
    return *this;
}

std::uint32_t WorkingMemory::place_of(std::string_view condition) const {
    // Most bases hold few negations: a negated text cannot be there while no record is negated.
    if (negated_records_ == 0 && is_negated(condition)) return kNone;
    if (names_ != nullptr) {
        if (const std::uint32_t name = names_->find(condition); name != RuleNames::npos)
            return record_of_name_[name];
    }
    const std::uint32_t indexed = index_.find(condition);
    return indexed == ViewTable::npos ? kNone : place_of_indexed_[indexed];
}

const WorkingMemory::Condition* WorkingMemory::find(std::string_view condition) const {
    const std::uint32_t at = place_of(condition);
    return at == kNone ? nullptr : &conditions_[at];
}

std::uint32_t WorkingMemory::new_record(std::string_view condition, std::uint32_t name) {
    if (is_negated(condition)) ++negated_records_;
    std::uint32_t own = kNone;
    if (name == kNoName) {
        own = static_cast<std::uint32_t>(own_texts_.size());
        own_texts_.emplace_back(condition);
    }
    conditions_.push_back({name, own});
    return static_cast<std::uint32_t>(conditions_.size() - 1);
}

std::uint32_t WorkingMemory::intern(std::string_view condition, std::uint32_t name) {
    if (names_ != nullptr) {
        assert(name == kNoName || names_->text(name) == condition);
        if (name == kNoName) name = names_->find(condition);
        if (name != RuleNames::npos) {
            std::uint32_t& record = record_of_name_[name];
            if (record == kNone) record = new_record(condition, name);
            return record;
        }
    }
    const auto [indexed, added] = index_.insert(condition);
    if (!added) return place_of_indexed_[indexed];
    const std::uint32_t at = new_record(condition, kNoName);
    place_of_indexed_.push_back(at);
    // The index must look at the kept text, not at the caller's.
    index_.retarget(indexed, own_texts_.back().view());
    return at;
}

std::size_t WorkingMemory::add_at(std::int32_t number, std::uint32_t place) {
    Condition& record = conditions_[place];
    const auto position = static_cast<std::uint32_t>(facts_.size());
    facts_.push_back({number, place, kNone});
    (record.last == kNone ? record.first : facts_[record.last].next) = position;
    record.last = position;
    ++record.count;
    ++size_;
    signature_ += fact_hash(number, text_of(record));
    tell(number, record, 1);
    return record.count;
}

WorkingMemory& WorkingMemory::operator=(const WorkingMemory& other) {
    if (this == &other) return *this;
    clear();
    facts_ = other.facts_;
    conditions_ = other.conditions_;
    own_texts_ = other.own_texts_;  // the same texts: the copied index's views hold
    index_ = other.index_;
    place_of_indexed_ = other.place_of_indexed_;
    names_ = other.names_;
    record_of_name_ = other.record_of_name_;
    negated_records_ = other.negated_records_;
    size_ = other.size_;
    signature_ = other.signature_;
    tell_each(observer_, *this, 1);
    return *this;
}

void WorkingMemory::reserve(std::size_t count, std::shared_ptr<const RuleNames> names) {
    if (!facts_.empty() || !conditions_.empty()) return;
    facts_.reserve(count);
    if (names == nullptr) {
        index_ = ViewTable(count);
        return;
    }
    record_of_name_.assign(names->size(), kNone);
    names_ = std::move(names);
}

bool WorkingMemory::negation_established(std::string_view condition) const {
    if (negated_records_ == 0 && !is_negated(condition)) return false;
    return established(negacja(condition));
}

std::size_t WorkingMemory::count(std::string_view condition) const {
    const Condition* found = find(condition);
    return found == nullptr ? 0 : found->count;
}

bool WorkingMemory::has(std::int32_t number, std::string_view condition) const {
    const std::uint32_t at = place_of(condition);
    return at != kNone && has_at(number, at);
}

bool WorkingMemory::has_at(std::int32_t number, std::uint32_t place) const {
    for (std::uint32_t p = conditions_[place].first; p != kNone; p = facts_[p].next) {
        if (facts_[p].number == number) return true;
    }
    return false;
}

bool WorkingMemory::remove(std::int32_t number, const std::string& condition) {
    const std::uint32_t at = place_of(condition);
    if (at == kNone) return false;
    Condition& record = conditions_[at];
    std::uint32_t before = kNone;
    std::uint32_t p = record.first;
    while (p != kNone && facts_[p].number != number) {
        before = p;
        p = facts_[p].next;
    }
    if (p == kNone) return false;
    (before == kNone ? record.first : facts_[before].next) = facts_[p].next;
    if (record.last == p) record.last = before;
    --record.count;
    facts_[p].condition = kGap;
    --size_;
    ++removals_;
    signature_ -= fact_hash(number, condition);
    tell(number, record, -1);
    return true;
}

void WorkingMemory::remove_all(const std::string& condition) {
    const std::uint32_t at = place_of(condition);
    if (at == kNone) return;
    Condition& record = conditions_[at];
    std::vector<std::int32_t> numbers;
    for (std::uint32_t p = record.first; p != kNone; p = facts_[p].next) {
        numbers.push_back(facts_[p].number);
        facts_[p].condition = kGap;
        signature_ -= fact_hash(facts_[p].number, condition);
    }
    size_ -= numbers.size();
    if (!numbers.empty()) ++removals_;
    record.first = record.last = kNone;
    record.count = 0;
    for (const std::int32_t number : numbers) tell(number, record, -1);
}

void WorkingMemory::clear() {
    tell_each(observer_, *this, -1);
    if (size_ > 0) ++removals_;
    std::vector<Stored>().swap(facts_);
    conditions_.clear();
    own_texts_.clear();
    index_.clear();
    place_of_indexed_.clear();
    names_.reset();
    std::vector<std::uint32_t>().swap(record_of_name_);
    negated_records_ = 0;
    size_ = 0;
    signature_ = 0;
}

void WorkingMemory::tell_each(MemoryObserver* observer, const WorkingMemory& memory, int delta) {
    if (observer == nullptr) return;
    memory.for_each_named([&](std::int32_t number, std::string_view text, std::uint32_t name) {
        observer->fact_changed(number, text, name, delta);
    });
}

void WorkingMemory::hand_over(WorkingMemory& target) {
    if (this == &target) return;
    target.clear();
    MemoryObserver* const observer = observer_;
    MemoryObserver* const target_observer = target.observer_;
    const std::uint64_t target_removals = target.removals_;
    const std::uint64_t removals = removals_ + (size_ > 0 ? 1 : 0);
    observer_ = nullptr;
    // The own texts are names, whose texts a move leaves in place: the moved index still sees them.
    target = std::move(*this);
    target.observer_ = target_observer;
    target.removals_ = target_removals;
    tell_each(target_observer, target, 1);
    *this = WorkingMemory();
    observer_ = observer;
    removals_ = removals;
    tell_each(observer_, target, -1);
}

void AppliedRules::insert(std::int32_t number) {
    if (!numbers_.insert(number).second) return;
    signature_ += mix(static_cast<std::uint32_t>(number));
    if (observer_ != nullptr) observer_->rule_mark_changed(number);
}

void AppliedRules::erase(std::int32_t number) {
    if (numbers_.erase(number) == 0) return;
    ++removals_;
    signature_ -= mix(static_cast<std::uint32_t>(number));
    if (observer_ != nullptr) observer_->rule_mark_changed(number);
}

void AppliedRules::clear() {
    if (!numbers_.empty()) ++removals_;
    numbers_.clear();
    signature_ = 0;
}

bool FixedValues::is_literal(const std::string& name) { return read_constant(name).has_value(); }

void FixedValues::set(const std::string& name, double value) {
    entries_.emplace_back(name, value);
    index_.emplace(name, value);
    if (observer_ != nullptr) observer_->value_changed(name);
}

std::optional<double> FixedValues::get(const std::string& name) const {
    const auto it = index_.find(name);
    if (it == index_.end()) return std::nullopt;
    return it->second;
}

void FixedValues::remove(const std::string& name) {
    if (index_.erase(name) == 0) return;
    ++removals_;
    std::erase_if(entries_, [&name](const Entry& entry) { return entry.first == name; });
    if (observer_ != nullptr) observer_->value_changed(name);
}

void FixedValues::clear() {
    if (!entries_.empty()) ++removals_;
    entries_.clear();
    index_.clear();
}

bool AppliedModels::insert(std::int32_t number) {
    if (!index_.insert(number).second) return false;
    order_.push_back(number);
    if (observer_ != nullptr) observer_->model_mark_changed(number);
    return true;
}

void AppliedModels::clear() {
    order_.clear();
    index_.clear();
}

BackwardWorkingMemory::BackwardWorkingMemory(std::initializer_list<std::string> conditions) {
    for (const auto& c : conditions) add(c);
}

void BackwardWorkingMemory::add(const std::string& condition) {
    entries_.push_back(condition);
    ++count_[condition];
}

void BackwardWorkingMemory::remove_all(const std::string& condition) {
    if (count_.erase(condition) == 0) return;
    std::erase(entries_, condition);
}

void BackwardWorkingMemory::clear() {
    entries_.clear();
    count_.clear();
}

void InferenceMemory::clear_run() {
    rbd.clear();
    rbd_wstecz.clear();
    zmienna_ustalona.clear();
    regula_zastosowana.clear();
    model_stosowany.clear();
    model_bledny.clear();
    zanegowany_warunek_z_bazy_ograniczen.clear();
    choices.clear();
    answers.clear();
    lista_warunkow_ograniczenia_z_warunkami_faktami.clear();
    lista_warunkow_uwzglednionych_ograniczen.clear();
    hipoteza.reset();
    final_rbd = std::make_shared<const WorkingMemory>();
    ++runs_started;
}

void InferenceMemory::observe(MemoryObserver* observer) {
    rbd.observe(observer);
    regula_zastosowana.observe(observer);
    model_stosowany.observe(observer);
    model_bledny.observe(observer);
    zmienna_ustalona.observe(observer);
}

bool InferenceMemory::in_rbd_wstecz(const std::string& condition) const {
    return rbd_wstecz.established(condition);
}

}  // namespace xamo
