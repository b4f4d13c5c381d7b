// Reading a large rule base: read_section over a generated file of 100,000 rules, with and
// without freeing the facts read.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "generators.h"
#include "kb/base_file.h"

namespace {

// Freeing the facts is not reading them (the program frees a base when it unloads it, and
// leaves it to the system at exit): BM_ReadRuleBase leaves it out of its time,
// BM_ReadAndFreeRuleBase counts it.
void read_rule_base(benchmark::State& state, bool count_freeing) {
    const auto path = std::filesystem::temp_directory_path() / "xamo_bench_REduza.BRD";
    const std::string bytes = xamo::bench::generate_rule_base(static_cast<int>(state.range(0)));
    std::ofstream(path, std::ios::binary) << bytes;
    for (auto _ : state) {
        auto store = std::make_unique<xamo::FactStore>();
        auto error = xamo::read_section(*store, xamo::Section::Rules, path.string());
        if (error) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(store->all(xamo::Kind::regula).size());
        if (!count_freeing) state.PauseTiming();
        store.reset();
        if (!count_freeing) state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(bytes.size()));
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
    std::filesystem::remove(path);
}

void BM_ReadRuleBase(benchmark::State& state) { read_rule_base(state, false); }
void BM_ReadAndFreeRuleBase(benchmark::State& state) { read_rule_base(state, true); }
BENCHMARK(BM_ReadRuleBase)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndFreeRuleBase)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
