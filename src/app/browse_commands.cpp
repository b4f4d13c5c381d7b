#include "app/browse_commands.h"

#include <string>
#include <variant>
#include <vector>

#include "app/application.h"
#include "kb/codec.h"
#include "kb/files.h"
#include "kb/numbers.h"
#include "loading/base_texts.h"

namespace xamo {
namespace {

struct ShownField {
    const char* label;
    std::size_t index;  // position of the field in the fact
};

struct BrowseKindInfo {
    int command;
    BrowseKind browse;
    Kind kind;
    const char* title;
    const char* heading;
    const char* formula;
    const char* number_label;
    std::vector<ShownField> fields;
    const char* empty_title;
    const char* empty_text;
};

const char* const kErrorTitle = "Uwaga błąd!";
const char* const kWarningTitle = "Uwaga!";

const std::vector<BrowseKindInfo>& browse_kinds() {
    static const std::vector<BrowseKindInfo> kinds = {
        {10061,
         BrowseKind::Rules,
         Kind::regula,
         "Przegląd reguł",
         "",
         "",
         "Nr reguły",
         {{"Wniosek z reguły", 1}, {" Lista warunków ", 2}},
         kErrorTitle,
         "Baza reguł nie zawiera reguł !"},
        {10089,
         BrowseKind::Constraints,
         Kind::ograniczenie,
         "Przegląd ograniczeń",
         "",
         "",
         "Nr ograniczenia",
         {{" Warunki wzajemnie się wykluczające ", 1}},
         kErrorTitle,
         "Baza ograniczeń nie zawiera ograniczeń !"},
        {10074,
         BrowseKind::LinearModels,
         Kind::model_liniowy,
         "Przegląd modeli liniowych",
         "MODEL LINIOWY",
         "y=a1*x1+a2*x2+...+an*xn",
         "Nr modelu",
         {{"Warunek stosowania", 1},
          {"Wartość formy lin.", 2},
          {"Semafor wyświetlania", 5},
          {" Lista współczynników ", 3},
          {" Lista wartości zmiennych ", 4}},
         kWarningTitle,
         "Baza modeli nie zawiera modeli liniowych !"},
        {10075,
         BrowseKind::BasicModels,
         Kind::model,
         "Przegląd modeli podstawowych",
         "MODEL PODSTAWOWY",
         "",
         "Nr modelu",
         {{"Warunek stosowania", 1},
          {"Wynik", 2},
          {"Argument 1", 3},
          {"Symbol operacji", 4},
          {"Argument 2", 5},
          {"Semafor wyświetlania", 6}},
         kWarningTitle,
         "Baza modeli nie zawiera modeli podstawowych !"},
        {10076,
         BrowseKind::ExtendedModels,
         Kind::model_r,
         "Przegląd modeli rozszerzonych",
         "MODEL ROZSZERZONY",
         "",
         "Nr modelu",
         {{"Warunek stosowania", 1},
          {"Wynik", 2},
          {"Symbol operacji", 3},
          {"Semafor wyświetlania", 5},
          {" Lista zmiennych ", 4}},
         kWarningTitle,
         "Baza modeli nie zawiera modeli rozszerzonych !"},
        {10077,
         BrowseKind::PolynomialModels,
         Kind::model_wielomianowy,
         "Przegląd modeli wielomianowych",
         "MODEL WIELOMIANOWY",
         "y=a0+a1*x+a2*x^2+...+an*x^n",
         "Nr modelu",
         {{"Warunek stosowania", 1},
          {"Wartość wielomianu", 2},
          {"Semafor wyświetlania", 6},
          {"Wartość zmiennej", 3},
          {" Lista współczynników ", 4},
          {" Lista potęg ", 5}},
         kWarningTitle,
         "Baza modeli nie zawiera modeli wielomianowych !"},
    };
    return kinds;
}

const BrowseKindInfo& info_of(BrowseKind kind) {
    for (const auto& info : browse_kinds()) {
        if (info.browse == kind) return info;
    }
    return browse_kinds().front();
}

// The lines a field shows: numbers in decimal, lists one element per line.
std::vector<std::string> field_lines(const FieldValue& value) {
    struct Visitor {
        std::vector<std::string> operator()(std::int32_t n) const { return {std::to_string(n)}; }
        std::vector<std::string> operator()(double x) const { return {display_real(x)}; }
        std::vector<std::string> operator()(const Name& s) const { return {s.str()}; }
        std::vector<std::string> operator()(const NameList& list) const { return list.texts(); }
        std::vector<std::string> operator()(const IntegerList& list) const {
            std::vector<std::string> lines;
            lines.reserve(list.size());
            for (auto n : list) lines.push_back(std::to_string(n));
            return lines;
        }
    };
    return std::visit(Visitor{}, value);
}

bool is_list(const FieldValue& value) {
    return std::holds_alternative<NameList>(value) || std::holds_alternative<IntegerList>(value);
}

std::vector<BrowseCount> counts_for(const FactStore& store, const BrowseKindInfo& info) {
    if (info.kind == Kind::regula)
        return {{"Sumaryczna liczba reguł", store.all(Kind::regula).size()}};
    if (info.kind == Kind::ograniczenie) {
        return {{"Sumaryczna liczba ograniczeń", store.all(Kind::ograniczenie).size()}};
    }
    return {{"Liczba modeli podstawowych", store.all(Kind::model).size()},
            {"Liczba modeli rozszerzonych", store.all(Kind::model_r).size()},
            {"Liczba modeli liniowych", store.all(Kind::model_liniowy).size()},
            {"Liczba modeli wielomianowych", store.all(Kind::model_wielomianowy).size()}};
}

// --- whole base files in the read-only text window --------------------------------------------

struct WholeFileCommand {
    int command;
    BaseKind base;
    const char* missing;  // note when no base of the kind is loaded
};

const std::vector<WholeFileCommand>& whole_file_commands() {
    static const std::vector<WholeFileCommand> commands = {
        {10062, BaseKind::Rules, "Brak bazy reguł do przeglądania!"},
        {10078, BaseKind::Models, "Brak bazy modeli do przeglądania!"},
        {10090, BaseKind::Constraints, "Brak bazy ograniczeń do przeglądania!"},
    };
    return commands;
}

void show_whole_file(Application& app, const WholeFileCommand& command) {
    auto& ui = app.ui();
    const auto& texts = base_texts(command.base);
    const auto path = texts.path_fact ? app.store().text(*texts.path_fact) : std::nullopt;
    if (!path) {
        ui.note(kWarningTitle, command.missing);
        return;
    }
    std::string bytes;
    const auto read = read_file_bytes(*path, bytes);
    if (!read.ok) {
        ui.note(kErrorTitle, read.error);
        return;
    }
    const std::string name = file_name_of(*path);
    const std::string title = "xamo_RD Przegląd pliku bazy: " + name;
    ui.set_main_title(title);
    ui.show_text(title, cp1250_to_utf8(bytes));
}

// --- choosing a base file for the edit window ---------------------------------------------------

struct EditCommand {
    int command;
    BaseKind base;
    const char* title;
};

const std::vector<EditCommand>& edit_commands() {
    static const std::vector<EditCommand> commands = {
        {10064, BaseKind::Rules, "Wybierz nazwę edytowanej bazy reguł : "},
        {10081, BaseKind::Models, "Wybierz nazwę edytowanej bazy modeli : "},
        {10091, BaseKind::Constraints, "Wybierz nazwę edytowanej bazy ograniczeń : "},
        {10099, BaseKind::Advice, "Wybierz nazwę edytowanej bazy rad : "},
        {10110, BaseKind::Graphics, "Wybierz edytowaną bazę  grafiki"},
        {10120, BaseKind::Sounds, "Wybierz edytowaną bazę dźwięku "},
    };
    return commands;
}

// The file is chosen with the base kind's own filter and mask, as when loading.
void edit_base_file(UserInteraction& ui, const EditCommand& command) {
    const auto& texts = base_texts(command.base);
    const auto path = ui.choose_file_to_open(command.title, {texts.filter}, texts.mask);
    if (!path) return;
    ui.open_editor(*path);
}

}  // namespace

std::optional<BrowseView> browse_view(const FactStore& store, BrowseKind kind) {
    const auto& info = info_of(kind);
    const auto& facts = store.all(info.kind);
    if (facts.empty()) return std::nullopt;
    BrowseView view;
    view.title = info.title;
    view.heading = info.heading;
    view.formula = info.formula;
    view.number_label = info.number_label;
    const Fact& sample = facts.front();
    for (const auto& field : info.fields) {
        view.fields.push_back({field.label, is_list(sample.fields[field.index])});
    }
    view.items.reserve(facts.size());
    for (const auto& fact : facts) {
        BrowseItem item;
        item.number = number_of(fact);
        for (const auto& field : info.fields)
            item.values.push_back(field_lines(fact.fields[field.index]));
        view.items.push_back(std::move(item));
    }
    view.counts = counts_for(store, info);
    return view;
}

void open_browse(Application& app, BrowseKind kind) {
    auto view = browse_view(app.store(), kind);
    if (!view) {
        const auto& info = info_of(kind);
        app.ui().note(info.empty_title, info.empty_text);
        return;
    }
    app.ui().show_browse(*view);
}

void register_browse_commands(Application& app) {
    auto& commands = app.commands();
    for (const auto& info : browse_kinds()) {
        const BrowseKind kind = info.browse;
        commands.set_handler(info.command, [&app, kind] { open_browse(app, kind); });
    }
    for (const auto& command : whole_file_commands()) {
        commands.set_handler(command.command, [&app, &command] { show_whole_file(app, command); });
    }
    for (const auto& command : edit_commands()) {
        commands.set_handler(command.command,
                             [&app, &command] { edit_base_file(app.ui(), command); });
    }
}

}  // namespace xamo
