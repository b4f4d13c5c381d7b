// The program without its window: the fact store, the working sections of the subsystems, the
// command table and the start-up and quit logic of the main window. Front ends drive it through
// run_command() and reflect its availability and title.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analysis/exclusive_conclusions.h"
#include "analysis/numbering.h"
#include "app/commands.h"
#include "app/recent_bases.h"
#include "askable/askable_memory.h"
#include "askable/data_source.h"
#include "dialog/interaction.h"
#include "dialog/recording_interaction.h"
#include "dialog/report.h"
#include "inference/memory.h"
#include "inference/why_not.h"
#include "kb/facts.h"
#include "loading/loading.h"
#include "media/media_memory.h"
#include "verify/diagnosis_flags.h"
#include "verify/joint_diagnosis_memory.h"
#include "verify/rule_diagnosis.h"
#include "verify/rule_diagnosis_memory.h"

namespace xamo {

inline constexpr const char* kStartTitle =
    "xamo_RD - Regułowo-modelowy skorupowy system ekspertowy dla wnioskowania rozwiniętego "
    "dokladnego w przód i wstecz";
inline constexpr const char* kAboutLine =
    "Regułowo-modelowy skorupowy system ekspertowy dla wnioskowania rozwiniętego dokładnego w "
    "przód i wstecz";
// The note of a command that ran out of memory (the checker recognises it).
inline constexpr const char* kOutOfMemoryNote =
    "Zabrakło pamięci operacyjnej: polecenie zostało przerwane.";
inline constexpr const char* kQuitQuestion = "Czy na pewno chcesz zakończyć program ?";

// Where a case table comes from: a CSV file, or a table of an open data-source connection.
struct CaseTableOrigin {
    std::string path;                      // the CSV file, when there is no connection
    DataConnection* connection = nullptr;  // else the source, open
    std::string source;                    // the source as shown to the user
    std::string table;                     // the table as the driver names it
};

class Application {
  public:
    explicit Application(UserInteraction& ui);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    UserInteraction& ui() { return ui_; }
    // Where the program started: a stored consultation replays from there, as the loads change
    // the current directory on the way.
    const std::string& start_directory() const { return start_directory_; }
    // Commands and answers of the session so far, as console lines.
    const std::vector<std::string>& consultation_lines() const { return recorder_.lines(); }
    RecordingInteraction& recorder() { return recorder_; }
    FactStore& store() { return store_; }
    CommandTable& commands() { return commands_; }
    InferenceMemory& inference() { return inference_; }
    AskableMemory& askable() { return askable_; }
    Report& report() { return report_; }
    NumberingMemory& numbering() { return numbering_; }
    DiagnosisFlags& flags() { return flags_; }
    LoadMemory& load_memory() { return load_; }
    MediaMemory& media() { return media_; }
    RuleDiagnosisMemory& diagnoses() { return diagnoses_; }
    ModelDiagnosisMemory& model_diagnoses() { return model_diagnoses_; }
    ConstraintDiagnosisMemory& constraint_diagnoses() { return constraint_diagnoses_; }
    ExclusionMemory& exclusion() { return exclusion_; }
    WhyNotMemory& why_not() { return why_not_; }
    // Enables or disables commands of the table; handed to the diagnoses.
    CommandSwitch command_switch() {
        return [this](const std::vector<int>& ids, bool on) { commands_.set_enabled(ids, on); };
    }
    // The store and working sections that the load commands read and change.
    KnowledgeBase knowledge_base() {
        return {store_,          ui_,    askable_,   numbering_,       flags_,
                load_,           media_, diagnoses_, model_diagnoses_, constraint_diagnoses_,
                command_switch()};
    }
    // What one flattening or diagnosis command works with.
    RuleDiagnosisContext diagnosis_context() {
        return {store_, ui_, askable_, flags_, diagnoses_, command_switch()};
    }
    // External data sources for the import, supplied by the front end; none by default.
    void set_data_sources(DataSourceAccess* access) { data_sources_ = access; }
    DataSourceAccess* data_sources() { return data_sources_; }
    // Checks the loaded base on a table of cases (the runner lies above this layer): true with
    // the results as text, false with a note in `text`.
    using CaseTableCheck = std::function<bool(const CaseTableOrigin& table, const FactStore& store,
                                              std::string& text)>;
    void set_case_table_check(CaseTableCheck check) { case_table_check_ = std::move(check); }
    const CaseTableCheck& case_table_check() const { return case_table_check_; }

    // Creates the main window state: start title, every command disabled.
    void start();
    bool introduction_open() const { return introduction_open_; }
    // Closing the introduction window enables the start-up commands.
    void close_introduction();
    // The close request of the main window; true when the user confirmed.
    bool request_close();
    // The program was to end but an edit window kept its text: it goes on.
    void keep_running() { finished_ = false; }

    // Runs one command through the table. A confirmed "Zakończ" inside a dialog ends the command
    // and marks the program as finished.
    CommandTable::RunResult run_command(int id);
    // Where the help command looks for the user guide (default_guide_directories()).
    void set_guide_directories(std::vector<std::string> directories) {
        guide_directories_ = std::move(directories);
    }
    bool finished() const { return finished_; }
    // The rule bases loaded last (the front end offers them and may remember them).
    RecentBases& recent_rule_bases() { return recent_rule_bases_; }
    // The next file dialog to open a file takes `path` without being shown.
    void answer_next_file_dialog(std::string path) {
        recorder_.answer_next_file_dialog(std::move(path));
    }
    void forget_file_answer() { recorder_.forget_file_answer(); }

  private:
    void register_commands();

    // Every dialog goes through the recorder, so a consultation can be stored as a script.
    RecordingInteraction recorder_;
    UserInteraction& ui_;
    FactStore store_;
    InferenceMemory inference_;
    AskableMemory askable_;
    NumberingMemory numbering_;
    DiagnosisFlags flags_;
    LoadMemory load_;
    MediaMemory media_;
    RuleDiagnosisMemory diagnoses_;
    ModelDiagnosisMemory model_diagnoses_;
    ConstraintDiagnosisMemory constraint_diagnoses_;
    ExclusionMemory exclusion_;
    WhyNotMemory why_not_;
    Report report_;
    CommandTable commands_;
    DataSourceAccess* data_sources_ = nullptr;
    CaseTableCheck case_table_check_;
    std::vector<std::string> guide_directories_;
    RecentBases recent_rule_bases_;
    std::string start_directory_;
    bool introduction_open_ = true;
    bool finished_ = false;
};

}  // namespace xamo
