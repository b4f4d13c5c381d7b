#include "ui/console/console_app.h"

#include <iostream>
#include <string>

#include "app/application.h"
#include "dialog/answers.h"
#include "regression/case_command.h"
#include "ui/console/console_interaction.h"
#include "ui/odbc/odbc_access.h"

namespace xamo {
namespace {

Application* left_to_the_system = nullptr;  // see run_console

using answers::trim;

bool is_number(const std::string& text) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    return true;
}

void list_enabled(ConsoleInteraction& ui, const CommandTable& commands) {
    for (const auto& info : commands.commands()) {
        if (info.is_submenu || !commands.enabled(info.id)) continue;
        ui.say("  " + std::to_string(info.id) + "  " + info.caption);
    }
    ui.say("  q  Zakończenie programu");
}

void check_questions(Application& app, const ConsoleInteraction& ui,
                     std::optional<QuestionMismatch>& mismatch) {
    app.recorder().set_question_check([&ui, &mismatch](const std::string& asked) {
        const auto& recorded = ui.scripted_question();
        if (!recorded || *recorded == asked) return;
        mismatch = QuestionMismatch{*recorded, asked};
        throw QuitRequested();
    });
}

}  // namespace

int run_console(std::istream& in, std::ostream& out, bool batch,
                std::optional<QuestionMismatch>* mismatch, AtEnd at_end) {
    ConsoleInteraction ui(in, out, batch);
    OdbcAccess data_sources;
    auto owned = std::make_unique<Application>(ui);
    Application& app = *owned;
    if (mismatch) check_questions(app, ui, *mismatch);
    app.set_data_sources(&data_sources);
    app.set_case_table_check(check_loaded_base);
    app.start();
    // The console has no introduction window: it is closed at once.
    app.close_introduction();
    const std::string prompt = batch ? "> " : "xamo_RD> ";
    while (!app.finished()) {
        const auto read = ui.read_command(prompt);
        if (!read) break;
        const std::string command = trim(*read);
        if (command.empty()) continue;
        if (command == "q" || command == "quit") {
            try {
                app.request_close();
            } catch (const QuitRequested&) {
                break;  // a question that differs from the script's ends the replay here
            }
            continue;
        }
        if (command == "?" || command == "help") {
            list_enabled(ui, app.commands());
            continue;
        }
        if (!is_number(command)) {
            ui.say("! Nieznane polecenie: " + command);
            continue;
        }
        const int id = std::stoi(command);
        switch (app.run_command(id)) {
            case CommandTable::RunResult::Done:
            case CommandTable::RunResult::NotYetAvailable:  // the note has said so
                break;
            case CommandTable::RunResult::Disabled:
                ui.say("! Polecenie " + command + " jest niedostępne.");
                break;
            case CommandTable::RunResult::Unknown:
                ui.say("! Nieznane polecenie: " + command);
                break;
        }
    }
    ui.flush();
    if (at_end == AtEnd::ProcessEnds) {
        // Freeing a base of a million rules fact by fact takes a tenth of a second; the system
        // takes the whole memory back at once. Kept reachable, so a leak check does not count
        // it; the application writes nothing when it is destroyed.
        left_to_the_system = owned.release();
    }
    return 0;
}

}  // namespace xamo
