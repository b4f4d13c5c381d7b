// A whole forward run (declared facts, no questions, silent rules) over generated bases:
// independent rules, and a chain of rules listed in reverse order of dependency, which makes the
// restart scan pass over every rule still waiting for its condition at each step.
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
    for (int i = 1; i <= rules; ++i) {
        const std::string n = std::to_string(i);
        store.add(xamo::make_text_fact(Kind::fakt, "f_" + n));
        store.add(xamo::make_rule(i, "w_" + n, {"f_" + n, "g"}, 0));
        app.askable().lista_warunkow_dopytywalnych.push_back("f_" + n);
    }
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
    app.askable().lista_warunkow_dopytywalnych = {"c_0", "g"};
}

template <void (*Fill)(xamo::Application&, int)>
void BM_ForwardRun(benchmark::State& state) {
    const int rules = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        // No input: every question takes its last button or is cancelled; output is dropped.
        std::istringstream no_answers;
        std::ostringstream dropped;
        xamo::ConsoleInteraction ui(no_answers, dropped, false);
        xamo::Application app(ui);
        Fill(app, rules);
        app.commands().enable({10148});
        state.ResumeTiming();
        app.run_command(10148);
        benchmark::DoNotOptimize(app.inference().regula_zastosowana.size());
        if (app.inference().regula_zastosowana.size() != static_cast<std::size_t>(rules)) {
            state.SkipWithError("not every rule fired");
        }
    }
}
BENCHMARK_TEMPLATE(BM_ForwardRun, independent_rules)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_ForwardRun, reversed_chain)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
