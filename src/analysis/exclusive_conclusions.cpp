#include "analysis/exclusive_conclusions.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "dialog/interaction.h"
#include "verify/flattening.h"
#include "verify/progress.h"

namespace xamo {
namespace {

const char* opening_text(ExclusionMode mode) {
    switch (mode) {
        case ExclusionMode::ExactlyOne:
            return "Będziesz testował wnioski wybranych reguł na wykluczanie się do jednego. "
                   "\nOznacza to, że jeden i tylko jeden z pośród testowanych wniosków może byc "
                   "prawdą";
        case ExclusionMode::AtMostOne:
            return "Będziesz testował wnioski wybranych reguł na wykluczanie się do żadnego. "
                   "\nOznacza to, że tylko jeden lub żaden z pośród testowanych wniosków może "
                   "\nbyć prawdą. ";
        case ExclusionMode::NotExclusive:
            break;
    }
    return "Będziesz testował wnioski wybranych reguł na niewykluczanie się."
           "\nOznacza to, że wiecej niż jeden z pośród testowanych wniosków może być prawdą. ";
}

bool& flag_of(ExclusionMemory& memory, ExclusionMode mode) {
    switch (mode) {
        case ExclusionMode::ExactlyOne:
            return memory.wykluczenie_do_jednego;
        case ExclusionMode::AtMostOne:
            return memory.wykluczenie_do_zadnego;
        case ExclusionMode::NotExclusive:
            break;
    }
    return memory.wykluczenie;
}

// Each list without repetitions, in its order.
std::vector<std::vector<std::string_view>> distinct(const std::vector<StringList>& lists) {
    std::vector<std::vector<std::string_view>> out;
    out.reserve(lists.size());
    std::unordered_set<std::string_view> seen;
    for (const auto& list : lists) {
        seen.clear();
        auto& members = out.emplace_back();
        for (const auto& c : list) {
            if (seen.insert(c).second) members.push_back(c);
        }
    }
    return out;
}

}  // namespace

std::vector<std::size_t> fired_counts(const std::vector<StringList>& lists) {
    const auto sets = distinct(lists);
    // holders[c]: the lists holding c; a list is contained in A when all of its members were
    // met while walking A's members.
    std::unordered_map<std::string_view, std::vector<std::uint32_t>> holders;
    std::size_t empty = 0;
    for (std::uint32_t i = 0; i < sets.size(); ++i) {
        if (sets[i].empty()) ++empty;
        for (std::string_view c : sets[i]) holders[c].push_back(i);
    }
    std::vector<std::size_t> hits(sets.size(), 0);
    std::vector<std::size_t> stamp(sets.size(), 0);
    std::vector<std::size_t> counts;
    counts.reserve(sets.size());
    for (std::size_t a = 0; a < sets.size(); ++a) {
        // Nothing assumed: every rule is taken to fire.
        if (sets[a].empty()) {
            counts.push_back(sets.size());
            continue;
        }
        std::size_t count = empty;
        for (std::string_view c : sets[a]) {
            for (std::uint32_t r : holders[c]) {
                if (stamp[r] != a + 1) {
                    stamp[r] = a + 1;
                    hits[r] = 0;
                }
                if (++hits[r] == sets[r].size()) ++count;
            }
        }
        counts.push_back(count);
    }
    return counts;
}

bool common_conditions(const std::vector<StringList>& lists) {
    if (lists.empty()) return false;
    std::unordered_set<std::string_view> common(lists[0].begin(), lists[0].end());
    for (std::size_t i = 1; i < lists.size() && !common.empty(); ++i) {
        const std::unordered_set<std::string_view> next(lists[i].begin(), lists[i].end());
        std::erase_if(common, [&next](std::string_view c) { return !next.contains(c); });
    }
    return !common.empty();
}

bool different_lengths(const std::vector<StringList>& lists) {
    return std::any_of(lists.begin(), lists.end(), [&lists](const StringList& list) {
        return list.size() != lists.front().size();
    });
}

std::optional<Verdict> verdict(ExclusionMode mode, bool nie, bool common, bool different) {
    switch (mode) {
        case ExclusionMode::ExactlyOne:
            if (!nie && !common && !different)
                return Verdict{"\nWnioski następujących reguł wykluczają się wzajemnie do jednego:",
                               "Wnioski następujących reguł wykluczają się wzajemnie do jednego:"};
            return Verdict{"\nWnioski następujących reguł nie wykluczają się wzajemnie do jednego:",
                           "Wnioski następujących reguł nie wykluczają się wzajemnie do jednego:"};
        case ExclusionMode::AtMostOne:
            if (!nie && different)
                return Verdict{"\nWnioski następujących reguł wykluczają się wzajemnie do żadnego:",
                               "Wnioski następujących reguł wykluczają się wzajemnie do żadnego:"};
            if (!common && !different)
                return Verdict{
                    "\nWnioski następujących reguł nie wykluczają się wzajemnie do żadnego:",
                    "Wnioski następujących reguł nie wykluczają się wzajemnie do żadnego:"};
            return std::nullopt;
        case ExclusionMode::NotExclusive:
            break;
    }
    const Verdict not_exclusive{"\nWnioski następujących reguł nie wykluczają się wzajemnie: ",
                                "Wnioski następujących reguł nie wykluczają się wzajemnie:"};
    if (nie) return not_exclusive;
    if (common)
        return Verdict{"\nWnioski następujĄcych reguł  wykluczają się wzajemnie: ",
                       "Wnioski następujących reguł  wykluczają się wzajemnie:"};
    if (different) return not_exclusive;
    return Verdict{"\nWnioski następujących reguł  wykluczają się wzajemnie: ",
                   "Wnioski następujących reguł wykluczają się wzajemnie:"};
}

std::string tested_rule_line(const TestedRule& rule) {
    return "Numer reguły:  " + std::to_string(rule.number) + "    Wniosek:  " + rule.conclusion;
}

void analiza_bazy_wiedzy(RuleDiagnosisContext& ctx, ExclusionMemory& memory, ExclusionMode mode) {
    if (!ctx.store.any(Kind::nazwa_re)) return;
    UserInteraction& ui = ctx.ui;
    ui.note("Uwaga!", opening_text(mode));
    memory.clear();

    // nr_wniosek: "number  conclusion" of every rule not found externally contradictory.
    RuleIndex& index = ctx.index();
    StringList items;
    std::vector<std::size_t> positions;
    for (std::size_t position = 0; position < index.rules().size(); ++position) {
        const auto& rule = index.rules()[position];
        if (ctx.memory.marked_for_analysis(rule.number)) continue;
        items.push_back(std::to_string(rule.number) + "  " + index.text(rule.conclusion));
        positions.push_back(position);
    }
    std::vector<int> chosen =
        ui.choose_from_list("Wybór wniosków do testowania wykluczalności",
                            "Wybierz wnioski, których wykluczalność chcesz testować!", items, true);
    std::erase_if(chosen, [&items](int i) { return i < 0 || std::size_t(i) >= items.size(); });
    std::sort(chosen.begin(), chosen.end());
    chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
    if (chosen.empty()) return;

    // Each chosen item stands for its own rule, even where two rules share a number.
    {
        SearchProgress progress(ui, "Analiza wniosków reguł",
                                "Trwa spłaszczanie wybranych reguł bazy " + ctx.base_name() + "...",
                                ctx.progress_delay);
        for (int item : chosen) {
            const auto& rule = index.rules()[positions[std::size_t(item)]];
            Flattener flattener(index, rule.conditions, &progress);
            const Flattening* first = flattener.next();
            if (flattener.reached_cycle()) ctx.reached_cycle(rule.number);
            if (!first) {
                // No flattening (or the user interrupted): no verdict.
                ctx.tell_cycles();
                return;
            }
            memory.regula_do_testowania.push_back(
                {rule.number, index.text(rule.conclusion), index.texts(first->conditions)});
        }
    }
    ctx.tell_cycles();

    std::vector<StringList> lists;
    lists.reserve(memory.regula_do_testowania.size());
    for (const auto& rule : memory.regula_do_testowania) lists.push_back(rule.conditions);
    const auto counts = fired_counts(lists);
    bool& nie = flag_of(memory, mode);
    nie = std::any_of(counts.begin(), counts.end(), [mode](std::size_t count) {
        return mode == ExclusionMode::NotExclusive ? count > 1 : count != 1;
    });
    const auto found = verdict(mode, nie, common_conditions(lists), different_lengths(lists));
    if (!found) return;
    ui.write(found->line);
    ui.new_line();
    ui.new_line();
    for (const auto& rule : memory.regula_do_testowania) {
        const std::string line = tested_rule_line(rule);
        ui.write(line);
        ui.new_line();
        ui.note(found->title, line);
    }
}

}  // namespace xamo
