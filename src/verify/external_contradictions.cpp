#include "verify/external_contradictions.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "dialog/interaction.h"
#include "dialog/report.h"
#include "dialog/write_lines.h"

namespace xamo::external {
namespace {

constexpr int kReportCommand = 10067;
const std::string kTitle = "Diagnostyka sprzeczności zewnętrzych bazy reguł";

// "c is n followed by t, or t is n followed by c".
bool negation_of(const std::string& c, const std::string& t) {
    const auto prefixed = [](const std::string& longer, const std::string& shorter) {
        return longer.size() == shorter.size() + 1 && longer[0] == 'n' &&
               longer.compare(1, std::string::npos, shorter) == 0;
    };
    return prefixed(c, t) || prefixed(t, c);
}

// One rule being explored: its conditions are taken in order; for the current condition the
// rules concluding it (after the negation correction) are explored one after another.
struct Frame {
    std::uint32_t rule;   // position in the index
    ConditionId target;   // T
    ConditionId visited;  // the conclusion this frame added to the path
    std::size_t findings_before = 0;
    std::size_t condition = 0;
    bool entered = false;  // the current condition has been checked
    ConditionId next = 0;  // c' of the current condition
    ConditionId next_target = 0;
    std::size_t concluding = 0;
};

// c' of korekta_negacji: a condition without its leading "n".
ConditionId corrected(const RuleIndex& index, ConditionId c) {
    const std::string& text = index.text(c);
    return !text.empty() && text[0] == 'n' ? index.negation(c) : c;
}

// The graph of conclusions ("X is concluded by a rule with a condition leading to Y" being the
// step), condensed by Tarjan's components with an explicit stack; a component is finished after
// every component it reaches.
struct ConclusionGraph {
    // Conclusions from which no cycle can be reached. Below such a conclusion the path's visited
    // list never stops the search, so a rule explored once towards a target without any finding
    // gives none again, whatever the path above it: the search need not go there twice.
    std::vector<char> cycle_free;
    // The order in which the components were finished: whatever X reaches ranks at most X.
    std::vector<std::uint32_t> rank;
};

ConclusionGraph condense(const RuleIndex& index) {
    const std::size_t n = index.size();
    constexpr std::uint32_t kUnvisited = 0xffffffffu;
    std::vector<std::uint32_t> order(n, kUnvisited), low(n, 0), component(n, 0);
    std::vector<std::uint32_t> rank(n, 0);
    std::vector<char> on_stack(n, 0), free(n, 1);
    std::vector<ConditionId> stack, members;
    struct Step {
        ConditionId vertex;
        std::size_t rule = 0;
        std::size_t condition = 0;
    };
    std::vector<Step> steps;
    std::uint32_t counter = 0;
    std::uint32_t finished = 0;
    // The successors of a vertex, one at a time.
    const auto next_of = [&](Step& step) -> std::optional<ConditionId> {
        const auto& concluding = index.concluding(step.vertex);
        while (step.rule < concluding.size()) {
            const auto& conditions = index.rules()[concluding[step.rule]].conditions;
            if (step.condition < conditions.size())
                return corrected(index, conditions[step.condition++]);
            ++step.rule;
            step.condition = 0;
        }
        return std::nullopt;
    };
    for (ConditionId root = 0; root < n; ++root) {
        if (order[root] != kUnvisited) continue;
        order[root] = low[root] = counter++;
        stack.push_back(root);
        on_stack[root] = 1;
        steps.push_back({root});
        while (!steps.empty()) {
            Step& step = steps.back();
            const ConditionId vertex = step.vertex;
            if (const auto next = next_of(step)) {
                if (order[*next] == kUnvisited) {
                    order[*next] = low[*next] = counter++;
                    stack.push_back(*next);
                    on_stack[*next] = 1;
                    steps.push_back({*next});
                } else if (on_stack[*next]) {
                    low[vertex] = std::min(low[vertex], order[*next]);
                }
                continue;
            }
            steps.pop_back();
            if (!steps.empty()) {
                const ConditionId parent = steps.back().vertex;
                low[parent] = std::min(low[parent], low[vertex]);
            }
            if (low[vertex] != order[vertex]) continue;
            members.clear();
            ConditionId member;
            do {
                member = stack.back();
                stack.pop_back();
                on_stack[member] = 0;
                component[member] = vertex;
                members.push_back(member);
            } while (member != vertex);
            // Cyclic when it has two members or a step to itself, or when it reaches a
            // component that is not free (finished before this one).
            bool is_free = true;
            for (ConditionId m : members) {
                Step edges{m};
                while (const auto next = next_of(edges)) {
                    if (component[*next] == vertex ? (members.size() > 1 || *next == m)
                                                   : !free[*next])
                        is_free = false;
                }
            }
            for (ConditionId m : members) {
                free[m] = is_free ? 1 : 0;
                rank[m] = finished;
            }
            ++finished;
        }
    }
    return {std::move(free), std::move(rank)};
}

// A finding compares a condition with the target, itself or with one "n" more or less, and a
// negated condition passed through flips the target by one "n": so both keep the name stripped
// of every leading "n". For each such name, the lowest rank of a conclusion with a rule holding a
// condition of that name: a search below a lower rank can find nothing, and is not begun.
class FindingBounds {
  public:
    FindingBounds(const RuleIndex& index, const std::vector<std::uint32_t>& rank) {
        key_.reserve(index.size());
        for (ConditionId c = 0; c < index.size(); ++c) {
            const std::string_view name = stripped(index.text(c));
            key_.push_back(keys_.try_emplace(name, keys_.size()).first->second);
        }
        lowest_.assign(keys_.size(), kNever);
        for (const auto& rule : index.rules()) {
            for (ConditionId c : rule.conditions)
                lowest_[key_[c]] = std::min(lowest_[key_[c]], rank[rule.conclusion]);
        }
    }
    // No finding about `target` can lie at or below a conclusion of this rank.
    bool barren(ConditionId target, std::uint32_t rank) const {
        return lowest_[key_[target]] > rank;
    }

  private:
    static constexpr std::uint32_t kNever = 0xffffffffu;
    static std::string_view stripped(std::string_view text) {
        while (!text.empty() && text.front() == 'n') text.remove_prefix(1);
        return text;
    }
    std::unordered_map<std::string_view, std::uint32_t> keys_;
    std::vector<std::uint32_t> key_;
    std::vector<std::uint32_t> lowest_;
};

std::uint64_t key(std::uint32_t rule, ConditionId target) {
    return (static_cast<std::uint64_t>(rule) << 32) | target;
}

}  // namespace

bool badaj_sprzecznosc_1z(RuleDiagnosisContext& ctx) {
    SearchProgress progress(ctx.ui, "Diagnostyka sprzeczności zewnętrznych",
                            "Trwa diagnozowanie bazy reguł " + ctx.base_name() + "...",
                            ctx.progress_delay);
    progress.tell_when_interrupted(not_fully_checked("reguł", ctx.base_name()));
    if (!ctx.build_index(progress)) return false;
    RuleIndex& index = ctx.index();
    const auto& rules = index.rules();
    std::vector<ExternalFinding> findings;
    std::vector<std::uint32_t> on_path(index.size(), 0);
    const ConclusionGraph graph = condense(index);
    const std::vector<char>& cycle_free = graph.cycle_free;
    const FindingBounds bounds(index, graph.rank);
    std::unordered_set<std::uint64_t> barren;  // (rule, target) explored without a finding
    std::vector<Frame> frames;
    for (std::uint32_t root = 0; root < rules.size(); ++root) {
        const std::int32_t root_number = rules[root].number;
        if (bounds.barren(rules[root].conclusion, graph.rank[rules[root].conclusion])) {
            if (!progress.step()) return false;
            continue;
        }
        frames.push_back({root, rules[root].conclusion, rules[root].conclusion, findings.size()});
        ++on_path[rules[root].conclusion];
        while (!frames.empty()) {
            if (!progress.step()) return false;
            Frame& frame = frames.back();
            const auto& conditions = rules[frame.rule].conditions;
            if (!frame.entered) {
                if (frame.condition == conditions.size()) {
                    if (cycle_free[frame.visited] && findings.size() == frame.findings_before)
                        barren.insert(key(frame.rule, frame.target));
                    --on_path[frame.visited];
                    frames.pop_back();
                    continue;
                }
                const ConditionId c = conditions[frame.condition];
                const std::string& text = index.text(c);
                const std::string& target = index.text(frame.target);
                if (negation_of(text, target) || c == frame.target) {
                    ExternalFinding finding;
                    finding.rule = root_number;
                    for (auto f = frames.rbegin(); f != frames.rend(); ++f)
                        finding.chain.push_back(rules[f->rule].number);
                    finding.last = finding.chain.front();
                    findings.push_back(std::move(finding));
                }
                // korekta_negacji: passing through a negated condition flips the target.
                const bool negated = !text.empty() && text[0] == 'n';
                frame.next = negated ? index.negation(c) : c;
                frame.next_target = negated ? index.negation(frame.target) : frame.target;
                if (on_path[frame.next] > 0) {
                    ++frame.condition;
                    continue;
                }
                frame.entered = true;
                frame.concluding = 0;
            }
            const auto& concluding = index.concluding(frame.next);
            if (frame.concluding < concluding.size()) {
                const std::uint32_t rule = concluding[frame.concluding++];
                const ConditionId next = frame.next;
                const ConditionId target = frame.next_target;
                if (bounds.barren(target, graph.rank[next]) ||
                    (cycle_free[next] && barren.contains(key(rule, target))))
                    continue;
                ++on_path[next];
                frames.push_back({rule, target, next, findings.size()});
                continue;
            }
            frame.entered = false;
            ++frame.condition;
        }
    }
    auto& memory = ctx.memory;
    memory.reguly_sprzeczne = std::move(findings);
    for (const ExternalFinding& finding : memory.reguly_sprzeczne) {
        memory.reguly_sprzeczne_dla_analizy.push_back(finding.rule);
        memory.marked.insert(finding.rule);
    }
    ctx.flags.sprzecznosc_1z = !memory.reguly_sprzeczne.empty();
    return true;
}

FindingKind classify(const ExternalFinding& finding) {
    if (finding.rule == finding.last) return FindingKind::Self;
    return finding.chain.size() == 2 ? FindingKind::Direct : FindingKind::Indirect;
}

bool testuj_sprzecznosc_1z(RuleDiagnosisContext& ctx) {
    UserInteraction& ui = ctx.ui;
    ui.new_line();
    write_lines(
        ui,
        {"Baza reguł rozwinięta dokładna może być diagnozowana na obecność "
         "sprzeczności ",
         "zewnętrznych. Diagnostyka sprzeczności wewnętrznych dużych i silnie "
         "zagnieżdżonych",
         "baz reguł może trwać długo.", "",
         "Zaleca się diagnozowanie sprzeczności zewnętrznych baz nowych lub", "zmodyfikowanych.",
         "Przy kolejnym stosowaniu tych baz można test sprzeczności zewnętrznej ", "pominąć.", "",
         "Pamiętaj, że sprzeczności zewnętrzne mogą doprowadzić do 'zawieszenia się'",
         "komputera. ", ""});
    const bool yes = ui.confirm(
        "Wybierz",
        "Baza reguł rozwinięta dokładna\n   " + ctx.base_name() +
            "\nmoże być diagnozowana na obecność sprzeczności zewnętrznych.\n\nDiagnostyka "
            "sprzeczności zewnętrznych dużych i silnie " +
            "\nzagnieżdżonych baz reguł może trwać długo. " +
            " \nZaleca się diagnozowanie sprzeczności zewnętrznych baz nowych lub "
            "zmodyfikowanych." +
            "\nPrzy kolejnym stosowaniu tych baz można test sprzeczności zewnętrznej pominąć." +
            "\n\nPamiętaj, że sprzeczności zewnętrzne  " +
            "\nmogą doprowadzić do 'zawieszenia się' komputera." +
            "\n\nChcesz diagnozować bazę reguł na obecność sprzeczności zewnętrznych?");
    if (!yes) return true;
    return informuj_sprzecznosc_1z(ctx);
}

bool informuj_sprzecznosc_1z(RuleDiagnosisContext& ctx) {
    UserInteraction& ui = ctx.ui;
    const std::string name = ctx.base_name();
    const std::string tag = kTagContradiction;
    if (!ctx.flags.sprzecznosc_1z) {
        if (!badaj_sprzecznosc_1z(ctx)) return true;
        if (!ctx.flags.sprzecznosc_1z) {
            ui.write(" Baza reguł " + name);
            ui.new_line();
            ui.write(" nie jest zewnętrznie " + tag + " sprzeczna.");
            ui.note("Wynik diagnozowania sprzeczności zewnętrznej",
                    "Baza reguł rozwinięta dokładna\n   " + name + "\nnie jest zewnętrznie " + tag +
                        " sprzeczna.");
            return true;
        }
    }
    write_lines(ui, {" W załadowanej bazie reguł jest co najmniej jedna sprzeczność zewnętrzna ",
                     " typu " + tag + ".", "",
                     " Załadowaną bazę reguł możesz tylko edytować, lecz nie możesz korzystać",
                     " z niej dla wnioskowania. Nie możesz również ładować odpowiadającej jej",
                     " bazy modeli, ograniczeń i rad.", "",
                     " Możesz jednak diagnozować jej sprzeczności zewnętrzne.",
                     " W tym celu musisz przejść do opcji:",
                     " 'Baza reguł/ł/Diagnostyka sprzeczności zewnętrznych bazy reguł' ", "",
                     " Pamietaj również, że załadowana baza reguł może zawierać sprzeczności",
                     " wewnętrzne. Bazy reguł z wykrytymi sprzecznościami zewnętrznymi nie są",
                     " jednak diagnozowane wewnętrznie. Diagnozowanie wewnętrzne może być",
                     " wykonane dopiero po usunięciu z bazy reguł sprzeczności zewnętrznych.", ""});
    ui.note("Informacja o sprzeczności",
            "Baza reguł rozwinięta dokładna\n   " + name +
                "\nma co najmniej jedną sprzeczność zewnętrzną typu " + tag +
                ".\n\nZaładowaną bazę reguł możesz tylko edytować, \nlecz nie możesz korzystać z "
                "niej dla wnioskowania.\nNie możesz również ładować odpowiadającej jej bazy "
                "modeli, ograniczeń i rad.\nMożesz jednak diagnozować jej sprzeczności "
                "zewnętrzne. " +
                "\nW tym celu musisz przejść do opcji\n   'Baza reguł dokładna\n     Diagnostyka "
                "sprzeczności zewnętrznych\n     bazy reguł'");
    ctx.set_enabled({kReportCommand}, true);
    return false;
}

namespace {

// pisz_podstawienie: the chain from its first number to its last, recorded numbers with the
// arrows written only.
void write_chain(UserInteraction& ui, Report& report, const IntegerList& chain) {
    for (std::size_t i = 0; i < chain.size(); ++i) {
        if (i) ui.write(" ==> ");
        report.pisz_tuto_int(chain[i]);
    }
    report.piszcr();
}

}  // namespace

void pisz_sprzecznosc_1z(RuleDiagnosisContext& ctx) {
    UserInteraction& ui = ctx.ui;
    Report report(ctx.store, ui);
    const std::string name = ctx.base_name();
    const std::string tag = kTagContradiction;
    const auto& findings = ctx.memory.reguly_sprzeczne;
    if (findings.empty()) {
        ui.write(" Baza reguł " + name);
        ui.new_line();
        ui.write(" nie jest zewnętrznie " + tag + "-sprzeczna.");
        ui.new_line();
        ui.note("Uwaga!", "Baza reguł rozwinięta dokładna\n   " + name + "\nnie jest zewnętrznie " +
                              tag + "-sprzeczna.");
        return;
    }
    report.kasowanie_tekst_raportu();
    const ReportCapture shown(report);
    ui.write(" Raport diagnostyki sprzeczności zewnętrznych bazy reguł ");
    report.piszcr();
    ui.write(" " + name);
    report.piszcr();
    report.piszcr();
    ui.note("Diagnostyka sprzeczności zewnętrzych bazy reguł rozwinietej dokładnej\n   " + name,
            "Raport diagnostyki sprzeczności zewnętrznych bazy reguł.");

    ui.write(" Następujące reguły są " + tag + "-sprzeczne: ");
    report.piszcr();
    report.piszcr();
    ui.note(kTitle, "Następujące reguły są " + tag + "-sprzeczne: ");

    for (const ExternalFinding& f : findings) {
        if (classify(f) != FindingKind::Self) continue;
        const std::string a = std::to_string(f.rule);
        ui.write(" Reguła " + a + " jest zewnętrznie " + tag + "-samosprzeczna. ");
        report.piszcr();
        report.piszcr();
        ui.note(kTitle, "Reguła " + a + " jest zewnętrznie " + tag + "-samosprzeczna.");
    }
    for (const ExternalFinding& f : findings) {
        if (classify(f) != FindingKind::Direct) continue;
        const std::string a = std::to_string(f.rule);
        const std::string b = std::to_string(f.last);
        ui.write(" Reguła " + a + " jest zewnętrznie bezpośrednio " + tag + "-sprzeczna z regułą " +
                 b + ".");
        report.piszcr();
        ui.write(" Można to wykazać podstawiając ");
        write_chain(ui, report, f.chain);
        report.piszcr();
        report.piszcr();
        ui.note(kTitle, "Reguła " + a + " jest zewnętrznie bezpośrednio " + tag +
                            "-sprzeczna z regułą " + b + ".\nMożna to wykazać podstawiając " + b +
                            " do " + a + ".");
    }
    for (const ExternalFinding& f : findings) {
        if (classify(f) != FindingKind::Indirect) continue;
        ui.new_line();
        ui.new_line();
        ui.write(" Reguła ");
        report.pisz_tuto_int(f.rule);
        ui.write(" jest zewnętrznie pośrednio " + tag + "-sprzeczna z regułą ");
        report.pisz_tuto_int(f.last);
        ui.write(".");
        report.piszcr();
        ui.write(" Można to wykazać podstawiając ");
        write_chain(ui, report, f.chain);
        report.piszcr();
        report.piszcr();
        // tekst: each number followed by "==>", the last arrow cut off.
        std::string tekst;
        for (std::int32_t n : f.chain) tekst += std::to_string(n) + "==>";
        tekst.resize(tekst.size() - 3);
        ui.note(kTitle, "Reguła " + std::to_string(f.rule) + " jest zewnętrznie pośrednio " + tag +
                            " -sprzeczna z regułą " + std::to_string(f.last) +
                            ".\nMożna to wykazać podstawiając: " + tekst + ".");
    }
    report.piszcr();
    ui.write(" Koniec raportu diagnostyki sprzeczności zewnętrznych bazy reguł ");
    report.piszcr();
    ui.write(" " + name + ".");
    ui.note(kTitle,
            "Koniec raportu diagnostyki sprzeczności zewnętrznych bazy reguł rozwinietej "
            "dokładnej\n   " +
                name + ".");
    report.raport();
}

}  // namespace xamo::external
