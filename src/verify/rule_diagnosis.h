// What one command that flattens or diagnoses the rule base works with: the store, the user, the
// askable conditions, the verdicts and working facts, and the menu switch the diagnoses use to
// enable their report commands. A context lives for one command: the rule index and the
// flattenings of each rule are computed once in it and shared by the searches of that command
// (the load runs two of them), and the rules that reached a cycle are told to the user once.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "askable/askable_memory.h"
#include "kb/facts.h"
#include "verify/diagnosis_flags.h"
#include "verify/flattening.h"
#include "verify/progress.h"
#include "verify/rule_diagnosis_memory.h"

namespace xamo {

class UserInteraction;

// Enables or disables menu commands; the application connects it to its command table.
using CommandSwitch = std::function<void(const std::vector<int>& ids, bool enabled)>;

// The type tags of the rule-base diagnoses.
inline constexpr const char* kTagContradiction = "SRD1";
inline constexpr const char* kTagRedundancy = "NED1";

class RuleDiagnosisContext {
  public:
    RuleDiagnosisContext(FactStore& store, UserInteraction& ui, const AskableMemory& askable,
                         DiagnosisFlags& flags, RuleDiagnosisMemory& memory,
                         CommandSwitch set_enabled = {});
    ~RuleDiagnosisContext();
    RuleDiagnosisContext(const RuleDiagnosisContext&) = delete;
    RuleDiagnosisContext& operator=(const RuleDiagnosisContext&) = delete;

    FactStore& store;
    UserInteraction& ui;
    const AskableMemory& askable;
    DiagnosisFlags& flags;
    RuleDiagnosisMemory& memory;
    // How long a search runs before it shows its progress.
    std::chrono::milliseconds progress_delay = kProgressDelay;

    void set_enabled(const std::vector<int>& ids, bool enabled) const;
    // The loaded rule base's file name ("" when none).
    std::string base_name() const;

    // Built on first use from the rules and askable conditions as they are now.
    RuleIndex& index();
    // Builds the index as part of a search, stepping its progress; false (and no index kept)
    // when the user interrupted.
    bool build_index(SearchProgress& progress);
    // Every flattening of the rule at `position` of the index, computed once per context; nothing
    // when the search was interrupted.
    const std::vector<Flattening>* flattenings(std::size_t position, SearchProgress* progress);
    // Visits the flattenings of the rule at `position` in order while `visit` returns true. They
    // are kept for the command when another rule shares the conclusion and `keep_shared` holds
    // (the redundancy searches compare those); otherwise they are made one at a time. False when
    // the search was interrupted or `visit` stopped it.
    bool each_flattening(std::size_t position, SearchProgress* progress,
                         const std::function<bool(const Flattening&)>& visit,
                         bool keep_shared = true);

    // A rule whose flattening dropped choices at a cycle of rules.
    void reached_cycle(std::int32_t rule);
    // Tells the user, in one note, the rules not yet told of.
    void tell_cycles();

  private:
    CommandSwitch set_enabled_;
    std::unique_ptr<RuleIndex> index_;
    std::vector<std::optional<std::vector<Flattening>>> flattenings_;
    IntegerList cycle_rules_;
    std::size_t told_ = 0;
};

// The sentence an interrupted diagnosis leaves: "Baza reguł X nie została w pełni sprawdzona.",
// or of two bases, "Baza reguł X i baza ograniczeń Y nie zostały w pełni sprawdzone."
std::string not_fully_checked(const std::string& kind, const std::string& name,
                              const std::string& other_kind = {},
                              const std::string& other_name = {});

// The note about rules that reached a cycle (also used by the flattening commands).
void tell_incomplete_flattening(UserInteraction& ui, const IntegerList& rules);

}  // namespace xamo
