// The program without its window: the fact store, the working sections of the subsystems, the
// command table and the start-up and quit logic of the main window. Front ends drive it through
// run_command() and reflect its availability and title.
#pragma once

#include <memory>
#include <string>

#include "analysis/numbering.h"
#include "app/commands.h"
#include "askable/askable_memory.h"
#include "dialog/interaction.h"
#include "dialog/report.h"
#include "inference/memory.h"
#include "kb/facts.h"
#include "loading/loading.h"
#include "verify/diagnosis_flags.h"
#include "verify/rule_diagnosis.h"
#include "verify/rule_diagnosis_memory.h"

namespace xamo {

inline constexpr const char* kStartTitle =
    "xamo_RD - Regułowo-modelowy skorupowy system ekspertowy dla wnioskowania rozwiniętego "
    "dokladnego w przód i wstecz";
inline constexpr const char* kAboutLine =
    "Regułowo-modelowy skorupowy system ekspertowy dla wnioskowania rozwiniętego dokładnego w "
    "przód i wstecz";
inline constexpr const char* kQuitQuestion = "Czy na pewno chcesz zakończyć program ?";

class Application {
  public:
    explicit Application(UserInteraction& ui);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    UserInteraction& ui() { return ui_; }
    FactStore& store() { return store_; }
    CommandTable& commands() { return commands_; }
    InferenceMemory& inference() { return inference_; }
    AskableMemory& askable() { return askable_; }
    Report& report() { return report_; }
    NumberingMemory& numbering() { return numbering_; }
    DiagnosisFlags& flags() { return flags_; }
    LoadMemory& load_memory() { return load_; }
    RuleDiagnosisMemory& diagnoses() { return diagnoses_; }
    // Enables or disables commands of the table; handed to the diagnoses.
    CommandSwitch command_switch() {
        return [this](const std::vector<int>& ids, bool on) { commands_.set_enabled(ids, on); };
    }
    // The store and working sections that the load commands read and change.
    KnowledgeBase knowledge_base() {
        return {store_, ui_, askable_, numbering_, flags_, load_, diagnoses_, command_switch()};
    }
    // What one flattening or diagnosis command works with.
    RuleDiagnosisContext diagnosis_context() {
        return {store_, ui_, askable_, flags_, diagnoses_, command_switch()};
    }

    // Creates the main window state: start title, every command disabled.
    void start();
    bool introduction_open() const { return introduction_open_; }
    // Closing the introduction window enables the start-up commands.
    void close_introduction();
    // The close request of the main window; true when the user confirmed.
    bool request_close();

    // Runs one command through the table. A confirmed "Zakończ" inside a dialog ends the command
    // and marks the program as finished.
    CommandTable::RunResult run_command(int id);
    bool finished() const { return finished_; }

  private:
    void register_commands();

    UserInteraction& ui_;
    FactStore store_;
    InferenceMemory inference_;
    AskableMemory askable_;
    NumberingMemory numbering_;
    DiagnosisFlags flags_;
    LoadMemory load_;
    RuleDiagnosisMemory diagnoses_;
    Report report_;
    CommandTable commands_;
    bool introduction_open_ = true;
    bool finished_ = false;
};

}  // namespace xamo
