#include "app/case_table_command.h"

#include <memory>
#include <optional>

#include "app/application.h"
#include "askable/source_choice.h"
#include "dialog/report.h"

namespace xamo {
namespace {

const std::string kTitle = "Sprawdzenie bazy na tabeli przypadków";

// The results become the report text, offered as a report file like a consultation's.
void offer_report(Application& app, const std::string& text) {
    Report report(app.store(), app.ui());
    report.kasowanie_tekst_raportu();
    report.lista_dla_raportu({text});
    report.raport();
}

// The table the user names: a CSV file or a table of a data source, or nothing when given up.
std::optional<CaseTableOrigin> choose_table(Application& app,
                                            std::unique_ptr<DataConnection>& connection) {
    UserInteraction& ui = app.ui();
    const int kind = ui.ask(kTitle, "Skąd pochodzi tabela przypadków?",
                            {"&Plik CSV", "Źródło danych &ODBC", "&Anuluj"});
    if (kind == 1) {
        const auto path = ui.choose_file_to_open("Wybierz tabelę przypadków",
                                                 {{"Tabele przypadków (*.csv)", "*.csv"}}, "*.csv");
        if (!path || path->empty()) return std::nullopt;
        return CaseTableOrigin{*path, nullptr, {}, {}};
    }
    if (kind != 2) return std::nullopt;
    if (app.data_sources() == nullptr) {
        ui.note("Błąd!",
                "Tabele przypadków ze źródeł danych nie są dostępne:\nbrak menedżera "
                "sterowników ODBC.");
        return std::nullopt;
    }
    auto chosen = choose_source_table(ui, *app.data_sources(), "Wybór tabeli przypadków",
                                      "Wybierz tabelę przypadków");
    if (!chosen) return std::nullopt;
    connection = std::move(chosen->connection);
    return CaseTableOrigin{{}, connection.get(), chosen->source, chosen->raw_table};
}

void check_on_case_table(Application& app) {
    UserInteraction& ui = app.ui();
    const auto& check = app.case_table_check();
    if (!check) {
        ui.note("Błąd!", "Ta wersja programu nie sprawdza baz na tabelach przypadków.");
        return;
    }
    std::unique_ptr<DataConnection> connection;
    const auto table = choose_table(app, connection);
    if (!table) return;
    std::string text;
    const bool checked = check(*table, app.store(), text);
    connection.reset();  // the rows are read and run: nothing more is needed from the source
    if (!checked) {
        ui.note("Błąd!", text);
        return;
    }
    ui.show_text(kTitle, text);
    offer_report(app, text);
}

}  // namespace

void register_case_table_command(Application& app) {
    app.commands().set_handler(kCaseTableCommand, [&app] { check_on_case_table(app); });
}

}  // namespace xamo
