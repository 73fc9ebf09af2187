// Whole analyses run in memory, as the Python package and other hosts run
// them: a 15 m elastic 600 mm pile in API sand, 200 increments, one load case. With
// Threads(2) both cores run analyses at once; items per second is analyses
// per second of the whole process.
#include <benchmark/benchmark.h>

#include <string>

#include "trevasc/run.hpp"

namespace {

const std::string kApiSandPipe = R"(TREVAS6
TITLE
In-memory run: elastic pile in API sand, 200 increments




OPTIONS
Units SI
UseLRFD NO
ComputeKmatrix NO
UseTipShear NO
UseSoilMovement NO
UsePYModifiers NO
ComputeEIOnly NO
Loading STATIC     0
MaxIterations 500
MaxDeflection 100.0
Tolerance 2.54E-7
Increments 200
PrintSummaryOnly YES
PrintIncrement 10
PrintPYCurves NO
ComputeInteraction NO
SECTIONS
1
1
11
15.0
2
25000000.0
600.0
600.0
282743.0
282743.0
6.3617E9
6.3617E9
SOIL LAYERS
1
6 0.0 20.0
9.0 34.0 20000.0
9.5 36.0 30000.0
LOADING
1
1 1 100.0 0.0 500.0 1
0
END
)";

void BM_TextRunApiSand200Increments(benchmark::State& state) {
    trevasc::RunOptions options;
    options.clock = [] { return trevasc::LocalTime{2024, 3, 5, 9, 7, 3}; };
    for (auto _ : state) {
        const trevasc::TextRunResult result = trevasc::RunText(kApiSandPipe, options);
        if (result.code != 0) state.SkipWithError("the analysis did not end normally");
        benchmark::DoNotOptimize(result.plot.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TextRunApiSand200Increments)->Threads(1)->Threads(2)->UseRealTime();

}  // namespace
