#include "askable/source_choice.h"

#include "askable/import.h"
#include "dialog/interaction.h"

namespace xamo {
namespace {

// The chosen position, or nothing when the list was left without a valid choice.
std::optional<std::size_t> chosen_position(const std::vector<int>& choice, std::size_t size) {
    if (choice.empty() || choice.front() < 0 || static_cast<std::size_t>(choice.front()) >= size)
        return std::nullopt;
    return static_cast<std::size_t>(choice.front());
}

std::vector<std::string> shown(const std::vector<std::string>& raw) {
    std::vector<std::string> names;
    names.reserve(raw.size());
    for (const auto& name : raw) names.push_back(text_from_source(name));
    return names;
}

}  // namespace

std::string odbc_error(const std::string& error) {
    const std::string text = text_from_source(error);
    return "\nBłąd ODBC: " + (text.empty() ? std::string("(sterownik nie podał opisu)") : text);
}

std::optional<ChosenTable> choose_source_table(UserInteraction& ui, DataSourceAccess& access,
                                               const std::string& title,
                                               const std::string& prompt) {
    auto sources = access.sources();
    if (!sources.ok()) {
        ui.note("Błąd!", "Nie można odczytać listy źródeł danych." + odbc_error(sources.error));
        return std::nullopt;
    }
    if (sources.value->empty()) {
        ui.note("Uwaga!", "Nie zdefiniowano żadnego źródła danych ODBC.");
        return std::nullopt;
    }
    const std::vector<std::string> names = shown(*sources.value);
    const auto source_index = chosen_position(
        ui.choose_from_list("Wybór źródła danych", "Wybierz źródło danych", names, false),
        names.size());
    if (!source_index) return std::nullopt;
    ChosenTable chosen;
    chosen.source = names[*source_index];
    auto connected = access.connect((*sources.value)[*source_index]);
    if (!connected.ok()) {
        ui.note("Błąd!", "Nie można połączyć się ze źródłem danych " + chosen.source + "." +
                             odbc_error(connected.error));
        return std::nullopt;
    }
    chosen.connection = std::move(*connected.value);
    auto tables = chosen.connection->tables();
    if (!tables.ok()) {
        ui.note("Błąd!", "Nie można odczytać listy tabel źródła danych " + chosen.source + "." +
                             odbc_error(tables.error));
        return std::nullopt;
    }
    if (tables.value->empty()) {
        ui.note("Uwaga!", "Źródło danych " + chosen.source + " nie zawiera żadnej tabeli.");
        return std::nullopt;
    }
    const std::vector<std::string> table_names = shown(*tables.value);
    const auto table_index =
        chosen_position(ui.choose_from_list(title, prompt, table_names, false), table_names.size());
    if (!table_index) return std::nullopt;
    chosen.table = table_names[*table_index];
    chosen.raw_table = (*tables.value)[*table_index];
    return chosen;
}

}  // namespace xamo
