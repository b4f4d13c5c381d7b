#include "app/case_table_command.h"

#include "app/application.h"
#include "kb/files.h"

namespace xamo {
namespace {

const std::string kTitle = "Sprawdzenie bazy na tabeli przypadków";

void offer_report(UserInteraction& ui, const std::string& text) {
    if (ui.ask(kTitle, "Zachować wyniki w raporcie?", {"&TAK", "&NIE"}) != 1) return;
    const auto path = ui.choose_file_to_save("Zapisz wyniki jako raport",
                                             {{"Raporty (*.txt)", "*.txt"}}, "*.txt");
    if (!path || path->empty()) return;
    if (const FileResult written = write_text_file(*path, text); !written.ok)
        ui.note("Błąd!", "Wyniki nie zostały zapisane.\n" + written.error);
}

void check_on_case_table(Application& app) {
    UserInteraction& ui = app.ui();
    const auto table = ui.choose_file_to_open("Wybierz tabelę przypadków",
                                              {{"Tabele przypadków (*.csv)", "*.csv"}}, "*.csv");
    if (!table || table->empty()) return;
    std::string text;
    const auto& check = app.case_table_check();
    if (!check) {
        ui.note("Błąd!", "Ta wersja programu nie sprawdza baz na tabelach przypadków.");
        return;
    }
    if (!check(*table, app.store(), text)) {
        ui.note("Błąd!", text);
        return;
    }
    ui.show_text(kTitle, text);
    offer_report(ui, text);
}

}  // namespace

void register_case_table_command(Application& app) {
    app.commands().set_handler(kCaseTableCommand, [&app] { check_on_case_table(app); });
}

}  // namespace xamo
