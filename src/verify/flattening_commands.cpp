#include "verify/flattening_commands.h"

#include <charconv>
#include <unordered_set>

#include "askable/list_ops.h"
#include "dialog/interaction.h"
#include "dialog/report.h"
#include "kb/conditions.h"

namespace xamo {
namespace {

const std::string kAllDone = "To już wszystkie reguły spłaszczone!";
const std::string kConfirmTitle =
    "Reguła spłaszczona: Numer, Wniosek, Lista warunków dopytywalnych, Numery reguł "
    "spłaszczających";

// Writes one flattening (fields joined by `gap`) and asks whether to go on.
bool show(RuleDiagnosisContext& ctx, const RuleIndex::IndexedRule& rule, const Flattening& f,
          const std::string& gap) {
    const RuleIndex& index = ctx.index();
    const std::string number = std::to_string(rule.number);
    const std::string& conclusion = index.text(rule.conclusion);
    const std::string conditions = list_text(index.texts(f.conditions));
    const std::string numbers = list_text(f.numbers);
    ctx.ui.write(number + gap + conclusion + gap + conditions + gap + numbers);
    ctx.ui.new_line();
    return ctx.ui.confirm(kConfirmTitle,
                          number + ". " + conclusion + " " + conditions + " " + numbers +
                              "\n\nCzy chcesz zobaczyć następną regułę spłaszczoną?");
}

// Shows every flattening of one rule; false when the user answered "Nie".
bool show_all(RuleDiagnosisContext& ctx, std::size_t position, const std::string& gap) {
    RuleIndex& index = ctx.index();
    const auto& rule = index.rules()[position];
    Flattener flattener(index, rule.conditions);
    bool go_on = true;
    while (const Flattening* f = flattener.next()) {
        if (!show(ctx, rule, *f, gap)) {
            go_on = false;
            break;
        }
    }
    if (flattener.reached_cycle()) ctx.reached_cycle(rule.number);
    return go_on;
}

void write_headers(Report& report, std::initializer_list<const char*> pieces) {
    for (const char* piece : pieces) report.pisz_tuto(piece);
    report.piszcr();
    report.piszcr();
}

}  // namespace

void tryb_splaszczenia(RuleDiagnosisContext& ctx) {
    UserInteraction& ui = ctx.ui;
    Report report(ctx.store, ui);
    ui.write("Reguły spłaszczone bazy reguł " + ctx.base_name());
    ui.new_line();
    ui.new_line();
    write_headers(report, {"Numer", "  ", "Wniosek", "  ", "Lista warunków", "  ",
                           "Numery reguł spłaszczających"});
    const auto& rules = ctx.index().rules();
    for (std::size_t position = 0; position < rules.size(); ++position) {
        if (ctx.memory.marked_for_analysis(rules[position].number)) continue;
        if (!show_all(ctx, position, "  ")) {
            ctx.tell_cycles();
            return;
        }
    }
    ctx.tell_cycles();
    ui.note("Uwaga!", ctx.flags.sprzecznosc_1z
                          ? "Zewnętrznie sprzecznej bazy reguł nie można spłaszczyć!"
                          : kAllDone);
}

StringList tryb_splaszczenia_1(RuleDiagnosisContext& ctx) {
    auto& entries = ctx.memory.nr_wniosek;
    std::unordered_set<std::string> known(entries.begin(), entries.end());
    for (const Fact& fact : ctx.store.all(Kind::regula)) {
        const Rule rule(fact);
        if (ctx.memory.marked_for_analysis(rule.number())) continue;
        std::string entry = std::to_string(rule.number()) + "  " + rule.conclusion();
        if (known.insert(entry).second) entries.push_back(std::move(entry));
    }
    return sorted(entries);
}

void splaszczanie_wybranej_reguly(RuleDiagnosisContext& ctx) {
    UserInteraction& ui = ctx.ui;
    const StringList items = tryb_splaszczenia_1(ctx);
    const auto chosen = ui.select_item("Wybór reguły do splaszczenia",
                                       "Numer reguły           Wniosek reguły", items);
    // tok: the first token of the chosen item, the rule number.
    std::optional<std::string> tok;
    if (chosen && *chosen >= 0 && static_cast<std::size_t>(*chosen) < items.size()) {
        const std::string& item = items[static_cast<std::size_t>(*chosen)];
        tok = item.substr(0, item.find(' '));
    }
    std::int32_t number = 0;
    if (tok) {
        const auto [end, error] = std::from_chars(tok->data(), tok->data() + tok->size(), number);
        if (error != std::errc() || end != tok->data() + tok->size()) tok.reset();
    }
    if (!tok) {
        ui.note("Uwaga!", kAllDone);
        return;
    }
    Report report(ctx.store, ui);
    for (const char* piece : {"Wyniki spłaszczenia reguły", " "}) report.pisz_tuto(piece);
    report.pisz_tuto(*tok);
    report.pisz_tuto(":");
    report.piszcr();
    report.piszcr();
    write_headers(report, {"Numer", "  ", "Wniosek", "     ", "Lista warunków dopytywalnych",
                           "          ", "Numery reguł spłaszczających"});
    const auto& rules = ctx.index().rules();
    for (std::size_t position = 0; position < rules.size(); ++position) {
        if (rules[position].number != number ||
            ctx.memory.marked_for_analysis(rules[position].number))
            continue;
        if (!show_all(ctx, position, " ")) {
            ctx.tell_cycles();
            ui.note("Uwaga!", "Koniec spłaszczania wybranej reguły!");
            return;
        }
    }
    ctx.tell_cycles();
    ui.note("Uwaga!", kAllDone);
}

}  // namespace xamo
