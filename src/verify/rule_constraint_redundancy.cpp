#include "verify/rule_constraint_redundancy.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "dialog/interaction.h"
#include "dialog/report.h"
#include "dialog/write_lines.h"
#include "kb/conditions.h"
#include "verify/joint_helpers.h"

namespace xamo::joint_redundancy {
namespace {

constexpr int kReportCommand = 10095;
const std::string kTitle = "Diagnostyka nadmiarowości łącznych baz reguł i ograniczeń";

std::string group_key(const RedundantGroup& group) {
    std::string key = std::to_string(group.constraint);
    for (std::int32_t n : group.rules) key += ',' + std::to_string(n);
    for (const auto& list : group.conditions) {
        key += '\x02';
        for (const auto& c : list) {
            key += c;
            key += '\x01';
        }
    }
    return key;
}

}  // namespace

namespace {

// The list operations over any element: condition texts, or condition ids in the search.
template <typename T>
std::vector<std::vector<T>> remove_common(const std::vector<std::vector<T>>& lists) {
    std::unordered_map<T, std::size_t> holding;
    for (const auto& list : lists) {
        const std::unordered_set<T> once(list.begin(), list.end());
        for (const auto& c : once) ++holding[c];
    }
    std::vector<std::vector<T>> out;
    out.reserve(lists.size());
    for (const auto& list : lists) {
        std::vector<T> kept;
        for (const auto& c : list) {
            if (holding[c] != lists.size()) kept.push_back(c);
        }
        out.push_back(std::move(kept));
    }
    return out;
}

template <typename T>
std::vector<std::vector<T>> drop_same_as_later(const std::vector<std::vector<T>>& lists) {
    std::set<std::vector<T>> later;
    std::vector<std::vector<T>> out;
    for (std::size_t i = lists.size(); i-- > 0;) {
        std::vector<T> elements = lists[i];
        std::sort(elements.begin(), elements.end());
        elements.erase(std::unique(elements.begin(), elements.end()), elements.end());
        if (later.insert(std::move(elements)).second) out.push_back(lists[i]);
    }
    std::reverse(out.begin(), out.end());
    return out;
}

template <typename T>
bool single_members(const std::vector<std::vector<T>>& lists, const std::vector<T>& constraint) {
    std::unordered_set<T> named;
    for (const auto& list : lists) {
        if (list.size() != 1) return false;
        if (!named.insert(list.front()).second) return false;
    }
    return named == std::unordered_set<T>(constraint.begin(), constraint.end());
}

}  // namespace

std::vector<StringList> usun_wspolne_2(const std::vector<StringList>& lists) {
    return remove_common(lists);
}

std::vector<StringList> redukuj_lista(const std::vector<StringList>& lists) {
    return drop_same_as_later(lists);
}

bool porownaj_listy_2(const std::vector<StringList>& lists, const StringList& constraint) {
    return single_members(lists, constraint);
}

bool wyznacz_nadmiar_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory) {
    SearchProgress progress(ctx.ui, "Diagnostyka nadmiarowości łącznych",
                            "Trwa spłaszczanie reguł bazy " + ctx.base_name() + "...",
                            ctx.progress_delay);
    progress.tell_when_interrupted(
        not_fully_checked("reguł", ctx.base_name(), "ograniczeń", constraint_base_name(ctx.store)));
    if (!ctx.build_index(progress)) return false;
    RuleIndex& index = ctx.index();
    const ConstraintMembership constraints(ctx.store, index);
    const auto& rules = index.rules();
    const auto holds_member = [&](const Flattening& f, std::size_t k) {
        for (ConditionId c : f.conditions) {
            const auto& of = constraints.of(c);
            if (std::binary_search(of.begin(), of.end(), k)) return true;
        }
        return false;
    };

    // The conclusions to examine for each constraint, in the order their admissible flattenings
    // are produced (the mark of a conclusion already found redundant is tested when it is used).
    std::vector<std::vector<ConditionId>> conclusions(constraints.size());
    std::vector<std::unordered_set<ConditionId>> listed(constraints.size());
    for (std::size_t position = 0; position < rules.size(); ++position) {
        if (!progress.step()) return false;
        const ConditionId w = rules[position].conclusion;
        if (index.concluding(w).size() < 2) continue;
        const auto* flattenings = ctx.flattenings(position, &progress);
        if (!flattenings) return false;
        for (const Flattening& f : *flattenings) {
            if (!progress.step()) return false;
            for (ConditionId c : f.conditions) {
                for (std::size_t k : constraints.of(c)) {
                    if (listed[k].insert(w).second) conclusions[k].push_back(w);
                }
            }
        }
    }

    std::vector<RedundantGroup> groups = memory.reguly_nadmiarowe_n2;
    StringList examined = memory.zbadany_wniosek;
    std::unordered_set<std::string> examined_set(examined.begin(), examined.end());
    std::unordered_set<std::string> stored;
    for (const RedundantGroup& g : groups) stored.insert(group_key(g));
    for (std::size_t k = 0; k < constraints.size(); ++k) {
        for (ConditionId w : conclusions[k]) {
            const std::string& conclusion = index.text(w);
            if (examined_set.contains(conclusion)) continue;
            // The admissible flattenings of w for this constraint, as ids; texts only for a
            // group found.
            std::vector<std::pair<std::uint32_t, const Flattening*>> members;
            std::vector<std::vector<ConditionId>> lists;
            const std::vector<std::uint32_t> concluding = index.concluding(w);
            for (std::uint32_t position : concluding) {
                const auto* flattenings = ctx.flattenings(position, &progress);
                if (!flattenings) return false;
                for (const Flattening& f : *flattenings) {
                    if (!progress.step()) return false;
                    if (!holds_member(f, k)) continue;
                    members.emplace_back(position, &f);
                    lists.push_back(f.conditions);
                }
            }
            // Flattenings hold no condition twice, so lists that differ in one condition each
            // from what they share are all of one length.
            const bool one_length = std::all_of(lists.begin(), lists.end(), [&](const auto& l) {
                return l.size() == lists.front().size();
            });
            if (!one_length || !single_members(drop_same_as_later(remove_common(lists)),
                                               constraints.member_ids(k)))
                continue;
            RedundantGroup group;
            group.constraint = constraints.number(k);
            group.constraint_conditions = constraints.members(k);
            for (const auto& [position, f] : members) {
                const std::int32_t number = rules[position].number;
                group.rules.push_back(number);
                group.conditions.push_back(index.texts(f->conditions));
                group.flattenings.push_back(
                    {number, conclusion, group.conditions.back(), f->numbers});
            }
            if (!stored.insert(group_key(group)).second) continue;
            groups.push_back(std::move(group));
            examined.push_back(conclusion);
            examined_set.insert(conclusion);
        }
    }
    memory.reguly_nadmiarowe_n2 = std::move(groups);
    memory.zbadany_wniosek = std::move(examined);
    return true;
}

void testuj_nadmiar_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory) {
    memory.clear_redundancy();
    UserInteraction& ui = ctx.ui;
    write_lines(
        ui, {"Baza reguł i baza ograniczeń mogą być diagnozowane na obecność nadmiarowości",
             "łącznych. Diagnostyka nadmiarowości łącznych dużych i silnie zagnieżdżonych",
             "baz reguł i baz ograniczeń może trwać długo.gdyż wymaga ona spłaszczenia",
             "diagnozowanej bazy reguł.", "",
             "Zaleca się diagnozowanie nadmiarowości baz nowych lub zmodyfikowanych.",
             "Przy kolejnym stosowaniu tych baz można test nadmiarowości łącznych pominąć.", ""});
    const bool yes = ui.confirm(
        "Wybierz",
        "Baza reguł rozwinięta dokładna\n   " + ctx.base_name() +
            "\ni baza ograniczeń rozwinięta dokładna\n   " + constraint_base_name(ctx.store) +
            "\nmogą być diagnozowane na obecność\nnadmiarowości łącznych.\n\n Diagnostyka "
            "nadmiarowości łącznych dużych i silnie \nzagnieżdżonych baz reguł i baz ograniczeń "
            "może trwać" +
            " \ndługo,gdyż wymaga ona spłaszczenia diagnozowanej \nbazy reguł.\nZaleca się "
            "diagnozowanie nadmiarowości baz nowych lub zmodyfikowanych.\nPrzy kolejnym "
            "stosowaniu tych baz można test nadmiarowości łącznych pominąć.\n" +
            "\nChcesz diagnozować bazę reguł i ograniczeń na obecność nadmiarowości?");
    if (yes) informuj_nadmiar_2(ctx, memory);
}

void informuj_nadmiar_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory) {
    if (ctx.flags.sprzecznosc_1z) return;
    UserInteraction& ui = ctx.ui;
    const std::string r = ctx.base_name();
    const std::string o = constraint_base_name(ctx.store);
    const std::string tag = kTag;
    if (memory.reguly_nadmiarowe_n2.empty()) {
        ui.write("Bazy reguł " + r + " i ograniczeń " + o);
        ui.new_line();
        ui.write("są diagnozowane na obecność nadmiarowości łącznych.");
        ui.new_line();
        // An interrupted search counts as a declined question.
        if (!wyznacz_nadmiar_2(ctx, memory)) return;
        ctx.tell_cycles();
    }
    if (memory.reguly_nadmiarowe_n2.empty()) {
        ui.write("Baza reguł " + r + " i baza ograniczeń " + o +
                 " nie mają nadmiarowości łącznych!");
        ui.new_line();
        ui.note("Wynik diagnozowania nadmiarowości łącznych",
                "Baza reguł rozwinięta dokładna\n   " + r +
                    "\ni baza ograniczeń rozwinięta dokładna\n   " + o +
                    "\nnie mają nadmiarowości łącznych typu " + tag + ".");
        return;
    }
    ui.new_line();
    write_lines(ui, {" W  bazie reguł       " + r, " i  bazie ograniczeń  " + o,
                     " wykryto nadmiarowość typu " + tag + ".", "",
                     " Załadowane bazy reguł i ograniczeń możesz stosować do wnioskowania,",
                     " gdyż nadmiarowość nie zakłóca wnioskowania. Może jednak wydłużyć czas",
                     " wnioskowania i uzależnić wynik wnioskowania od niepotrzebnych warunków.",
                     " Dlatego lepiej nadmiarowość usunąć.", "",
                     " W tym celu możesz kontynuować pracę z załadowaną bazą ograniczeń",
                     " i  przejść do opcji:", " 'Baza ograniczeń/",
                     "         Diagnostyka nadmiarowości łącznych baz reguł i ograniczeń' ",
                     " gdzie dowiesz się o istocie wykrytej nadmiarowości.", ""});
    ui.note("Wykryto nadmiarowość łączną",
            "Baza reguł rozwinięta dokładna\n   " + r +
                "\ni baza ograniczeń rozwinięta dokładna\n   " + o +
                "\nzawierają nadmiarowość typu " + tag +
                ". \n\nZaładowane bazy reguł i ograniczeń możesz stosować do "
                "wnioskowania,\ngdyż nadmiarowość nie zakłóca wnioskowania. Może jednak wydłużyć "
                "czas\nwnioskowania i uzależnić wynik wnioskowania od niepotrzebnych warunków." +
                "\nDlatego lepiej nadmiarowość usunąć.\n\nW tym celu możesz kontynuować pracę z "
                "załadowaną bazą ograniczeń\ni  przejść do opcji:\n   'Baza ograniczeń\n     "
                "Diagnostyka nadmiarowości łącznych\n     baz reguł i ograniczeń'" +
                ",\ngdzie dowiesz się o istocie wykrytej nadmiarowości.");
    ctx.set_enabled({kReportCommand}, true);
}

namespace {

// pisz_splaszczona: one flattened rule of a group, into the output and the report text.
void pisz_splaszczona(UserInteraction& ui, Report& report, const FlattenedRule& f) {
    const std::string nr = std::to_string(f.number);
    report.pisz_tuto(" W wyniku spłaszczenia reguły ");
    report.pisz_tuto_int(f.number);
    report.pisz_tuto(" otrzymuje się: ");
    report.piszcr();
    report.pisz_tuto("   reguła_spłaszczona(");
    report.pisz_tuto_int(f.number);
    report.pisz_tuto(", ");
    report.pisz_tuto(f.conclusion);
    report.pisz_tuto(", ");
    report.pisz_tuto("[");
    for (std::size_t i = 0; i < f.conditions.size(); ++i) {
        report.pisz_tuto(f.conditions[i]);
        report.pisz_tuto(i + 1 < f.conditions.size() ? "," : "]");
    }
    if (f.conditions.empty()) report.pisz_tuto("]");
    report.pisz_tuto(")");
    report.piszcr();
    report.pisz_tuto(" Spłaszczenie uzyskano za pomocą reguł o numerach: ");
    for (std::size_t i = 0; i < f.numbers.size(); ++i) {
        if (i) report.pisz_tuto(",");
        report.pisz_tuto_int(f.numbers[i]);
    }
    report.piszcr();
    ui.note(kTitle,
            "W wyniku spłaszczenia reguły " + nr + ". otrzymuje się:\n\nreguła_spłaszczona(" + nr +
                ", " + f.conclusion + ", " + list_text(f.conditions) +
                ")\n\nSpłaszczenie uzyskano za pomocą reguł o numerach:" + numbers_text(f.numbers));
}

}  // namespace

void pisz_nadmiar_2(RuleDiagnosisContext& ctx, ConstraintDiagnosisMemory& memory) {
    if (ctx.flags.sprzecznosc_1z) return;
    UserInteraction& ui = ctx.ui;
    Report report(ctx.store, ui);
    const std::string r = ctx.base_name();
    const std::string o = constraint_base_name(ctx.store);
    const std::string tag = kTag;
    if (memory.reguly_nadmiarowe_n2.empty()) {
        if (!wyznacz_nadmiar_2(ctx, memory)) return;
        ctx.tell_cycles();
    }
    if (memory.reguly_nadmiarowe_n2.empty()) {
        ui.new_line();
        ui.write(" W  bazie reguł         " + r);
        ui.new_line();
        ui.write(" i  bazie ograniczeń  " + o);
        ui.new_line();
        ui.write(" nie ma nadmiarowości typu " + tag + ".");
        ui.new_line();
        ui.new_line();
        ui.note(kTitle, "Baza reguł rozwinięta dokładna\n   " + r +
                            "\ni baza ograniczeń rozwinięta dokładna\n   " + o +
                            "\nnie ma nadmiarowości typu " + tag + ".");
        return;
    }
    report.kasowanie_tekst_raportu();
    const ReportCapture shown(report);
    report.pisz_tuto(" Raport diagnostyki nadmiarowości łącznej pomiędzy ");
    report.piszcr();
    report.pisz_tuto(" bazą reguł:        " + r);
    report.piszcr();
    report.pisz_tuto(" i bazą ograniczeń: " + o);
    report.piszcr();
    report.piszcr();
    ui.note(kTitle,
            "Raport diagnostyki nadmiarowości łącznej pomiędzy\nbazą reguł rozwiniętą "
            "dokładną\n   " +
                r + "\ni bazą ograniczeńrozwiniętą dokładną\n   " + o + ".");
    report.pisz_tuto(" Wykrywanie nadmiarowości typu " + tag + " odbywa" +
                     " się na drodze spłaszczania reguł");
    report.piszcr();
    report.pisz_tuto(" i porównywania list warunków spłaszczonych reguł z listami warunków");
    report.piszcr();
    report.pisz_tuto(" wzajemnie wykluczających się z bazy ograniczeń:");
    report.piszcr();
    report.piszcr();
    ui.note(kTitle, "Wykrywanie nadmiarowości typu " + tag +
                        " odbywa się\nna drodze spłaszczania reguł i porównywania\nlist warunków "
                        "spłaszczonych reguł z listami warunków\nwzajemnie wykluczających się z "
                        "bazy ograniczeń:");

    for (const RedundantGroup& group : memory.reguly_nadmiarowe_n2) {
        for (const FlattenedRule& f : group.flattenings) pisz_splaszczona(ui, report, f);
        const StringList& members = group.constraint_conditions;
        const std::string nro = std::to_string(group.constraint);
        report.pisz_tuto(" Wymienione reguły oraz ograniczenie ");
        report.pisz_tuto_int(group.constraint);
        report.piszcr();
        report.pisz_tuto("   ograniczenie(");
        report.pisz_tuto_int(group.constraint);
        report.pisz_tuto(", ");
        report.pisz_tuto("[");
        for (std::size_t i = 0; i < members.size(); ++i) {
            report.pisz_tuto(members[i]);
            report.pisz_tuto(i + 1 < members.size() ? "," : "]");
        }
        if (members.empty()) report.pisz_tuto("]");
        report.pisz_tuto(")");
        report.piszcr();
        report.pisz_tuto(" zawierają nadmiarowość łączną typu ");
        report.pisz_tuto(tag);
        report.pisz_tuto(".");
        report.piszcr();
        ui.note(kTitle, "Wymienione reguły oraz ograniczenie " + nro +
                            " o postaci\n\nograniczenie(" + nro + ", " + list_text(members) +
                            ")\nzawierają nadmiarowość typu " + tag + ".");
    }
    report.piszcr();
    // zbadany_wniosek stays: a later search passes over the conclusions found here.
    memory.reguly_nadmiarowe_n2.clear();
    report.pisz_tuto(" Koniec raportu diagnostyki nadmiarowości łącznej pomiędzy");
    report.piszcr();
    report.pisz_tuto(" bazą reguł        " + r);
    report.piszcr();
    report.pisz_tuto(" i bazą ograniczeń " + o + ".");
    report.piszcr();
    ui.note(kTitle,
            "Koniec raportu diagnostyki nadmiarowości łącznej pomiędzy\nbazą reguł "
            "rozwiniętą dokładną\n    " +
                r + "\ni bazą ograniczeń rozwiniętą dokładną\n    " + o + ".");
    report.raport();
}

}  // namespace xamo::joint_redundancy
