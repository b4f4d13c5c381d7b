// Reading a large rule base: read_section over a generated file of 100,000 rules.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "generators.h"
#include "kb/base_file.h"

namespace {

void BM_ReadRuleBase(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "xamo_bench_REduza.BRD";
    const std::string bytes = xamo::bench::generate_rule_base(static_cast<int>(state.range(0)));
    std::ofstream(path, std::ios::binary) << bytes;
    for (auto _ : state) {
        xamo::FactStore store;
        auto error = xamo::read_section(store, xamo::Section::Rules, path.string());
        if (error) state.SkipWithError("read failed");
        benchmark::DoNotOptimize(store.all(xamo::Kind::regula).size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(bytes.size()));
    state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadRuleBase)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
