#include "verify/rule_constraint_contradictions.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "dialog/interaction.h"
#include "dialog/report.h"
#include "dialog/write_lines.h"
#include "kb/conditions.h"
#include "verify/joint_helpers.h"

namespace xamo::joint_contradictions {
namespace {

constexpr int kReportCommand = 10094;
const std::string kTitle = "Diagnostyka sprzeczności łącznych bazy reguł i bazy ograniczeń";

}  // namespace

namespace {

// The rules whose flattenings may hold two members of one constraint, or may pass through a
// cycle (whose note the user must get): counted up from each member through every replacement,
// one constraint at a time. The others cannot give a finding and are not flattened.
std::vector<char> worth_flattening(const RuleIndex& index,
                                   const ConstraintMembership& constraints) {
    const std::size_t n = index.size();
    const auto& rules = index.rules();
    // Nodes: conditions, then rules.
    std::vector<std::vector<std::uint32_t>> parents(n);
    for (ConditionId c = 0; c < n; ++c) {
        for (const Replacement& r : index.replacements(c)) {
            if (r.own) continue;
            for (ConditionId d : r.conditions) parents[d].push_back(c);
        }
    }
    for (std::size_t position = 0; position < rules.size(); ++position) {
        for (ConditionId c : rules[position].conditions)
            parents[c].push_back(static_cast<std::uint32_t>(n + position));
    }
    std::vector<char> worth(rules.size(), 0);
    std::vector<std::uint32_t> mark(n + rules.size(), 0);
    std::vector<std::uint8_t> count(n + rules.size(), 0);
    std::vector<std::uint32_t> queue, touched;
    std::uint32_t generation = 0;
    // Every node above the sources (themselves included) once; `reached` on each.
    const auto climb = [&](const std::vector<ConditionId>& sources, auto&& reached) {
        ++generation;
        queue.clear();
        for (ConditionId c : sources) {
            if (mark[c] == generation) continue;
            mark[c] = generation;
            queue.push_back(c);
        }
        for (std::size_t i = 0; i < queue.size(); ++i) {
            const std::uint32_t node = queue[i];
            reached(node);
            if (node >= n) continue;
            for (std::uint32_t parent : parents[node]) {
                if (mark[parent] == generation) continue;
                mark[parent] = generation;
                queue.push_back(parent);
            }
        }
    };
    for (std::size_t k = 0; k < constraints.size(); ++k) {
        std::vector<ConditionId> members = constraints.member_ids(k);
        std::sort(members.begin(), members.end());
        members.erase(std::unique(members.begin(), members.end()), members.end());
        for (ConditionId member : members) {
            climb({member}, [&](std::uint32_t node) {
                if (count[node] == 0) touched.push_back(node);
                if (count[node] < 2) ++count[node];
                if (node >= n && count[node] >= 2) worth[node - n] = 1;
            });
        }
        for (std::uint32_t node : touched) count[node] = 0;
        touched.clear();
    }
    std::vector<ConditionId> cyclic;
    for (ConditionId c = 0; c < n; ++c) {
        if (index.same_cycle(c, c)) cyclic.push_back(c);
    }
    climb(cyclic, [&](std::uint32_t node) {
        if (node >= n) worth[node - n] = 1;
    });
    return worth;
}

}  // namespace

bool wyznacz_sprzecznosc_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory) {
    SearchProgress progress(ctx.ui, "Diagnostyka sprzeczności łącznych",
                            "Trwa spłaszczanie reguł bazy " + ctx.base_name() + "...",
                            ctx.progress_delay);
    progress.tell_when_interrupted(
        not_fully_checked("reguł", ctx.base_name(), "ograniczeń", constraint_base_name(ctx.store)));
    if (!ctx.build_index(progress)) return false;
    RuleIndex& index = ctx.index();
    const ConstraintMembership constraints(ctx.store, index);
    std::vector<JointContradiction> findings = memory.sprzecznosc_2_wszystko;
    std::vector<FlattenedRule> recorded = memory.regula_splaszczona_s2;
    std::unordered_set<std::string> known;
    for (const FlattenedRule& f : recorded) known.insert(flattened_key(f));
    // Members of each constraint among the conditions after the current one.
    std::vector<std::uint32_t> later(constraints.size(), 0);
    std::vector<std::size_t> touched;
    const auto& rules = index.rules();
    const std::vector<char> worth = worth_flattening(index, constraints);
    for (std::size_t position = 0; position < rules.size(); ++position) {
        if (!progress.step()) return false;
        if (!worth[position]) continue;
        const bool completed = ctx.each_flattening(position, &progress, [&](const Flattening& f) {
            if (!progress.step()) return false;
            // Walking from the end, the last answer found is the one of the earliest condition.
            std::optional<std::size_t> found;
            for (std::size_t i = f.conditions.size(); i-- > 0;) {
                const auto& of = constraints.of(f.conditions[i]);
                for (std::size_t k : of) {
                    if (later[k] > 0) {
                        found = k;
                        break;
                    }
                }
                for (std::size_t k : of) {
                    if (later[k]++ == 0) touched.push_back(k);
                }
            }
            for (std::size_t k : touched) later[k] = 0;
            touched.clear();
            if (!found) return true;
            FlattenedRule flattened{rules[position].number, index.text(rules[position].conclusion),
                                    index.texts(f.conditions), f.numbers};
            if (!known.insert(flattened_key(flattened)).second) return true;
            findings.push_back({flattened.number, constraints.number(*found), flattened.conclusion,
                                flattened.conditions, constraints.members(*found),
                                flattened.numbers});
            recorded.push_back(std::move(flattened));
            return true;
        });
        if (!completed) return false;
    }
    memory.sprzecznosc_2_wszystko = std::move(findings);
    memory.regula_splaszczona_s2 = std::move(recorded);
    return true;
}

void testuj_sprzecznosc_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory) {
    UserInteraction& ui = ctx.ui;
    write_lines(
        ui, {"Baza reguł i baza ograniczeń mogą być diagnozowane na obecność sprzeczności",
             "łącznych. Diagnostyka sprzeczności łącznych dużych i silnie zagnieżdżonych",
             "baz reguł i baz ograniczeń możľe trwać długo, gdyż wymaga ona spłaszczenia",
             "diagnozowanej bazy reguł.", "",
             "Zaleca się diagnozowanie sprzecznosci łącznych baz nowych lub", "zmodyfikowanych.",
             "Przy kolejnym stosowaniu tych baz można test sprzeczności łącznej ", "pominąć.", "",
             "Pamiętej, że sprzeczności łączne nie doprowadzą do 'zawieszenia się'",
             "komputera, lecz do tego, że reguły łącznie sprzeczne nie zostaną",
             "przez system wnioskujący zastosowane. Może to spowodować, że wnioski ",
             "nie będą poprawne. ", ""});
    const bool yes = ui.confirm(
        "Wybierz",
        "Baza reguł rozwinięta dokładna\n   " + ctx.base_name() +
            "\ni baza ograniczeń rozwinięta dokładna\n   " + constraint_base_name(ctx.store) +
            "\nmogą być diagnozowane na obecność sprzeczności łącznych. \n\nDiagnostyka "
            "sprzeczności łącznych dużych \ni silnie zagnieżdżonych baz reguł i ograniczeń" +
            "\nmoże trwać długo, gdyż wymaga ona spłaszczenia diagnozowanej bazy reguł." +
            "\nZaleca się diagnozowanie sprzeczności baz nowych \nlub zmodyfikowanych.\nPrzy "
            "kolejnym stosowaniu tych baz można test \nsprzeczności łącznych pominąć.\n" +
            "\nChcesz diagnozować bazę reguł i ograniczeń na obecność sprzeczności?");
    if (yes) informuj_sprzecznosc_2(ctx, memory);
}

void informuj_sprzecznosc_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory) {
    if (ctx.flags.sprzecznosc_1z) return;
    UserInteraction& ui = ctx.ui;
    const std::string r = ctx.base_name();
    const std::string o = constraint_base_name(ctx.store);
    const std::string tag = kTag;
    ui.write("Bazy reguł " + r + " i ograniczeń " + o);
    ui.new_line();
    ui.write("są diagnozowane na obecność sprzeczności łącznych.");
    ui.new_line();
    // An interrupted search counts as a declined question.
    if (!wyznacz_sprzecznosc_2(ctx, memory)) return;
    ctx.tell_cycles();
    if (memory.sprzecznosc_2_wszystko.empty()) {
        ui.write("Baza reguł " + r + " i baza ograniczeń " + o +
                 " nie mają sprzeczności łącznych!");
        ui.new_line();
        ui.note("Wynik diagnozowania sprzeczności łącznych",
                "Baza reguł rozwinięta dokładna\n   " + r +
                    "\ni baza ograniczeń rozwinięta dokładna\n   " + o +
                    "\nnie mają sprzeczności łącznych!");
        ctx.set_enabled({kReportCommand}, false);
        return;
    }
    ui.new_line();
    write_lines(
        ui, {" W  bazie reguł       " + r,
             " i  bazie ograniczeń  " + o,
             " jest co najmniej jedna sprzeczność łączna typu " + tag + ".",
             "",
             " Wymienione bazy możesz stosować dla wnioskowania.",
             " Sprzeczności łączne nie doprowadzą bowiem do 'zawieszenia się'",
             " komputera, lecz mogą sprawić, że reguła łącznie sprzeczna nie zostanie",
             " przez system wnioskujący zastosowana, gdyż jej warunki nie będą nigdy prawdziwe. ",
             " Może to spowodować, że wnioski  nie będą poprawne. Dlatego:",
             "",
             "  1)wykonaj diagnozę sprzeczności łącznych.",
             " W tym celu musisz przejść do opcji",
             " 'Baza ograniczeń/",
             "       Diagnostyka sprzeczności łącznych baz reguł i ograniczeń' ",
             "",
             "2)Wyznacz liczbę sprzeczności lącznych dla danej reguły i wyznacz liczbę",
             "możliwych spłaszczeń tej reguły, korzystając z opcji 'Analiza baza wiedzy'.",
             "Jeżeli liczba sprzeczności łącznych dla danej reguły jest taka sama jak liczba",
             "możliwych spłaszczeń tej reguły, to sprzeczności łączne mogą doprowadzić do "
             "niestosowania reguły. ",
             "Jeżeli natomiast liczba tych sprzeczności jest mniejsza od liczby",
             "możliwych spłaszczeń reguły, to reguła ta może być przez system wnioskujacy "
             "zastosowana. "});
    ui.note("Informacja o sprzeczności",
            "W  bazie reguł  \n   " + r + "\ni bazie ograniczeń \n   " + o +
                "\njest co najmniej jedna sprzeczność łączna typu  " + tag +
                ".\n\nWymienione bazy możesz stosować dla wnioskowania.\nSprzeczności łączne nie "
                "doprowadzą bowiem do \n'zawieszenia się' komputera, lecz mogą sprawić, " +
                "\n że reguła łacznie sprzeczna nie zostanie zastosowana, \ngdyż jej warunki nie "
                "będą nigdy prawdziwe. \nMoże to spowodować, że wnioski nie będą poprawne." +
                "\n\nDlatego:" +
                "\n\n1) Wykonaj diagnozę sprzeczności łącznych. \n W tym celu musisz przejść do "
                "opcji" +
                "\n   'Baza ograniczeń dokładna\n      Diagnostyka sprzeczności łącznych  baz "
                "reguł i ograniczeń'" +
                "\n\n2)Wyznacz liczbę sprzeczności lącznych dla danej reguły i wyznacz liczbę\n" +
                "możliwych spłaszczeń tej reguły, korzystając z opcji 'Analiza baza wiedzy'." +
                "\n\nJeżeli liczba sprzeczności łącznych dla danej reguły jest taka sama jak "
                "liczba" +
                "\nmożliwych spłaszczeń tej reguły, to sprzeczności łączne doprowadzą  do " +
                "\nniestosowania reguły. Baza reguł i (lub) baza ograniczeń wymagają wtedy "
                "korekty." +
                "\n\nJeżeli natomiast liczba tych sprzeczności jest mniejsza od liczby możliwych " +
                "\nspłaszczeń reguły, to reguła ta może być przez system wnioskujący stosowana. " +
                "\nBaza reguł i (lub) baza ograniczeń nie wymagają wtedy korekty.");
    ctx.set_enabled({kReportCommand}, true);
}

void pisz_sprzecznosc_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory) {
    if (ctx.flags.sprzecznosc_1z) return;
    UserInteraction& ui = ctx.ui;
    Report report(ctx.store, ui);
    const std::string r = ctx.base_name();
    const std::string o = constraint_base_name(ctx.store);
    const std::string tag = kTag;
    if (memory.sprzecznosc_2_wszystko.empty()) {
        if (!wyznacz_sprzecznosc_2(ctx, memory)) return;
        ctx.tell_cycles();
    }
    if (memory.sprzecznosc_2_wszystko.empty()) {
        ui.new_line();
        ui.write("  Baza reguł      " + r);
        ui.new_line();
        ui.write("  Baza ograniczeń " + o);
        ui.new_line();
        ui.write("  nie są " + tag + "-sprzeczne.");
        ui.note(kTitle, "Baza reguł rozwinięta dokładna\n   " + r +
                            "\ni baza ograniczeń rozwinięta dokładna\n   " + o +
                            "\nnie są łącznie " + tag + "-sprzeczne.");
        return;
    }
    report.kasowanie_tekst_raportu();
    const ReportCapture shown(report);
    ui.write(" Raport diagnostyki sprzeczności pomiędzy ");
    report.piszcr();
    ui.write(" bazą reguł:        " + r + " i ");
    report.piszcr();
    ui.write(" i bazą ograniczeń: " + o);
    report.piszcr();
    report.piszcr();
    ui.note(kTitle,
            "Raport diagnostyki sprzeczności pomiędzy\nbazą reguł rozwiniętą dokładną\n   " + r +
                "\ni bazą ograniczeń rozwiniętą dokładną\n   " + o + ".");
    ui.write(" Wyznaczanie sprzeczności typu " + tag + " odbywa się na drodze spłaszczania reguł:");
    report.piszcr();
    report.piszcr();
    ui.note(kTitle,
            "Wyznaczanie sprzeczności typu " + tag + "\nodbywa się na drodze spłaszczania reguł:");

    const auto write_constraint = [&](const JointContradiction& f) {
        ui.write("   ograniczenie(" + std::to_string(f.constraint) + ", " + "[");
        write_items(ui, f.constraint_conditions);
        ui.write(")");
        report.piszcr();
        report.piszcr();
    };
    for (const JointContradiction& f : memory.sprzecznosc_2_wszystko) {
        if (!f.numbers.empty()) continue;
        const std::string nr = std::to_string(f.rule);
        const std::string nro = std::to_string(f.constraint);
        ui.write(" Reguła " + nr + " jest bezpośrednio " + tag + "-sprzeczna z ograniczeniem " +
                 nro + " o postaci:");
        report.piszcr();
        write_constraint(f);
        ui.note(kTitle, "\n\nReguła " + nr + ". jest bezpośrednio łącznie " + tag +
                            "-sprzeczna z ograniczeniem " + nro + ". o postaci:\n\nograniczenie(" +
                            nro + ", " + list_text(f.constraint_conditions) + ")\n");
    }
    for (const JointContradiction& f : memory.sprzecznosc_2_wszystko) {
        if (f.numbers.empty()) continue;
        const std::string nr = std::to_string(f.rule);
        const std::string nro = std::to_string(f.constraint);
        ui.write(" W wyniku spłaszczenia reguły " + nr + " otrzymuje się: ");
        report.piszcr();
        ui.write("   reguła_spłaszczona(" + nr + ", " + f.conclusion + ", " + "[");
        write_items(ui, f.conditions);
        ui.write(")");
        report.piszcr();
        ui.write(" Spłaszczenie uzyskano za pomocą reguł o numerach: ");
        for (std::size_t i = 0; i < f.numbers.size(); ++i) {
            if (i) report.pisz_tuto(",");
            report.pisz_tuto_int(f.numbers[i]);
        }
        report.piszcr();
        ui.write(" Reguła " + nr + " jest pośrednio " + tag + "-sprzeczna z ograniczeniem " + nro +
                 " o postaci:");
        report.piszcr();
        write_constraint(f);
        ui.note(kTitle,
                "W wyniku spłaszczenia reguły " + nr + ". otrzymuje się:\n\nreguła_spłaszczona(" +
                    nr + ", " + f.conclusion + ", " + list_text(f.conditions) +
                    "\n\nSpłaszczenie uzyskano za pomocą reguł o numerach:" +
                    numbers_text(f.numbers) + "\n\nReguła " + nr + ". jest pośrednio " + tag +
                    "-sprzeczna z ograniczeniem " + nro + ". o postaci:\n\nograniczenie(" + nro +
                    ", " + list_text(f.constraint_conditions) + ")\n");
        const FlattenedRule shown{f.rule, f.conclusion, f.conditions, f.numbers};
        std::erase(memory.regula_splaszczona_s2, shown);
    }
    report.piszcr();
    memory.sprzecznosc_2_wszystko.clear();
    ui.write(" Koniec raportu diagnostyki sprzeczności łącznych");
    report.piszcr();
    ui.write(" bazy reguł:        " + r);
    report.piszcr();
    ui.write(" i  bazy ograniczeń: " + o);
    report.piszcr();
    ui.note(kTitle,
            "Koniec raportu diagnostyki sprzeczności łącznych\nbazy reguł rozwiniętej "
            "dokładnej\n   " +
                r + "\ni  bazy ograniczeń rozwiniętej dokładnej\n   " + o + ".");
    report.raport();
}

}  // namespace xamo::joint_contradictions
