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

void WorkingMemory::add(std::int32_t number, const std::string& condition) {
    entries_.emplace_back(number, condition);
    index_[condition].push_back(std::prev(entries_.end()));
    signature_ += fact_hash(number, condition);
}

std::size_t WorkingMemory::count(const std::string& condition) const {
    const auto it = index_.find(condition);
    return it == index_.end() ? 0 : it->second.size();
}

bool WorkingMemory::has(std::int32_t number, const std::string& condition) const {
    const auto it = index_.find(condition);
    if (it == index_.end()) return false;
    return std::any_of(it->second.begin(), it->second.end(),
                       [number](const auto& entry) { return entry->first == number; });
}

bool WorkingMemory::remove(std::int32_t number, const std::string& condition) {
    const auto it = index_.find(condition);
    if (it == index_.end()) return false;
    auto& entries = it->second;
    // The index keeps each condition's facts in the order they were added.
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [number](const auto& entry) { return entry->first == number; });
    if (found == entries.end()) return false;
    signature_ -= fact_hash(number, condition);
    entries_.erase(*found);
    entries.erase(found);
    if (entries.empty()) index_.erase(it);
    return true;
}

void WorkingMemory::remove_all(const std::string& condition) {
    const auto it = index_.find(condition);
    if (it == index_.end()) return;
    for (const auto& entry : it->second) {
        signature_ -= fact_hash(entry->first, entry->second);
        entries_.erase(entry);
    }
    index_.erase(it);
}

void WorkingMemory::clear() {
    entries_.clear();
    index_.clear();
    signature_ = 0;
}

void AppliedRules::insert(std::int32_t number) {
    if (numbers_.insert(number).second) signature_ += mix(static_cast<std::uint32_t>(number));
}

void AppliedRules::erase(std::int32_t number) {
    if (numbers_.erase(number) > 0) signature_ -= mix(static_cast<std::uint32_t>(number));
}

void AppliedRules::clear() {
    numbers_.clear();
    signature_ = 0;
}

void FixedValues::set(const std::string& name, double value) {
    entries_.emplace_back(name, value);
    index_.emplace(name, value);
}

std::optional<double> FixedValues::get(const std::string& name) const {
    const auto it = index_.find(name);
    if (it == index_.end()) return std::nullopt;
    return it->second;
}

void FixedValues::remove(const std::string& name) {
    if (index_.erase(name) == 0) return;
    std::erase_if(entries_, [&name](const Entry& entry) { return entry.first == name; });
}

void FixedValues::clear() {
    entries_.clear();
    index_.clear();
}

bool AppliedModels::insert(std::int32_t number) {
    if (!index_.insert(number).second) return false;
    order_.push_back(number);
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
    final_rbd.clear();
    ++runs_started;
}

bool InferenceMemory::in_rbd_wstecz(const std::string& condition) const {
    return rbd_wstecz.established(condition);
}

}  // namespace xamo
