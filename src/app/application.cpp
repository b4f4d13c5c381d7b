#include "app/application.h"

#include <filesystem>
#include <new>

#include "app/analysis_commands.h"
#include "app/askable_commands.h"
#include "app/askable_file_commands.h"
#include "app/browse_commands.h"
#include "app/case_table_command.h"
#include "app/command_catalog.h"
#include "app/consultation_commands.h"
#include "app/diagnosis_commands.h"
#include "app/help.h"
#include "app/inference_commands.h"
#include "app/loading_commands.h"
#include "app/media_commands.h"
#include "app/why_not_command.h"

#ifndef XAMO_VERSION
#error "XAMO_VERSION comes from the build (the CMake project version)"
#endif

namespace xamo {
namespace {

constexpr const char* kVersion = XAMO_VERSION;

}  // namespace

Application::Application(UserInteraction& ui)
    : recorder_(ui),
      ui_(recorder_),
      report_(store_, recorder_),
      guide_directories_(default_guide_directories()) {
    std::error_code ec;
    start_directory_ = std::filesystem::current_path(ec).string();
    recorder_.set_home(start_directory_);
    store_.register_working(&inference_);
    store_.register_working(&askable_);
    store_.register_working(&numbering_);
    store_.register_working(&flags_);
    store_.register_working(&load_);
    store_.register_working(&media_);
    store_.register_working(&diagnoses_);
    store_.register_working(&model_diagnoses_);
    store_.register_working(&constraint_diagnoses_);
    store_.register_working(&exclusion_);
    store_.register_working(&why_not_);
    for (const auto& info : command_catalog()) commands_.add(info);
    register_commands();
}

void Application::register_commands() {
    register_loading_commands(*this);
    register_askable_commands(*this);
    register_askable_file_commands(*this);
    commands_.set_handler(10151, [this] { ui_.clear_messages(); });
    commands_.set_handler(10152, [this] {
        ui_.note("Uwaga", "Ustawienie ścieżki dostępu do baz  następuje po załadowaniu bazy reguł");
    });
    commands_.set_handler(10153, [this] { show_help(ui_, guide_directories_); });
    commands_.set_handler(10154, [this] {
        ui_.note_about("O programie",
                       std::string("xamo_RD\n") + kAboutLine + "\nWersja " + kVersion,
                       licence_line(default_licence_files()));
    });
    register_inference_commands(*this);
    register_why_not_command(*this);
    register_browse_commands(*this);
    register_media_commands(*this);
    register_document_commands(*this);
    register_diagnosis_commands(*this);
    register_analysis_commands(*this);
    register_consultation_commands(*this);
    register_case_table_command(*this);
}

void Application::start() {
    commands_.disable_all();
    introduction_open_ = true;
    ui_.set_main_title(kStartTitle);
}

void Application::close_introduction() {
    if (!introduction_open_) return;
    introduction_open_ = false;
    commands_.set_enabled(startup_commands(), true);
}

bool Application::request_close() {
    recorder_.record("q");
    if (!ui_.confirm("Uwaga!", kQuitQuestion)) return false;
    finished_ = true;
    return true;
}

namespace {

std::string without_accelerators(const std::string& caption) {
    std::string plain;
    for (char c : caption) {
        if (c != '&') plain.push_back(c);
    }
    return plain;
}

}  // namespace

CommandTable::RunResult Application::run_command(int id) {
    recorder_.record(std::to_string(id));
    try {
        const auto result = commands_.run(id);
        if (result == CommandTable::RunResult::NotYetAvailable) {
            ui_.note("Uwaga!", "Polecenie „" + without_accelerators(commands_.find(id)->caption) +
                                   "” nie jest jeszcze dostępne w tej wersji programu.");
        }
        return result;
    } catch (const QuitRequested&) {
        if (ui_.redirected()) ui_.restore_output();
        finished_ = true;
        return CommandTable::RunResult::Done;
    } catch (const std::bad_alloc&) {
        // A command that runs out of memory ends; the program and the other bases go on.
        if (ui_.redirected()) ui_.restore_output();
        ui_.note("Błąd!", kOutOfMemoryNote);
        return CommandTable::RunResult::Done;
    }
}

}  // namespace xamo
