#include "askable/import.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

#include "askable/source_choice.h"
#include "dialog/interaction.h"
#include "dialog/write_lines.h"
#include "kb/codec.h"
#include "kb/conditions.h"
#include "kb/numbers.h"

namespace xamo {
namespace {

const std::string kFact = "fakt";
const std::string kKnownArgument = "argument_znany";
const std::string kErrorLoading = "<Error loading>";
const std::string kIndent = "   ";

bool disqualifying(const std::string& cell) { return cell.empty() || cell == kErrorLoading; }

std::string trim_blanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

// One examined row: what it would add, or why it is refused.
struct Entry {
    bool fact = true;
    std::string name;        // condition or argument
    std::string value_text;  // as in the cell
    double value = 0;
    std::string refusal;  // empty while accepted
};

std::string describe(const Entry& e) {
    return e.fact ? kFact + " " + e.name : kKnownArgument + " " + e.name + " = " + e.value_text;
}

// Facts: a condition of the knowledge base, not declared already, not beside its negation nor
// beside another member of one of its constraints (declared or imported).
void check_facts(std::vector<Entry>& entries, const FactStore& store, const AskableMemory& memory) {
    std::unordered_set<std::string> conditions;
    for (const std::string_view c : memory.lista_warunkow) conditions.emplace(c);
    conditions.insert(memory.lista_warunkow_stosowania.begin(),
                      memory.lista_warunkow_stosowania.end());
    std::unordered_set<std::string> declared;
    for (Kind kind : {Kind::fakt, Kind::m_fakt}) {
        for (const Fact& fact : store.all(kind)) declared.insert(TextFact(fact).text().str());
    }
    std::unordered_set<std::string> imported;
    for (Entry& e : entries) {
        if (!e.fact) continue;
        const std::string positive = is_negated(e.name) ? e.name.substr(1) : e.name;
        if (!conditions.contains(positive))
            e.refusal = "nie jest warunkiem reguł ani warunkiem stosowania modeli";
        else if (declared.contains(e.name))
            e.refusal = "jest już faktem bazy wiedzy";
        else if (!imported.insert(e.name).second)
            e.refusal = "powtarza się w importowanych danych";
    }
    const auto holds = [&](const std::string& c) {
        return declared.contains(c) || imported.contains(c);
    };
    // Per constraint, its first two distinct members that hold; per member, its constraints.
    const auto& constraints = store.all(Kind::ograniczenie);
    std::vector<std::pair<const Name*, const Name*>> holding(constraints.size());
    std::unordered_map<std::string, std::vector<std::size_t>> constraints_of;
    for (std::size_t i = 0; i < constraints.size(); ++i) {
        for (const Name& member : Constraint(constraints[i]).members()) {
            auto& list = constraints_of[member.str()];
            if (list.empty() || list.back() != i) list.push_back(i);
            if (!holds(member.str())) continue;
            auto& [first, second] = holding[i];
            if (!first)
                first = &member;
            else if (!second && *first != member)
                second = &member;
        }
    }
    for (Entry& e : entries) {
        if (!e.fact || !e.refusal.empty()) continue;
        const std::string negation = negacja(e.name);
        if (holds(negation)) {
            e.refusal = "występuje razem ze swoją negacją " + negation;
            continue;
        }
        const auto found = constraints_of.find(e.name);
        if (found == constraints_of.end()) continue;
        for (std::size_t i : found->second) {
            const auto [first, second] = holding[i];
            if (!second) continue;
            const Name& other = *first == e.name ? *second : *first;
            e.refusal = "wyklucza się z faktem " + other + " (ograniczenie " +
                        std::to_string(Constraint(constraints[i]).number()) + ")";
            break;
        }
    }
}

// Values: a model base is loaded, the argument is askable and has no value yet.
void check_arguments(std::vector<Entry>& entries, const FactStore& store,
                     const AskableMemory& memory) {
    const bool models = store.any(Kind::nazwa_mo);
    const std::unordered_set<std::string> askable(memory.lista_argumentow_dopytywalnych.begin(),
                                                  memory.lista_argumentow_dopytywalnych.end());
    std::unordered_map<std::string, std::string> value_of;
    for (const Fact& known : store.all(Kind::argument_znany))
        value_of.emplace(KnownArgument(known).argument(),
                         format_real(KnownArgument(known).value()));
    for (Entry& e : entries) {
        if (e.fact) continue;
        if (!models) {
            e.refusal = "brak załadowanej bazy modeli";
        } else if (!askable.contains(e.name)) {
            e.refusal = e.name + " nie jest argumentem dopytywalnym bazy modeli";
        } else if (const auto [at, added] = value_of.emplace(e.name, e.value_text); !added) {
            e.refusal = "argument " + e.name + " ma już wartość " + at->second;
        }
    }
}

void show_review(UserInteraction& ui, const ImportedData& data) {
    std::string text = "Do bazy reguł zostały dodane następujące fakty:\n";
    for (const auto& item : data.faktdowyswietlenia) text += kIndent + item + "\n";
    text += "Do bazy modeli zostały dodane następujące argumenty znane:\n";
    for (const auto& item : data.argument_znanydowyswietlenia) text += kIndent + item + "\n";
    if (!data.refused.empty()) {
        text += "Nie zostały dodane następujące dane:\n";
        for (const auto& item : data.refused) text += kIndent + item + "\n";
    }
    ui.show_text("Przegląd zaimportowanych danych", text);
}

}  // namespace

std::string text_from_source(std::string_view bytes) { return utf8_from_either(bytes); }

std::string select_statement(const std::string& table) {
    const std::string name = table.find(' ') == std::string::npos ? table : "[" + table + "]";
    return "SELECT * FROM " + name;
}

ImportedNumber read_imported_number(std::string_view text) {
    std::string dots = trim_blanks(text);
    std::replace(dots.begin(), dots.end(), ',', '.');
    std::size_t pos = 0;
    double value = 0;
    const NumberScan scan = scan_real(dots, pos, value);
    if (scan == NumberScan::OutOfRange) return {std::nullopt, 2};
    if (scan != NumberScan::Ok || pos != dots.size()) return {std::nullopt, 1};
    if (!std::isfinite(value)) return {std::nullopt, 2};
    return {value, 0};
}

ImportedData examine_rows(const std::vector<DataRow>& rows, const FactStore& store,
                          const AskableMemory& memory, UserInteraction& ui) {
    std::vector<Entry> entries;
    for (const DataRow& row : rows) {
        const auto cell = [&row](std::size_t i) { return i < row.size() ? row[i] : std::string(); };
        const std::string kind = cell(0);
        if (kind == kFact) {
            if (disqualifying(cell(1))) continue;
            entries.push_back({true, cell(1), {}, 0, {}});
        } else if (kind == kKnownArgument) {
            if (disqualifying(cell(1)) || disqualifying(cell(2))) continue;
            const auto number = read_imported_number(cell(2));
            if (!number.value) {
                ui.note("Błąd!", "Wystąpił błąd numer: " + std::to_string(number.error) +
                                     ",\numiemożliwiający przetworzenie danych(liczb) "
                                     "rzeczywistych.\n\nProszę sprawdzić dane zawarte w arkuszu "
                                     "Excela lub innym źródle zewnętrznym.");
                continue;
            }
            entries.push_back({false, cell(1), cell(2), *number.value, {}});
        }
    }
    check_facts(entries, store, memory);
    check_arguments(entries, store, memory);
    ImportedData data;
    for (const Entry& e : entries) {
        if (!e.refusal.empty()) {
            data.refused.push_back(describe(e) + ": " + e.refusal);
        } else if (e.fact) {
            data.facts.push_back(e.name);
            data.faktdowyswietlenia.push_back(e.name);
        } else {
            data.arguments.push_back({e.name, e.value});
            data.argument_znanydowyswietlenia.push_back(e.name + " = " + e.value_text);
        }
    }
    return data;
}

void add_imported(FactStore& store, const ImportedData& data) {
    for (const auto& fact : data.facts) store.add(make_text_fact(Kind::fakt, fact));
    for (const auto& known : data.arguments)
        store.add(Fact{Kind::argument_znany, {Name(known.argument), known.value}});
}

void import_data(FactStore& store, const AskableMemory& memory, UserInteraction& ui,
                 DataSourceAccess* access) {
    if (!store.any(Kind::nazwa_re)) return;
    if (access == nullptr) {
        ui.note("Błąd!",
                "Import z zewnętrznego źródła danych nie jest dostępny:\nbrak menedżera "
                "sterowników ODBC.");
        return;
    }
    auto chosen =
        choose_source_table(ui, *access, "Wybór danych do importu", "Wybierz dane do importu");
    if (!chosen) return;
    std::unique_ptr<DataConnection> connection = std::move(chosen->connection);
    const std::string statement = select_statement(chosen->raw_table);
    write_line(ui, text_from_source(statement));
    auto fetched = connection->query(statement, 3);
    connection.reset();  // the table is read: release the connection before anything else
    if (!fetched.ok()) {
        ui.note("Błąd!", "Nie można odczytać danych z tabeli " + chosen->table + "." +
                             odbc_error(fetched.error));
        return;
    }
    std::vector<DataRow> rows = std::move(*fetched.value);
    const std::string count = std::to_string(rows.size());
    write_line(ui, "--> Data loading From row 1 to row " + count);
    write_line(ui, count + " ...Done");
    for (auto& row : rows) {
        for (auto& cell : row) cell = text_from_source(cell);
    }
    const ImportedData data = examine_rows(rows, store, memory, ui);
    if (data.facts.empty() && data.arguments.empty() && data.refused.empty()) {
        ui.note("Uwaga!", "Brak danych do importu z zewnętrznego źródla danych!");
        return;
    }
    add_imported(store, data);
    show_review(ui, data);
}

}  // namespace xamo
