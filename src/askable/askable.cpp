#include "askable/askable.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "askable/list_ops.h"
#include "dialog/interaction.h"
#include "dialog/write_lines.h"
#include "kb/conditions.h"
#include "kb/model_symbols.h"
#include "kb/rule_names.h"

namespace xamo {
namespace {

bool relational(const Fact& model) {
    if (model.kind == Kind::model) return is_basic_relation(Model(model).symbol());
    if (model.kind == Kind::model_r) return is_extended_relation(ModelR(model).symbol());
    return false;
}

constexpr Kind kModelKinds[] = {Kind::model, Kind::model_r, Kind::model_liniowy,
                                Kind::model_wielomianowy};

template <typename F>
void for_each_model(const FactStore& store, F&& visit) {
    for (Kind kind : kModelKinds) {
        for (const Fact& model : store.all(kind)) visit(model);
    }
}

void add_name(StringList& to, std::string_view field) {
    if (!is_constant(field)) to.emplace_back(field);
}

void add_names(StringList& to, const NameList& fields) {
    for (const auto& field : fields) add_name(to, field);
}

// The argument names an arithmetic model reads.
void add_arguments(StringList& to, const Fact& model) {
    switch (model.kind) {
        case Kind::model:
            add_name(to, Model(model).argument1());
            if (!is_function(Model(model).symbol())) add_name(to, Model(model).argument2());
            break;
        case Kind::model_r:
            add_names(to, ModelR(model).variables());
            break;
        case Kind::model_liniowy:
            add_names(to, LinearModel(model).coefficients());
            add_names(to, LinearModel(model).variables());
            break;
        case Kind::model_wielomianowy:
            add_name(to, PolynomialModel(model).variable());
            add_names(to, PolynomialModel(model).coefficients());
            break;
        default:
            break;
    }
}

// Variables of one model kind, in the order the kind lists them: reduced, without constants and
// without "bez warunku".
StringList variables_of_kind(const FactStore& store, Kind kind) {
    const auto& models = store.all(kind);
    StringList all;
    // One field of every model, then the next: the order the reduced list keeps.
    auto fields = [&](auto field) {
        for (const Fact& m : models) all.emplace_back(field(m));
    };
    auto lists = [&](auto field) {
        for (const Fact& m : models) append(all, field(m));
    };
    const auto condition = [](const Fact& m) { return AnyModel(m).condition(); };
    switch (kind) {
        case Kind::model:
            fields([](const Fact& m) { return Model(m).argument1(); });
            fields([](const Fact& m) { return Model(m).argument2(); });
            fields(condition);
            break;
        case Kind::model_r:
            fields(condition);
            lists([](const Fact& m) { return ModelR(m).variables(); });
            break;
        case Kind::model_liniowy:
            fields(condition);
            lists([](const Fact& m) { return LinearModel(m).coefficients(); });
            lists([](const Fact& m) { return LinearModel(m).variables(); });
            break;
        case Kind::model_wielomianowy:
            fields(condition);
            fields([](const Fact& m) { return PolynomialModel(m).variable(); });
            lists([](const Fact& m) { return PolynomialModel(m).coefficients(); });
            break;
        default:
            break;
    }
    StringList out;
    for (const auto& item : reduce(all)) {
        if (!is_constant(item) && item != kNoCondition) out.push_back(item);
    }
    return out;
}

// Two line breaks, the title, and the members one per line.
void write_titled_list(UserInteraction& ui, const std::string& title, const StringList& items) {
    ui.new_line();
    ui.new_line();
    write_line(ui, title);
    write_lines(ui, items);
}

const std::string kClashAdvice =
    "\nwybierz opcję 'Edycja bazy modeli', \nlub opcję 'Edycja bazy reguł', \nwybierz błędną bazę "
    "i usuń błąd.";

void report_same_conclusions(UserInteraction& ui, const StringList& clash, const std::string& re,
                             const std::string& mo) {
    write_lines(ui, {"Błąd w bazie reguł   " + re, "i w bazie modeli " + mo + ".",
                     "Reguły i modele relacyjne mają jednakowe wnioski.", "Wnioskami tymi są:"});
    write_lines(ui, clash);
    write_lines(ui, {"Przejdź do 'Bazy modeli dokładnej ' lub do 'Bazy reguł dokładnej',",
                     "wybierz opcję 'Edycja bazy modeli', ", "lub opcję 'Edycja bazy reguł', ",
                     "wybierz błędną bazę i usuń błąd."});
    ui.note(
        "Błąd: jednakowe nazwy wniosków bazy reguł i bazy modeli",
        "Błąd w bazie reguł\n   " + re + "\ni w bazie modeli\n   " + mo + "." +
            "\nReguły i modele relacyjne mają wnioski o \njednakowych nazwach.  " +
            "\nWnioskami tymi są wnioski z listy:\n   " + list_text(clash) +
            ".\nWnioskowanie nie może być kontynuowane. \nPrzejdź do 'Bazy modeli dokładnej' lub "
            "\ndo 'Bazy reguł dokładnej'," +
            kClashAdvice);
}

void report_logical_numeric(UserInteraction& ui, const StringList& clash, const std::string& re,
                            const std::string& mo) {
    write_lines(
        ui, {"Błąd w bazie reguł   " + re, "i/lub w bazie modeli " + mo + ".",
             "Reguły i modele relacyjne mają warunki/wnioski",
             "o tych samych nazwach jak argumenty/wyniki", "modeli atytmetycznych.", "Są nimi:"});
    write_lines(ui, clash);
    write_lines(ui, {"Przejdź do 'Bazy modeli' lub do 'Bazy reguł',",
                     "wybierz opcję 'Edycja bazy modeli', ", "lub opcję 'Edycja bazy reguł', ",
                     "wybierz błędną bazę i usuń błąd."});
    ui.note(
        "Błąd: jednakowe nazwy zmiennych bazy reguł i/lub zmiennych bazy modeli",
        "Błąd w bazie reguł\n   " + re + "\ni/lub w bazie modeli\n   " + mo + "." +
            "\nReguły i modele mają warunki/wnioski" +
            "\no tych samych nazwach jak argumenty/wyniki  \nmodeli arytmetycznych. Zawiera je "
            "lista:\n   " +
            list_text(clash) +
            ".\nWnioskowanie nie może być kontynuowane. \nPrzejdź do 'Bazy modeli dokładnej' lub "
            "\ndo 'Bazy reguł dokładnej'," +
            kClashAdvice);
}

}  // namespace

RuleAskable askable_conditions_of_rules(const FactStore& store, AskableMemory& memory) {
    // Every name is hashed once, when the rules' names are numbered; the reductions and the
    // difference work on the numbers.
    const auto names = store.rule_names();
    const auto end = names->find(kEnd);
    const auto none = names->find(kNoCondition);
    // Concluded by a rule: not askable ("koniec" is no conclusion).
    std::vector<std::uint8_t> concluded(names->size(), 0);
    for (const std::uint32_t c : names->all_conclusions()) concluded[c] = c != end ? 1 : 0;

    const std::vector<std::uint32_t> kept_conditions =
        last_occurrences(names->all_conditions(), names->size(),
                         [&names](std::uint32_t c) { return names->positive(c); });
    std::vector<std::uint32_t> kept_conclusions =
        last_occurrences(names->all_conclusions(), names->size());
    std::erase(kept_conclusions, end);
    std::vector<std::uint32_t> askable;
    for (const std::uint32_t c : kept_conditions) {
        if (concluded[c] == 0 && c != none) askable.push_back(c);
    }
    const auto texts = [&names](const std::vector<std::uint32_t>& numbers) {
        StringList out;
        out.reserve(numbers.size());
        for (const std::uint32_t n : numbers) out.emplace_back(names->text(n));
        return out;
    };
    memory.lista_warunkow = NumberedNames(names, kept_conditions);
    memory.lista_wnioskow_regul = NumberedNames(names, std::move(kept_conclusions));
    StringList askable_texts = texts(askable);
    return {std::move(askable_texts), NumberedNames(names, std::move(askable))};
}

void remember_askable(AskableMemory& memory, UserInteraction& ui, RuleAskable askable) {
    memory.lista_warunkow_dopytywalnych = sorted(std::move(askable.texts));
    memory.dopytywalny = TextSet(memory.lista_warunkow_dopytywalnych, askable.numbered);
    write_lines(ui, memory.lista_warunkow_dopytywalnych);
}

void compute_model_lists(const FactStore& store, AskableMemory& memory) {
    StringList arguments, conclusions, conditions, results;
    for_each_model(store, [&](const Fact& model) {
        conditions.push_back(AnyModel(model).condition().str());
        if (relational(model)) {
            conclusions.push_back(AnyModel(model).result().str());
        } else {
            add_arguments(arguments, model);
            results.push_back(AnyModel(model).result().str());
        }
    });
    memory.lista_argumentow_modeli = reduce(arguments);
    memory.lista_wnioskow_modeli = reduce(conclusions);
    memory.lista_warunkow_stosowania = reduce(conditions);
    memory.lista_wynikow_modeli = reduce(results);
}

void askable_with_models(AskableMemory& memory) {
    memory.lista_wszystkich_dopytywalnych_dla_wyswietlania =
        difference(memory.lista_warunkow_dopytywalnych, memory.lista_wnioskow_modeli);
}

void askable_of_models(const FactStore& store, AskableMemory& memory) {
    StringList variables, results;
    for (Kind kind : kModelKinds) {
        if (!store.any(kind)) continue;
        append(variables, variables_of_kind(store, kind));
        for (const Fact& model : store.all(kind)) results.push_back(AnyModel(model).result().str());
    }
    memory.argumenty_zredukowane = reduce(variables);
    memory.wyniki_zredukowane = reduce(results);
    StringList askable =
        difference(difference(memory.argumenty_zredukowane, memory.wyniki_zredukowane),
                   memory.lista_wnioskow_regul);
    std::erase_if(askable, [](const std::string& item) { return is_negated(item); });
    memory.lista_argumentow_dopytywalnych = sorted(std::move(askable));
}

void write_display_lists(AskableMemory& memory, UserInteraction& ui, const std::string& rule_base,
                         const std::string& model_base) {
    memory.lista_argumentow_dopytywalnych = sorted(reduce(memory.lista_argumentow_dopytywalnych));
    write_titled_list(ui, "Warunki i argumenty dopytywalne bazy modeli " + model_base + ":",
                      memory.lista_argumentow_dopytywalnych);

    memory.lista_wszystkich_dopytywalnych_dla_wyswietlania =
        sorted(reduce(memory.lista_wszystkich_dopytywalnych_dla_wyswietlania));
    write_titled_list(ui,
                      "Warunki  dopytywalne bazy reguł " + rule_base +
                          " z uwzględnieniem bazy modeli " + model_base + ":",
                      memory.lista_wszystkich_dopytywalnych_dla_wyswietlania);

    memory.lista_warunkow_i_argumentow_dopytywalnych =
        sorted(list_union(memory.lista_wszystkich_dopytywalnych_dla_wyswietlania,
                          memory.lista_argumentow_dopytywalnych));
    write_titled_list(ui,
                      "Warunki i argumenty dopytywalne bazy reguł " + rule_base +
                          " i bazy modeli " + model_base + ":",
                      memory.lista_warunkow_i_argumentow_dopytywalnych);
    ui.new_line();
}

bool find_name_clash(AskableMemory& memory, UserInteraction& ui, const std::string& rule_base,
                     const std::string& model_base) {
    const StringList same = intersection(memory.lista_wnioskow_regul, memory.lista_wnioskow_modeli);
    if (!same.empty()) {
        report_same_conclusions(ui, same, rule_base, model_base);
        return true;
    }
    StringList logical = list_union(memory.lista_wnioskow_regul, memory.lista_wnioskow_modeli);
    logical = list_union(logical, memory.lista_warunkow);
    logical = list_union(logical, memory.lista_warunkow_stosowania);
    memory.lista_wszystkich_zmiennych_logicznych = logical;
    const StringList numeric =
        list_union(memory.lista_argumentow_modeli, memory.lista_wynikow_modeli);
    const StringList both = intersection(logical, numeric);
    if (both.empty()) return false;
    report_logical_numeric(ui, both, rule_base, model_base);
    return true;
}

bool is_askable(const AskableMemory& memory, const std::string& condition) {
    if (memory.dopytywalny.contains(condition)) return true;
    return is_negated(condition) && memory.dopytywalny.contains(condition.substr(1));
}

bool has_non_askable(const AskableMemory& memory, const StringList& conditions) {
    return std::any_of(conditions.begin(), conditions.end(),
                       [&](const std::string& c) { return !is_askable(memory, c); });
}

const StringList& askable_for_constraints(const FactStore& store, const AskableMemory& memory) {
    return store.any(Kind::nazwa_mo) ? memory.lista_warunkow_i_argumentow_dopytywalnych
                                     : memory.lista_warunkow_dopytywalnych;
}

bool is_askable_for_constraints(const FactStore& store, const AskableMemory& memory,
                                const std::string& condition) {
    const auto& list = askable_for_constraints(store, memory);
    return std::find(list.begin(), list.end(), condition) != list.end();
}

}  // namespace xamo
