// Whole analyses run in memory, as the Python package and other hosts run
// them: a 15 m elastic 600 mm pile in API sand, 200 increments, one load case. With
// Threads(2) both cores run analyses at once; items per second is analyses
// per second of the whole process.
#include <benchmark/benchmark.h>

#include <string>

#include "api_sand_input.hpp"
#include "trevasc/run.hpp"

namespace {

void BM_TextRunApiSand200Increments(benchmark::State& state) {
    const std::string input = trevasc_bench::ApiSandInput(200, 1, false);
    const trevasc::RunOptions options = trevasc_bench::FixedClock();
    for (auto _ : state) {
        const trevasc::TextRunResult result = trevasc::RunText(input, options);
        if (result.code != 0) state.SkipWithError("the analysis did not end normally");
        benchmark::DoNotOptimize(result.plot.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TextRunApiSand200Increments)->Threads(1)->Threads(2)->UseRealTime();

}  // namespace
