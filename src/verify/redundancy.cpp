#include "verify/redundancy.h"

#include <algorithm>
#include <memory>
#include <set>
#include <unordered_map>

#include "dialog/interaction.h"
#include "dialog/report.h"
#include "dialog/write_lines.h"
#include "kb/conditions.h"
#include "verify/reachability.h"

namespace xamo::redundancy {
namespace {

constexpr int kReportCommand = 10069;
const std::string kTitle = "Diagnostyka nadmiarowości bazy reguł";

using Pair = std::pair<std::int32_t, std::int32_t>;

// podzbiór_ogólny over sorted sets of ids.
bool contained_either_way(const std::vector<ConditionId>& a, const std::vector<ConditionId>& b) {
    if (a.size() <= b.size() && std::includes(b.begin(), b.end(), a.begin(), a.end())) return true;
    return b.size() <= a.size() && std::includes(a.begin(), a.end(), b.begin(), b.end());
}

// In a base without cycles every flattening of a rule holds the rule's conditions that stand for
// themselves and nothing its conditions cannot reach, so no flattening of `inner` lies within one
// of `outer` when `outer` cannot reach all of those.
bool may_lie_within(const RuleIndex& index, const Reachability& reach,
                    const RuleIndex::IndexedRule& inner, const RuleIndex::IndexedRule& outer) {
    for (ConditionId must : inner.conditions) {
        if (!index.stands_for_itself(must)) continue;
        const bool reached = std::any_of(outer.conditions.begin(), outer.conditions.end(),
                                         [&](ConditionId c) { return reach.reaches(c, must); });
        if (!reached) return false;
    }
    return true;
}

}  // namespace

bool wyznacz_nadmiar(RuleDiagnosisContext& ctx) {
    SearchProgress progress(ctx.ui, "Diagnostyka nadmiarowości",
                            "Trwa porównywanie reguł spłaszczonych bazy " + ctx.base_name() + "...",
                            ctx.progress_delay);
    progress.tell_when_interrupted(not_fully_checked("reguł", ctx.base_name()));
    if (!ctx.build_index(progress)) return false;
    RuleIndex& index = ctx.index();
    const auto& rules = index.rules();
    auto pairs = ctx.memory.reguly_nadmiarowe_n1;
    auto flattened_pairs = ctx.memory.para_splaszczona_n1;
    std::set<Pair> stored(pairs.begin(), pairs.end());
    // Each rule's flattenings as sorted sets, made once.
    std::unordered_map<std::size_t, std::vector<std::vector<ConditionId>>> sets;
    const auto sets_of = [&](std::size_t position) -> const std::vector<std::vector<ConditionId>>* {
        if (const auto it = sets.find(position); it != sets.end()) return &it->second;
        const auto* flattenings = ctx.flattenings(position, &progress);
        if (!flattenings) return nullptr;
        std::vector<std::vector<ConditionId>> out;
        out.reserve(flattenings->size());
        for (const Flattening& f : *flattenings) {
            out.push_back(f.conditions);
            std::sort(out.back().begin(), out.back().end());
        }
        return &sets.emplace(position, std::move(out)).first->second;
    };
    // Pairs that cannot hold each other are passed over, unless a cycle makes the flattenings
    // worth making for the note they lead to.
    std::unique_ptr<Reachability> reach;
    if (!index.has_cycles()) reach = std::make_unique<Reachability>(index);
    const auto unrelated = [&](std::size_t first, std::size_t second) {
        return reach && !may_lie_within(index, *reach, rules[first], rules[second]) &&
               !may_lie_within(index, *reach, rules[second], rules[first]);
    };
    for (std::size_t first = 0; first < rules.size(); ++first) {
        const std::int32_t n1 = rules[first].number;
        for (std::uint32_t second : index.concluding(rules[first].conclusion)) {
            if (second <= first) continue;
            if (!progress.step()) return false;
            const std::int32_t n2 = rules[second].number;
            if (n1 == n2 || stored.contains({n1, n2}) || stored.contains({n2, n1})) continue;
            if (unrelated(first, second)) continue;
            const auto* sets1 = sets_of(first);
            const auto* sets2 = sets1 ? sets_of(second) : nullptr;
            if (!sets2) return false;
            const auto& flattenings1 = *ctx.flattenings(first, nullptr);
            const auto& flattenings2 = *ctx.flattenings(second, nullptr);
            for (std::size_t i = 0; i < sets1->size(); ++i) {
                for (std::size_t j = 0; j < sets2->size(); ++j) {
                    if (!progress.step()) return false;
                    if (!contained_either_way((*sets1)[i], (*sets2)[j])) continue;
                    pairs.emplace_back(n1, n2);
                    stored.insert({n1, n2});
                    flattened_pairs.push_back(
                        {n1, index.text(rules[first].conclusion),
                         index.texts(flattenings1[i].conditions), flattenings1[i].numbers, n2,
                         index.texts(flattenings2[j].conditions), flattenings2[j].numbers});
                }
            }
        }
    }
    auto& memory = ctx.memory;
    if (!pairs.empty()) memory.jest_nadmiar = true;
    memory.reguly_nadmiarowe_n1 = std::move(pairs);
    memory.para_splaszczona_n1 = std::move(flattened_pairs);
    return true;
}

void testuj_nadmiar_1(RuleDiagnosisContext& ctx) {
    UserInteraction& ui = ctx.ui;
    const std::string name = ctx.base_name();
    write_lines(ui, {"Baza reguł " + name + " może być diagnozowana na obecność nadmiarowości.",
                     "Diagnostyka nadmiarowości dużych i silnie zagnieżdżonych baz reguł może "
                     "trwać długo.",
                     "", "Zaleca się diagnozowanie nadmiarowości baz nowych lub zmodyfikowanych.",
                     "Przy kolejnym stosowaniu tych baz można test nadmiarowości pominąć.", ""});
    const bool yes = ui.confirm(
        "Wybierz", "Baza reguł rozwinięta dokładna\n   " + name +
                       "\nmoże być diagnozowana na obecność nadmiarowości.\n" +
                       "\nDiagnostyka nadmiarowości dużych i silnie zagnieżdżonych \nbaz reguł "
                       "może trwać długo. " +
                       "Zaleca się diagnozowanie \nnadmiarowości baz nowych lub zmodyfikowanych." +
                       "\nPrzy kolejnym stosowaniu tych baz można test nadmiarowości pominąć." +
                       "\n\nChcesz diagnozować bazę reguł na obecność nadmiarowości?");
    if (yes) informuj_nadmiar(ctx);
}

bool informuj_nadmiar(RuleDiagnosisContext& ctx) {
    if (ctx.flags.sprzecznosc_1z) return false;
    UserInteraction& ui = ctx.ui;
    const std::string name = ctx.base_name();
    const std::string tag = kTagRedundancy;
    if (ctx.memory.reguly_nadmiarowe_n1.empty()) {
        // An interrupted search counts as a declined question.
        if (!wyznacz_nadmiar(ctx)) return true;
        ctx.tell_cycles();
        if (ctx.memory.reguly_nadmiarowe_n1.empty()) {
            ui.write("Baza reguł rozwinieta dokładna " + name + " nie ma reguł nadmiarowych!");
            ui.new_line();
            ui.note("Wynik diagnozowania nadmiarowości",
                    "Baza reguł rozwinięta dokładna\n   " + name + "\nnie ma reguł nadmiarowych");
            ctx.set_enabled({kReportCommand}, false);
            return true;
        }
    }
    write_lines(
        ui, {" W załadowanej bazie reguł " + name + " są reguły nadmiarowe" + " typu " + tag + ".",
             "", " Załadowaną bazę reguł możesz stosować do wnioskowania, gdyż nadmiarowość",
             " reguł nie zakłóca wnioskowania. Może jednak wydłużyć czas wnioskowania i",
             " uzależnić wynik wnioskowania od niepotrzebnych warunków.",
             " Dlatego lepiej nadmiarowość usunąć.", "",
             " W tym celu musisz kontynuować pracę z załadowaną bazą reguł",
             " i  przejść do opcji:", "", " 'Baza reguł/Diagnostyka nadmiarowości bazy reguł',", "",
             " gdzie dowiesz się o istocie wykrytej nadmiarowości.", ""});
    ui.note("Uwaga:",
            "Baza reguł rozwinięta dokładna\n   " + name + "\nma reguły nadmiarowe typu " + tag +
                "\n\nZaładowaną bazę reguł możesz stosować do wnioskowania, \ngdyż nadmiarowość "
                "reguł nie zakłóca wnioskowania. \nMoże jednak wydłużyć czas wnioskowania "
                "i\nuzależnić wynik wnioskowania od niepotrzebnych warunków." +
                "\nDlatego lepiej nadmiarowość usunąć.\nW tym celu musisz kontynuować pracę z "
                "załadowaną \nbazą reguł i przejść do opcji:\n   'Baza reguł dokładna\n     "
                "Diagnostyka nadmiarowości bazy reguł',\ngdzie dowiesz się o istocie wykrytej "
                "nadmiarowości.");
    ctx.set_enabled({kReportCommand, 10061, 10062, 10063, 10071, 10087, 10097, 10108}, true);
    ctx.set_enabled({10094, 10095}, false);
    return true;
}

namespace {

// One flattened rule of a pair. `close_recorded`: the ")" after the first list enters the report.
void write_flattened(UserInteraction& ui, Report& report, std::int32_t number,
                     const std::string& conclusion, const StringList& conditions,
                     const IntegerList& numbers, bool close_recorded) {
    ui.write(" W wyniku spłaszczenia reguły " + std::to_string(number) + " otrzymuje się: ");
    report.piszcr();
    ui.write("   reguła_spłaszczona(" + std::to_string(number) + ", " + conclusion + ", " + "[");
    for (std::size_t i = 0; i < conditions.size(); ++i) {
        ui.write(conditions[i]);
        ui.write(i + 1 < conditions.size() ? "," : "]");
    }
    // An empty list still closes its bracket.
    if (conditions.empty()) ui.write("]");
    if (close_recorded) {
        report.pisz(")");
    } else {
        ui.write(")");
    }
    report.piszcr();
    ui.write(" Spłaszczenie uzyskano za pomocą reguł o numerach: ");
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i) report.pisz(",");
        report.pisz(std::to_string(numbers[i]));
    }
    report.piszcr();
}

std::string numbers_text(const IntegerList& numbers) {
    std::string out;
    for (std::int32_t n : numbers) out += std::to_string(n) + ", ";
    return out;
}

}  // namespace

void pisz_nadmiar(RuleDiagnosisContext& ctx) {
    UserInteraction& ui = ctx.ui;
    Report report(ctx.store, ui);
    auto& memory = ctx.memory;
    const std::string name = ctx.base_name();
    const std::string tag = kTagRedundancy;
    if (memory.reguly_nadmiarowe_n1.empty() && !wyznacz_nadmiar(ctx)) return;
    if (!memory.jest_nadmiar) {
        ui.new_line();
        ui.new_line();
        ui.note("Wynik diagnozowania nadmiarowości bazy reguł",
                "Baza reguł rozwinięta dokładna\n   " + name + "\nnie ma reguł nadmiarowych!");
        return;
    }
    report.kasowanie_tekst_raportu();
    const ReportCapture shown(report);
    ui.write(" Raport diagnostyki nadmiarowości bazy reguł ");
    report.piszcr();
    ui.write(" " + name);
    report.piszcr();
    report.piszcr();
    ui.write(" Wykrywanie nadmiarowości typu " + tag + " odbywa się na drodze spłaszczania reguł");
    report.piszcr();
    ui.write(" i porównania list warunków spłaszczonych reguł.");
    report.piszcr();
    ui.note("Raport diagnostyki nadmiarowości bazy reguł " + name,
            "Wykrywanie nadmiarowości typu " + tag +
                " odbywa się na drodze \nspłaszczania reguł i porównania list warunków "
                "spłaszczonych reguł.");

    std::multiset<Pair> pairs(memory.reguly_nadmiarowe_n1.begin(),
                              memory.reguly_nadmiarowe_n1.end());
    for (const RedundantFlattenings& p : memory.para_splaszczona_n1) {
        if (!pairs.contains({p.first, p.second})) continue;
        write_flattened(ui, report, p.first, p.conclusion, p.first_conditions, p.first_numbers,
                        true);
        write_flattened(ui, report, p.second, p.conclusion, p.second_conditions, p.second_numbers,
                        false);
        ui.write(" Reguły " + std::to_string(p.first) + " i ");
        report.pisz(std::to_string(p.second));
        ui.write(" zawierają nadmiar typu " + tag + ".");
        report.piszcr();
        ui.new_line();
        ui.new_line();
        pairs.erase({p.first, p.second});
        const std::string n1 = std::to_string(p.first);
        const std::string n2 = std::to_string(p.second);
        ui.note(kTitle, "W wyniku spłaszczenia reguły " + n1 +
                            " otrzymuje się:\n\nreguła_spłaszczona(" + n1 + ", " + p.conclusion +
                            ", " + list_text(p.first_conditions) +
                            ")\n\nSpłaszczenie uzyskano za pomocą reguł o numerach: " +
                            numbers_text(p.first_numbers) + "\n\n\nW wyniku spłaszczenia reguły " +
                            n2 + " otrzymuje się:\n\nreguła_spłaszczona(" + n2 + ", " +
                            p.conclusion + ", " + list_text(p.second_conditions) +
                            ")\n\nSpłaszczenie uzyskano za pomocą reguł o numerach: " +
                            numbers_text(p.second_numbers) + "\n\nReguły " + n1 + " i " + n2 +
                            " zawierają nadmiar typu " + tag + ".");
    }
    std::erase_if(memory.reguly_nadmiarowe_n1,
                  [&](const Pair& pair) { return !pairs.contains(pair); });

    report.piszcr();
    ui.write(" Koniec raportu diagnostyki nadmiarowości bazy reguł ");
    report.piszcr();
    ui.write(" " + name + ".");
    ui.note(kTitle,
            "Koniec raportu diagnostyki nadmiarowości bazy reguł rozwiniętej dokładnej\n   " +
                name + ".");
    memory.para_splaszczona_n1.clear();
    report.raport();
}

}  // namespace xamo::redundancy
