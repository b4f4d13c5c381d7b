#include "inference/memory.h"

#include <algorithm>
#include <functional>

namespace xamo {
namespace {

std::uint64_t mix(std::uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

std::uint64_t fact_hash(std::int32_t number, const std::string& condition) {
    return mix(std::hash<std::string>{}(condition) ^ mix(static_cast<std::uint32_t>(number)));
}

}  // namespace

const WorkingMemory::Condition* WorkingMemory::find(const std::string& condition) const {
    const std::uint32_t at = index_.find(condition);
    return at == ViewTable::npos ? nullptr : &conditions_[at];
}

std::size_t WorkingMemory::add(std::int32_t number, const std::string& condition) {
    entries_.emplace_back(number, condition);
    auto [at, added] = index_.insert(condition);
    if (added) {
        conditions_.push_back({condition, {}});
        // The index must look at the kept text, not at the caller's.
        index_.retarget(at, conditions_.back().text);
    }
    auto& facts = conditions_[at].facts;
    facts.push_back(std::prev(entries_.end()));
    const std::size_t count = facts.size();
    signature_ += fact_hash(number, condition);
    tell(number, condition, 1);
    return count;
}

std::size_t WorkingMemory::count(const std::string& condition) const {
    const Condition* found = find(condition);
    return found == nullptr ? 0 : found->facts.size();
}

bool WorkingMemory::has(std::int32_t number, const std::string& condition) const {
    const Condition* found = find(condition);
    if (found == nullptr) return false;
    return std::any_of(found->facts.begin(), found->facts.end(),
                       [number](const auto& entry) { return entry->first == number; });
}

bool WorkingMemory::remove(std::int32_t number, const std::string& condition) {
    const std::uint32_t at = index_.find(condition);
    if (at == ViewTable::npos) return false;
    auto& facts = conditions_[at].facts;
    // Each condition keeps its facts in the order they were added.
    const auto found = std::find_if(facts.begin(), facts.end(),
                                    [number](const auto& entry) { return entry->first == number; });
    if (found == facts.end()) return false;
    signature_ -= fact_hash(number, condition);
    entries_.erase(*found);
    facts.erase(found);
    tell(number, condition, -1);
    return true;
}

void WorkingMemory::remove_all(const std::string& condition) {
    const std::uint32_t at = index_.find(condition);
    if (at == ViewTable::npos) return;
    auto& facts = conditions_[at].facts;
    std::vector<std::int32_t> numbers;
    for (const auto& entry : facts) {
        signature_ -= fact_hash(entry->first, entry->second);
        numbers.push_back(entry->first);
        entries_.erase(entry);
    }
    facts.clear();
    for (std::int32_t number : numbers) tell(number, condition, -1);
}

void WorkingMemory::clear() {
    if (observer_ != nullptr) {
        for (const auto& [number, condition] : entries_) tell(number, condition, -1);
    }
    entries_.clear();
    conditions_.clear();
    index_.clear();
    signature_ = 0;
}

void AppliedRules::insert(std::int32_t number) {
    if (!numbers_.insert(number).second) return;
    signature_ += mix(static_cast<std::uint32_t>(number));
    if (observer_ != nullptr) observer_->rule_mark_changed(number);
}

void AppliedRules::erase(std::int32_t number) {
    if (numbers_.erase(number) == 0) return;
    signature_ -= mix(static_cast<std::uint32_t>(number));
    if (observer_ != nullptr) observer_->rule_mark_changed(number);
}

void AppliedRules::clear() {
    numbers_.clear();
    signature_ = 0;
}

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
    std::erase_if(entries_, [&name](const Entry& entry) { return entry.first == name; });
    if (observer_ != nullptr) observer_->value_changed(name);
}

void FixedValues::clear() {
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
    lista_warunkow_ograniczenia_z_warunkami_faktami.clear();
    lista_warunkow_uwzglednionych_ograniczen.clear();
    hipoteza.reset();
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
