// Whole inference runs (declared facts, no questions, silent rules) over generated bases, from
// the detail-level dialog to the end of the run, the final presentation of working memory
// included; the bases are put into the store directly, so loading is not counted.
// - BM_ForwardRun<independent_rules>, <reversed_chain>: forward inference over independent rules
//   and over a chain listed in reverse order of dependency (which made the old restart scan pass
//   over every rule still waiting at each step).
// - BM_BackwardRun<chain>: backward verification of the last conclusion of a chain.
// - BM_BackwardRun<huge_constraint>, BM_ForwardRun<huge_constraint>: one rule over every member
//   of one constraint, one member declared (the start of a run indexes the constraint).
// - BM_ForwardRun<negated_members>: one constraint, half of its members declared false; each
//   such fact shortens the constraint as the run is seeded.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>

#include "app/application.h"
#include "ui/console/console_interaction.h"

namespace {

using xamo::Kind;

void load_names(xamo::FactStore& store) {
    store.set_text(Kind::nazwa_re, "REbench.BRD");
    store.set_text(Kind::wyroznik, "bench");
}

// Rule i concludes w_i from the declared facts f_i and g.
void independent_rules(xamo::Application& app, int rules) {
    auto& store = app.store();
    load_names(store);
    store.add(xamo::make_text_fact(Kind::fakt, "g"));
    xamo::StringList askable;
    for (int i = 1; i <= rules; ++i) {
        const std::string n = std::to_string(i);
        store.add(xamo::make_text_fact(Kind::fakt, "f_" + n));
        store.add(xamo::make_rule(i, "w_" + n, {"f_" + n, "g"}, 0));
        askable.push_back("f_" + n);
    }
    app.askable().lista_warunkow_dopytywalnych = std::move(askable);
}

// Rule i concludes c_i from c_(i-1) and g; c_0 and g are declared; the last rule comes first.
void reversed_chain(xamo::Application& app, int rules) {
    auto& store = app.store();
    load_names(store);
    store.add(xamo::make_text_fact(Kind::fakt, "g"));
    store.add(xamo::make_text_fact(Kind::fakt, "c_0"));
    for (int i = rules; i >= 1; --i) {
        store.add(
            xamo::make_rule(i, "c_" + std::to_string(i), {"c_" + std::to_string(i - 1), "g"}, 0));
    }
    app.askable().lista_warunkow_dopytywalnych = xamo::StringList{"c_0", "g"};
}

// Rule i concludes c_i from c_(i-1) and g, in order; c_0 and g are declared.
void chain(xamo::Application& app, int rules) {
    auto& store = app.store();
    load_names(store);
    store.add(xamo::make_text_fact(Kind::fakt, "g"));
    store.add(xamo::make_text_fact(Kind::fakt, "c_0"));
    for (int i = 1; i <= rules; ++i) {
        std::string conclusion = "c_";
        conclusion += std::to_string(i);
        std::string condition = "c_";
        condition += std::to_string(i - 1);
        store.add(xamo::make_rule(i, conclusion, {condition, "g"}, 0));
    }
    app.askable().lista_warunkow_dopytywalnych = xamo::StringList{"c_0", "g"};
}

xamo::StringList members(int count) {
    xamo::StringList list;
    for (int i = 1; i <= count; ++i) {
        std::string member = "a_";
        member += std::to_string(i);
        list.push_back(member);
    }
    return list;
}

void constraint_base(xamo::Application& app, const xamo::StringList& members) {
    app.store().add(xamo::Fact{Kind::ograniczenie, {std::int32_t{1}, members}});
    app.store().set_text(Kind::nazwa_og, "OGbench.BRD");
    app.askable().lista_warunkow_dopytywalnych = members;
    app.askable().dopytywalny = xamo::TextSet(app.askable().lista_warunkow_dopytywalnych);
}

// Rule 1 concludes h from every member of one constraint; a_5 is declared.
void huge_constraint(xamo::Application& app, int size) {
    load_names(app.store());
    const xamo::StringList all = members(size);
    app.store().add(xamo::make_rule(1, "h", all, 0));
    app.store().add(xamo::make_text_fact(Kind::fakt, "a_5"));
    constraint_base(app, all);
}

// Rule 1 concludes h from a_1; the odd members of one constraint are declared false, so the
// rule gives nh.
void negated_members(xamo::Application& app, int size) {
    load_names(app.store());
    const xamo::StringList all = members(size);
    app.store().add(xamo::make_rule(1, "h", {"a_1"}, 0));
    for (int i = 1; i <= size; i += 2) {
        std::string fact = "na_";
        fact += std::to_string(i);
        app.store().add(xamo::make_text_fact(Kind::fakt, fact));
    }
    constraint_base(app, all);
}

// What the run must have written: a line of the final presentation, or the verdict.
std::string numbered_line(const char* prefix, std::int64_t n) {
    std::string line = "\n    ";
    line += prefix;
    line += std::to_string(n);
    line += '\n';
    return line;
}

template <void (*Fill)(xamo::Application&, int)>
std::string derived(bool backward, std::int64_t size) {
    if (Fill == huge_constraint) return backward ? "Hipoteza: h\njest nieprawdziwa" : "\n    nh\n";
    if (Fill == negated_members) return "\n    nh\n";
    if (Fill == independent_rules) return numbered_line("w_", size);
    if (!backward) return numbered_line("c_", size);
    std::string verdict = "Hipoteza w sensie wąskim: c_";
    verdict += std::to_string(size);
    verdict += "\njest prawdą";
    return verdict;
}

// Runs command 10148 or 10149 over the base `Fill` makes; empty answers take every default.
template <void (*Fill)(xamo::Application&, int)>
void run(benchmark::State& state, bool backward) {
    const int size = static_cast<int>(state.range(0));
    const std::string expected = derived<Fill>(backward, size);
    const int command = backward ? 10149 : 10148;
    for (auto _ : state) {
        state.PauseTiming();
        std::istringstream defaults(std::string(64, '\n'));
        std::ostringstream dropped;
        xamo::ConsoleInteraction ui(defaults, dropped, false);
        xamo::Application app(ui);
        Fill(app, size);
        app.commands().enable({command});
        state.ResumeTiming();
        app.run_command(command);
        state.PauseTiming();
        if (dropped.str().find(expected) == std::string::npos) {
            state.SkipWithError("not derived");
            break;
        }
        state.ResumeTiming();
    }
}

template <void (*Fill)(xamo::Application&, int)>
void BM_ForwardRun(benchmark::State& state) {
    run<Fill>(state, false);
}

template <void (*Fill)(xamo::Application&, int)>
void BM_BackwardRun(benchmark::State& state) {
    run<Fill>(state, true);
}

BENCHMARK_TEMPLATE(BM_ForwardRun, independent_rules)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_ForwardRun, reversed_chain)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_BackwardRun, chain)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_BackwardRun, huge_constraint)
    ->Arg(100000)
    ->Arg(500000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_ForwardRun, huge_constraint)
    ->Arg(100000)
    ->Arg(500000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_ForwardRun, negated_members)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
