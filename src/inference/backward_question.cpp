#include "inference/backward_question.h"

#include <optional>
#include <unordered_map>
#include <vector>

#include "inference/backward.h"
#include "inference/models.h"
#include "inference/questions.h"
#include "kb/conditions.h"
#include "kb/numbers.h"

namespace xamo {
namespace {

enum Button { kYes = 1, kNo = 2, kWhy = 3 };

const std::string kSeventeen(17, ' ');

// The first model of `kind` (store order) whose application condition is c and which passes
// `accept`.
template <typename Accept>
const Fact* model_applied_when(const FactStore& store, Kind kind, const std::string& c,
                               Accept accept) {
    for (const Fact& model : store.all(kind)) {
        if (AnyModel(model).condition() == c && accept(model)) return &model;
    }
    return nullptr;
}

void chains(BackwardEngine& engine, bool with_models) {
    InferenceContext& ctx = engine.context();
    przedstawienie_faktow_dla_wyjasnienia(ctx);
    ctx.piszcr();
    przebieg_wnioskowania_reguly(engine, engine.memory().regula_stosowana);
    if (with_models) przebieg_wnioskowania_modele(ctx);
}

// wyjasnij for the answer "&Dlaczego?": false when nothing explains the question.
bool wyjasnij(BackwardEngine& engine, const std::string& c) {
    InferenceContext& ctx = engine.context();
    const FactStore& store = ctx.store;
    const auto any = [](const Fact&) { return true; };
    const Fact* basic = model_applied_when(store, Kind::model, c, any);
    const auto& considered = engine.memory().regula_stosowana;
    const Fact* rule = considered.empty() ? nullptr : engine.rule(considered.front());
    if (basic == nullptr && rule != nullptr && Rule(*rule).display() == 1) {
        ctx.pisz("    DLACZEGO?");
        wyjasnienie_regula(ctx, *rule, Rule(*rule).conclusion().str());
        chains(engine, false);
        return true;
    }
    const auto arithmetic = [](const Fact& model) { return !is_relational(model); };
    if (const Fact* model = model_applied_when(store, Kind::model, c, arithmetic)) {
        ctx.pisz("    DLACZEGO?");
        engine.models().explain_unapplied(*model);
    } else if (const Fact* extended = model_applied_when(store, Kind::model_r, c, any)) {
        ctx.pisz("    DLACZEGO?");
        engine.models().explain_unapplied(*extended);
    } else if (basic != nullptr) {
        ctx.pisz("    DLACZEGO?");
        engine.models().explain_unapplied(*basic);
    } else {
        return false;
    }
    chains(engine, true);
    return true;
}

}  // namespace

void przedstawienie_faktow_dla_wyjasnienia(InferenceContext& ctx) {
    ctx.clear_dialog();
    ctx.piszcr();
    ctx.line("Dane są następujące fakty:");
    for (const auto& f : ctx.memory.rbd_wstecz) {
        if (f == kEnd || f == "nkoniec") continue;
        ctx.line_and_dialog("    " + f);
    }
    ctx.piszcr();
    ctx.line("Dane są następujące zmienne ustalone:");
    for (const auto& [name, value] : ctx.memory.zmienna_ustalona) {
        ctx.line_and_dialog("    " + name + " = " + display_real(value));
    }
    if (ctx.detailed() && !ctx.lines.empty()) {
        ctx.title = "Dane są następujące fakty i zmienne ustalone:";
        ctx.show_dialog();
    }
    ctx.clear_dialog();
}

void przebieg_wnioskowania_reguly(BackwardEngine& engine, const std::deque<std::int32_t>& numbers) {
    InferenceContext& ctx = engine.context();
    ctx.clear_dialog();
    for (std::int32_t n : numbers) {
        const Fact* rule = engine.rule(n);
        if (rule == nullptr) continue;
        ctx.line_and_dialog("Z reguły " + std::to_string(n) +
                            " może wynikać: " + Rule(*rule).conclusion() + ".");
    }
    ctx.title = "Z reguł/reguły może wynikać:";
    ctx.show_dialog();
}

void przebieg_wnioskowania_modele(InferenceContext& ctx) {
    ctx.clear_dialog();
    // Model numbers are unique in a base that inference accepts; the first model of a number
    // in kind order names it.
    std::unordered_map<std::int32_t, const Fact*> by_number;
    for (Kind kind : {Kind::model, Kind::model_r, Kind::model_liniowy, Kind::model_wielomianowy}) {
        for (const Fact& model : ctx.store.all(kind))
            by_number.emplace(model_number(model), &model);
    }
    // In the order the models were applied.
    for (std::int32_t n : ctx.memory.model_stosowany) {
        const auto it = by_number.find(n);
        if (it == by_number.end()) continue;
        ctx.line_and_dialog("Z modelu " + std::to_string(n) +
                            " może wynikać: " + AnyModel(*it->second).result() + ".");
    }
    ctx.title = "Z modelu/modeli może wynikać:";
    ctx.show_dialog();
}

bool pytaj(BackwardEngine& engine, const std::string& c) {
    InferenceContext& ctx = engine.context();
    const std::string q = c + "?";
    ctx.pisz(q);
    int odpowiedz = ctx.ui.ask("Warunek jest prawdą?", q, {"&Tak", "&Nie", "&Dlaczego?"});
    if (odpowiedz == kWhy) {
        if (!wyjasnij(engine, c)) {
            // Nothing to explain: the question stays unanswered and c is not proved.
            ctx.piszcr();
            return false;
        }
        ctx.pisz("    " + q);
        odpowiedz = ctx.ui.confirm("Wybierz:", q) ? kYes : kNo;
    }
    ctx.memory.answers.insert_or_assign(positive_form(c), Answer{c, odpowiedz == kYes});
    if (odpowiedz == kYes) {
        ctx.pisz(kSeventeen + "    TAK");
        ctx.piszcr();
        ctx.piszcr();
        return engine.pamietaj_wstecz(c, Choice::Cause::Answered);
    }
    ctx.pisz(kSeventeen + "    NIE");
    ctx.piszcr();
    ctx.piszcr();
    engine.pamietaj_wstecz(negacja(c));
    return false;
}

}  // namespace xamo
