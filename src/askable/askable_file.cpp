#include "askable/askable_file.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "dialog/interaction.h"
#include "dialog/write_lines.h"
#include "kb/codec.h"
#include "kb/files.h"

namespace xamo {
namespace {

const std::vector<FileFilter> kAskableFilter = {{"Pliki dopytywalnych (*.txt)", "*.txt"}};
const std::string kIndent = "   ";

struct Loaded {
    bool rules, models, constraints;
};

Loaded loaded(const FactStore& store) {
    return {store.any(Kind::nazwa_re), store.any(Kind::nazwa_mo), store.any(Kind::nazwa_og)};
}

// The number of the first constraint (in constraint-base order) holding each member.
std::unordered_map<std::string, std::int32_t> first_constraint(const FactStore& store) {
    std::unordered_map<std::string, std::int32_t> first;
    for (const Fact& constraint : store.all(Kind::ograniczenie)) {
        for (const auto& member : Constraint(constraint).members())
            first.emplace(member, Constraint(constraint).number());
    }
    return first;
}

void add_once(StringList& list, const std::string& item) {
    if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

// The constraints whose numbers are recorded, each written once: one line of members.
void write_constraints(UserInteraction& ui, const FactStore& store,
                       std::set<std::int32_t>& numbers) {
    for (const Fact& constraint : store.all(Kind::ograniczenie)) {
        if (numbers.erase(Constraint(constraint).number()) == 0) continue;
        ui.new_line();
        for (const auto& member : Constraint(constraint).members())
            ui.write(kIndent + member + "#");
    }
}

void write_groups(const FactStore& store, AskableGroups& groups, UserInteraction& ui) {
    const Loaded on = loaded(store);
    const std::string re = store.text(Kind::nazwa_re).value_or("");
    const std::string mo = store.text(Kind::nazwa_mo).value_or("");
    write_line(ui, "Warunki dopytywalne niewykluczające się bazy reguł " + re);
    for (const auto& item : on.models ? groups.war_dopyt : groups.war_dopyt_bez_modeli)
        write_line(ui, kIndent + item);
    if (on.constraints) {
        ui.write("Warunki dopytywalne wzajemnie wykluczające się bazy reguł " + re);
        write_constraints(ui, store, groups.numer_ograniczenia_dla_bazy_regul);
        if (on.models) {
            // Each heading on a line of its own, also after a line of constraint members.
            ui.new_line();
            ui.write("Warunki dopytywalne wzajemnie wykluczające się bazy modeli " + mo);
            write_constraints(ui, store, groups.numer_ograniczenia_dla_bazy_modeli);
        }
        ui.new_line();
    }
    if (on.models) {
        write_line(ui, "Argumenty dopytywalne bazy modeli " + mo);
        for (const auto& item : groups.arg_dopyt) write_line(ui, kIndent + item);
    }
}

}  // namespace

AskableGroups askable_groups(const FactStore& store, const AskableMemory& memory) {
    AskableGroups groups;
    const Loaded on = loaded(store);
    if (!on.rules) return groups;
    const auto constraint_of = first_constraint(store);
    // The constraint test: a member of a constraint records the constraint and is not listed.
    const auto in_constraint = [&](const std::string& item, std::set<std::int32_t>& numbers) {
        if (!on.constraints) return false;
        const auto found = constraint_of.find(item);
        if (found == constraint_of.end()) return false;
        numbers.insert(found->second);
        return true;
    };
    if (on.models) {
        for (const auto& c : memory.lista_wszystkich_dopytywalnych_dla_wyswietlania) {
            if (!in_constraint(c, groups.numer_ograniczenia_dla_bazy_regul))
                add_once(groups.war_dopyt, c);
        }
        for (const auto& a : memory.lista_argumentow_dopytywalnych) {
            if (!in_constraint(a, groups.numer_ograniczenia_dla_bazy_modeli))
                add_once(groups.arg_dopyt, a);
        }
    } else {
        // A rule base alone lists its askable conditions too.
        for (const auto& c : memory.lista_warunkow_dopytywalnych) {
            if (!in_constraint(c, groups.numer_ograniczenia_dla_bazy_regul))
                groups.war_dopyt_bez_modeli.push_back(c);
        }
    }
    return groups;
}

bool zachowaj(FactStore& store, const AskableMemory& memory, UserInteraction& ui) {
    if (!store.any(Kind::nazwa_re)) return false;
    return zachowaj_1(store, askable_groups(store, memory), ui);
}

bool zachowaj_1(FactStore& store, AskableGroups groups, UserInteraction& ui) {
    std::optional<std::string> path;
    while (true) {
        path = ui.choose_file_to_save("Podaj nazwę nowego pliku dopytywalnych", kAskableFilter,
                                      "*.txt");
        if (!path) return false;
        std::error_code ec;
        if (!std::filesystem::exists(*path, ec)) break;
        const int answer = ui.ask("Plik warunków i argumentów dopytywalnych",
                                  "Plik warunków i argumentów dopytywalnych o nazwie " + *path +
                                      "\njuż istnieje. Czy chcesz zapisać go nową treścią?",
                                  {"&TAK", "&NIE"});
        if (answer == 1) {
            ui.note("Uwaga!", "Istniejący plik warunków i argumentów dopytywalnych " + *path +
                                  " został skasowany!");
            break;
        }
        write_line(ui, "       Nie");
    }
    store.set_text(Kind::nazwa_pliku_war_arg, *path);
    ui.redirect_to_file(*path);
    write_groups(store, groups, ui);
    const auto error = ui.restore_output();
    store.remove_all(Kind::nazwa_pliku_war_arg);
    if (error) {
        ui.note("Błąd!", "Plik dopytywalnych " + *path + " nie został utworzony.\n" + *error);
        return false;
    }
    ui.note("Tworzenie pliku dopytywalnych",
            "Nowy plik dopytywalnych " + *path + " został utworzony.");
    return true;
}

void read_askable_file(UserInteraction& ui) {
    const auto path = ui.choose_file_to_open("Wybierz nazwę pliku dopytywalnych dla czytania",
                                             kAskableFilter, "*.txt");
    if (!path) return;
    std::string bytes;
    if (const auto read = read_file_bytes(*path, bytes); !read.ok) {
        ui.note("Błąd!", read.error);
        return;
    }
    const std::string name = file_name_of(*path);
    ui.show_text(name, cp1250_to_utf8(bytes));
    ui.set_main_title("Przegląd pliku warunków i argumentów dopytywalnych: " + name);
}

void delete_askable_file(UserInteraction& ui) {
    const auto path = ui.choose_file_to_open(
        "Zaznacz plik warunków i argumentów dopytywalnych do usunięcia",
        {{"Pliki warunków_i_argumentów_dopytywalnych (*.txt)", "*.txt"}}, "*.txt");
    if (!path) return;
    const std::string name = file_name_of(*path);
    if (!ui.confirm_deletion(
            "Usunięcie pliku podsumowania",
            "Czy jesteś pewien, że chcesz usunąć plik warunków i argumentów dopytywalnych " + name +
                " ?")) {
        return;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(*path, ec)) {
        ui.note("Błąd!", "Plik warunków i argumentów dopytywalnych " + name + " nie istnieje.");
        return;
    }
    if (!delete_file(*path, "*.txt").ok) {
        ui.note("Błąd!",
                "Plik warunków i argumentów dopytywalnych " + name + " nie może być usunięty.");
        return;
    }
    ui.note("Uwaga!", "Plik warunków i argumentów dopytywalnych " + name + " został usunięty.");
}

}  // namespace xamo
