// Time of the lateral analysis of a pile:
//   - one linear solution of the finite-difference beam-column (elimination
//     from the tip, head system, back-substitution) at 101 and 501 nodes;
//     target under 20 microseconds at 501 nodes;
//   - the nonlinear iteration of a 501-node pile in user-input p-y curves
//     (solutions, criterion sweeps and the results pass);
//   - a whole analysis from its input file to its three output files, the
//     501-node pile with two load cases; target under 20 ms wall time.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "pile/load_cases.hpp"
#include "pile/node_setup.hpp"
#include "pile/solver.hpp"
#include "run/error_stop.hpp"
#include "run/run_context.hpp"
#include "trevasc/run.hpp"

namespace {

using namespace trevasc;

// A 60 ft steel pipe (EI = 4.35E10 lb-in^2, 18 in wide) in three layers of
// nonlinear user p-y curves, free head, 20 kips of shear and 50 kips of thrust.
model::ProblemData PipeInUserCurves(int increments) {
    model::ProblemData problem;
    model::AnalysisOptions& o = problem.Options;
    o.Units = model::UnitSystem::USCS;
    o.AnalysisMode = 3;
    o.IterationLimit = 100;
    o.ConvergenceTolerance = 1.0e-5;
    o.MaxAllowableDeflection = 100.0;
    o.NumberOfIncrements = increments;
    o.PrintIncrement = 10;
    const double L = 720.0;
    model::PileSection s;
    s.SectionType = model::kElasticPile;
    s.SectionLength = L;
    s.SectionBottomDepth = L;
    s.SectionWidth = 18.0;
    problem.Sections.push_back(s);
    problem.PileTotalLength = L;
    problem.SectionPropertyTable = {{0.0, 18.0, 1500.0, 29.0e6, 40.0, 0.0}, {L, 18.0, 1500.0, 29.0e6, 40.0, 0.0}};
    const double tops[] = {0.0, 120.0, 300.0};
    const double bottoms[] = {120.0, 300.0, 800.0};
    for (int i = 0; i < 3; ++i) {
        model::SoilLayer layer;
        layer.KSOIL = model::kUserPy;
        layer.XLayerTop = layer.Top.Depth = layer.UserCurveTop.Depth = tops[i];
        layer.XLayerBottom = layer.Bottom.Depth = layer.UserCurveBottom.Depth = bottoms[i];
        const double f = 1.0 + i;
        layer.UserCurveTop.Points = {{0.0, 0.0}, {0.05, 300.0 * f}, {0.3, 900.0 * f}, {1.5, 1400.0 * f}};
        layer.UserCurveBottom.Points = {{0.0, 0.0}, {0.05, 450.0 * f}, {0.3, 1300.0 * f}, {1.5, 2000.0 * f}};
        problem.Layers.push_back(layer);
    }
    model::PileHeadLoad load;
    load.LoadingType = model::kShearAndMoment;
    load.Condition1 = 20000.0;
    load.AxialThrust = 50000.0;
    problem.PileHeadLoads.push_back(load);
    problem.AxialThrustList = {50.0};
    return problem;
}

void BM_SolveBeamColumn(benchmark::State& state) {
    const int increments = static_cast<int>(state.range(0)) - 1;
    auto ctx = std::make_unique<run::RunContext>();
    ctx->problem = PipeInUserCurves(increments);
    pile::SetUpNodes(*ctx, ctx->problem.PileTotalLength, 0);
    model::PileModel& pile = ctx->pile;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> modulus(2000.0, 20000.0);
    for (int k = 1; k <= pile.N; ++k) pile.Es(k) = modulus(random);
    pile.LoadingType = model::kShearAndMoment;
    pile.HeadShear = 20000.0;
    pile.P = 50000.0;
    for (auto _ : state) {
        pile::Solve_Beam_Column(*ctx);
        benchmark::DoNotOptimize(pile.y(1));
    }
    state.SetLabel(std::to_string(pile.N) + " nodes");
}
BENCHMARK(BM_SolveBeamColumn)->Arg(101)->Arg(501)->Unit(benchmark::kMicrosecond);

void BM_NonlinearAnalysis501Nodes(benchmark::State& state) {
    for (auto _ : state) {
        auto ctx = std::make_unique<run::RunContext>();
        ctx->problem = PipeInUserCurves(500);
        ctx->labels = model::MakeUnitLabels(model::UnitSystem::USCS);
        try {
            pile::RunLoadCases(*ctx);
        } catch (const run::RunStop&) {
            state.SkipWithError("the analysis stopped with an error");
            break;
        }
        benchmark::DoNotOptimize(ctx->cases(1).HeadDeflection);
        state.counters["iterations"] = ctx->pile.Iteration;
    }
}
BENCHMARK(BM_NonlinearAnalysis501Nodes)->Unit(benchmark::kMillisecond);

// The same pile as an input file, with a second, fixed-head load case.
const char* const kExampleInput = R"(TREVAS6
TITLE
Steel pipe pile in user-input p-y curves, 500 increments




OPTIONS
Units USCS
UseLRFD NO
ComputeKmatrix NO
UseTipShear NO
UseSoilMovement NO
UsePYModifiers NO
ComputeEIOnly NO
Loading STATIC     0
MaxIterations 100
MaxDeflection 100.0
Tolerance 1.0E-5
Increments 500
PrintSummaryOnly NO
PrintIncrement 10
PrintPYCurves NO
ComputeInteraction NO
SECTIONS
1
1
11
60.0
2
29000000.0
18.0
18.0
40.0
40.0
1500.0
1500.0
SOIL LAYERS
3
14 0.0 10.0
50.0 4
0.0 0.0
0.05 300.0
0.3 900.0
1.5 1400.0
50.0 4
0.0 0.0
0.05 450.0
0.3 1300.0
1.5 2000.0
14 10.0 25.0
55.0 4
0.0 0.0
0.05 600.0
0.3 1800.0
1.5 2800.0
55.0 4
0.0 0.0
0.05 900.0
0.3 2600.0
1.5 4000.0
14 25.0 70.0
60.0 4
0.0 0.0
0.05 900.0
0.3 2700.0
1.5 4200.0
60.0 4
0.0 0.0
0.05 1350.0
0.3 3900.0
1.5 6000.0
LOADING
2
1 1 20000.0 0.0 50000.0 1
2 2 20000.0 0.0 50000.0 1
0
END
)";

// Runs one input text from a file to the three output files, once per
// iteration, in a directory of its own.
void RunInputText(benchmark::State& state, const char* input) {
    const auto dir = std::filesystem::temp_directory_path() / ("trevasc-bench-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(dir);
    { std::ofstream(dir / "input.trv") << input; }
    const RunPaths paths{(dir / "input.trv").string(), (dir / "report.txt").string(), (dir / "plot.txt").string(),
                         (dir / "messages.txt").string()};
    for (auto _ : state) {
        const std::int32_t code = RunAnalysis(paths);
        if (code != 0) {
            state.SkipWithError(("result code " + std::to_string(code)).c_str());
            break;
        }
    }
    std::filesystem::remove_all(dir);
}

void BM_WholeExampleAnalysis(benchmark::State& state) { RunInputText(state, kExampleInput); }
BENCHMARK(BM_WholeExampleAnalysis)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 36-in. drilled shaft (nonlinear EI from its moment-curvature curves) in
// soft clay over sand, 500 increments: one load case with a pile-length
// study (up to 20 trial lengths) and the pile-head stiffness matrix (20
// trials). Target: under 200 ms for the whole run.
const char* const kStiffnessAndLengthInput = R"(TREVAS6
TITLE
Drilled shaft, 500 increments: stiffness matrix and pile-length study




OPTIONS
Units USCS
UseLRFD NO
ComputeKmatrix YES
UseTipShear NO
UseSoilMovement NO
UsePYModifiers NO
ComputeEIOnly NO
Loading STATIC     0
MaxIterations 200
MaxDeflection 100.0
Tolerance 1.0E-5
Increments 500
PrintSummaryOnly NO
PrintIncrement 10
PrintPYCurves NO
ComputeInteraction NO
SECTIONS
1
1
1
50.
36.
5.0
0.75
Use default concrete tensile strength
Use internal stress-strain curve for concrete
Rebar Arrangement Not Same As Section Above
Rebar in circle
60000.
29000000.
12
1
1.27
1.0
3.0
0.0
SOIL LAYERS
2
1 0. 20.
50. 500. 0.02
55. 800. 0.02
6 20. 80.
62.6 34. 0.
62.6 36. 0.
LOADING
1
1 1 30000. 100000. 100000. 0
0
END
)";

void BM_StiffnessMatrixAndLengthStudy501Nodes(benchmark::State& state) {
    RunInputText(state, kStiffnessAndLengthInput);
}
BENCHMARK(BM_StiffnessMatrixAndLengthStudy501Nodes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
