#include "app/application.h"

#include <filesystem>

#include "app/askable_commands.h"
#include "app/browse_commands.h"
#include "app/command_catalog.h"
#include "app/diagnosis_commands.h"
#include "app/inference_commands.h"
#include "app/loading_commands.h"

namespace xamo {

Application::Application(UserInteraction& ui) : ui_(ui), report_(store_, ui) {
    store_.register_working(&inference_);
    store_.register_working(&askable_);
    store_.register_working(&numbering_);
    store_.register_working(&flags_);
    store_.register_working(&load_);
    store_.register_working(&diagnoses_);
    for (const auto& info : command_catalog()) commands_.add(info);
    register_commands();
}

void Application::register_commands() {
    register_loading_commands(*this);
    register_askable_commands(*this);
    commands_.set_handler(10151, [this] { ui_.clear_messages(); });
    commands_.set_handler(10152, [this] {
        ui_.note("Uwaga", "Ustawienie ścieżki dostępu do baz  następuje po załadowaniu bazy reguł");
    });
    commands_.set_handler(10153, [this] {
        std::error_code ec;
        if (std::filesystem::is_regular_file("xamo_RD.chm", ec)) {
            ui_.open_document(std::filesystem::absolute("xamo_RD.chm", ec).string());
        }
    });
    commands_.set_handler(
        10154, [this] { ui_.note("O programie", std::string("xamo_RD\n") + kAboutLine); });
    register_inference_commands(*this);
    register_browse_commands(*this);
    register_diagnosis_commands(*this);
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
    if (!ui_.confirm("Uwaga!", kQuitQuestion)) return false;
    finished_ = true;
    return true;
}

CommandTable::RunResult Application::run_command(int id) {
    try {
        return commands_.run(id);
    } catch (const QuitRequested&) {
        if (ui_.redirected()) ui_.restore_output();
        finished_ = true;
        return CommandTable::RunResult::Done;
    }
}

}  // namespace xamo
