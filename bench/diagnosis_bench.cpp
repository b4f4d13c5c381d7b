// The three searches of the rule-base diagnoses over a layered base of 2,000 rules: external
// contradictions (every path of rules), internal contradictions (every flattening, distinct ones
// kept) and redundancy (every pair of flattenings of rules with one conclusion). Each iteration
// starts from a fresh context, so building the index and flattening are counted.
#include <benchmark/benchmark.h>

#include <sstream>

#include "askable/askable.h"
#include "generators.h"
#include "ui/console/console_interaction.h"
#include "verify/external_contradictions.h"
#include "verify/internal_contradictions.h"
#include "verify/redundancy.h"

namespace {

struct Base {
    explicit Base(int rules) : ui(no_input, dropped, false) {
        for (const auto& r : xamo::bench::generate_layered_rules(rules))
            store.add(xamo::make_rule(r.number, r.conclusion, r.conditions, 1));
        store.set_text(xamo::Kind::nazwa_re, "REwarstwy.BRD");
        xamo::remember_askable(askable, ui, xamo::askable_conditions_of_rules(store, askable));
    }
    std::istringstream no_input;
    std::ostringstream dropped;
    xamo::ConsoleInteraction ui;
    xamo::FactStore store;
    xamo::AskableMemory askable;
    xamo::DiagnosisFlags flags;
};

std::size_t flattenings(Base& base) {
    xamo::RuleDiagnosisMemory memory;
    xamo::RuleDiagnosisContext ctx(base.store, base.ui, base.askable, base.flags, memory);
    std::size_t total = 0;
    for (std::size_t i = 0; i < ctx.index().rules().size(); ++i)
        total += ctx.flattenings(i, nullptr)->size();
    return total;
}

template <bool (*Search)(xamo::RuleDiagnosisContext&)>
void BM_Search(benchmark::State& state) {
    Base base(static_cast<int>(state.range(0)));
    std::size_t found = 0;
    for (auto _ : state) {
        xamo::RuleDiagnosisMemory memory;
        xamo::RuleDiagnosisContext ctx(base.store, base.ui, base.askable, base.flags, memory);
        if (!Search(ctx)) state.SkipWithError("interrupted");
        found = memory.reguly_sprzeczne.size() + memory.regula_splaszczona_1w.size() +
                memory.reguly_nadmiarowe_n1.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["rules"] = static_cast<double>(base.store.all(xamo::Kind::regula).size());
    state.counters["flattenings"] = static_cast<double>(flattenings(base));
    state.counters["stored"] = static_cast<double>(found);
}

BENCHMARK_TEMPLATE(BM_Search, xamo::external::badaj_sprzecznosc_1z)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Search, xamo::internal::wyznacz_sprzecznosc_1w)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Search, xamo::redundancy::wyznacz_nadmiar)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
